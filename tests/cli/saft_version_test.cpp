// The headless exporter's SAF-T (PT) version: --saft-version, the default by
// the period's first day (1.03_01 before 1 July 2017, 1.04_01 from it, also
// for the default period of last month), and what a 1.04_01 request takes
// from Varnel.ini: the ATCUD codes and the exemption code rules, a malformed
// one refused with the section and key named.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/request_defaults.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

ExportRequest Request(const testing::TempDir& dir, std::vector<std::string> arguments,
                      DateTime today = DateTime::FromDate(2024, 3, 10)) {
  arguments.insert(arguments.begin(), {"--output", "out.xml"});
  return RequestFromFiles(dir.path(), ParseCommandLine(arguments), today);
}

std::string RequestError(const testing::TempDir& dir, std::vector<std::string> arguments) {
  try {
    Request(dir, std::move(arguments));
  } catch (const SettingsValueError& error) {
    return error.what();
  }
  return "no SettingsValueError";
}

TEST(SaftVersionOption, ParsedAndRefused) {
  EXPECT_FALSE(ParseCommandLine({"--output", "x"}).saft_version.has_value());
  EXPECT_EQ(ParseCommandLine({"--output", "x", "--saft-version", "1.04_01"}).saft_version, SaftVersion::k1_04_01);
  EXPECT_EQ(ParseCommandLine({"--output", "x", "--saft-version", "1.03_01"}).saft_version, SaftVersion::k1_03_01);
  try {
    ParseCommandLine({"--output", "x", "--saft-version", "1.04"});
    ADD_FAILURE() << "no UsageError";
  } catch (const UsageError& error) {
    EXPECT_EQ(std::string(error.what()), "--saft-version must be 1.03_01 or 1.04_01, not \"1.04\"");
  }
  EXPECT_NE(std::string(UsageText()).find("--saft-version"), std::string::npos);
}

TEST(SaftVersionOption, DefaultSwitchesOnTheFirstOfJuly2017) {
  testing::TempDir dir;
  EXPECT_EQ(Request(dir, {"--from", "2017-06-30", "--to", "2017-07-31"}).saftVersion, SaftVersion::k1_03_01);
  EXPECT_EQ(Request(dir, {"--from", "2017-07-01", "--to", "2017-07-31"}).saftVersion, SaftVersion::k1_04_01);
  EXPECT_EQ(Request(dir, {"--from", "2012-01-01", "--to", "2012-01-31"}).saftVersion, SaftVersion::k1_03_01);
  // Last month by default: June 2017 from July's 15th, July from August's first.
  EXPECT_EQ(Request(dir, {}, DateTime::FromDate(2017, 7, 15)).saftVersion, SaftVersion::k1_03_01);
  EXPECT_EQ(Request(dir, {}, DateTime::FromDate(2017, 8, 1)).saftVersion, SaftVersion::k1_04_01);
  // Asked for by name, whatever the period.
  EXPECT_EQ(Request(dir, {"--from", "2024-01-01", "--to", "2024-01-31", "--saft-version", "1.03_01"}).saftVersion,
            SaftVersion::k1_03_01);
  EXPECT_EQ(Request(dir, {"--from", "2016-01-01", "--to", "2016-01-31", "--saft-version", "1.04_01"}).saftVersion,
            SaftVersion::k1_04_01);
}

TEST(SaftVersionOption, A104RequestTakesTheCodesOfVarnelIni) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir / "Varnel.ini",
                          "[ATCUD]\r\nFT A=AAJFJMVNTN\r\nRC A=RECEIPTS1\r\n[Isencoes]\r\nM07L=M07\r\n");
  const ExportRequest request = Request(dir, {"--saft-version", "1.04_01"});
  ASSERT_EQ(request.atcudCodes.size(), 2u);
  EXPECT_EQ(request.atcudCodes[1].type, "RC");
  EXPECT_EQ(request.atcudCodes[1].code, "RECEIPTS1");
  EXPECT_EQ(FindExemptionCode(request.exemptionCodes, "M07L", ""), "M07");          // from the file
  EXPECT_EQ(FindExemptionCode(request.exemptionCodes, "", "Artigo 53.º"), "M10");  // shipped

  // A 1.03_01 export has no use for them and does not look.
  testing::WriteFileBytes(dir / "Varnel.ini", "[ATCUD]\r\nFT A=bad\r\n");
  EXPECT_TRUE(Request(dir, {"--saft-version", "1.03_01"}).atcudCodes.empty());

  EXPECT_EQ(RequestError(dir, {"--saft-version", "1.04_01"}),
            "Código de validação inválido em Varnel.ini, secção [ATCUD], chave \"FT A\": \"bad\". "
            "Um código de validação tem pelo menos 8 letras ou algarismos.");
  testing::WriteFileBytes(dir / "Varnel.ini", "[Isencoes]\r\nArtigo 9=M7\r\n");
  EXPECT_EQ(RequestError(dir, {"--saft-version", "1.04_01"}),
            "Código de isenção inválido em Varnel.ini, secção [Isencoes], chave \"Artigo 9\": \"M7\". "
            "Um código de isenção é M seguido de dois algarismos (M07).");
}

}  // namespace
}  // namespace varnel
