// The headless exporter's options: what it accepts and what it refuses.
#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

CommandLine Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, DefaultsFollowTheWindow) {
  const CommandLine line = Parse({"--output", "out.xml"});
  EXPECT_EQ(line.output, "out.xml");
  EXPECT_EQ(line.saft_type, SaftType::Resumido);
  EXPECT_FALSE(line.region.has_value());
  EXPECT_FALSE(line.series.has_value());
  EXPECT_FALSE(line.from.has_value());
  EXPECT_TRUE(line.workdir.empty());
}

TEST(CommandLine, ReadsEveryOption) {
  const CommandLine line = Parse({"--output", "x", "--workdir", "d", "--from", "2016-01-01", "--to",
                                  "2016-01-31", "--type", "Normal", "--region", "acores", "--series", "C"});
  EXPECT_EQ(line.workdir, "d");
  EXPECT_EQ(DateText(*line.from), "2016-01-01");
  EXPECT_EQ(DateText(*line.to), "2016-01-31");
  EXPECT_EQ(line.saft_type, SaftType::Normal);
  EXPECT_EQ(line.region, TaxRegion::Acores);
  EXPECT_EQ(line.series, 3);
  EXPECT_EQ(Parse({"--output", "x", "--region", "1"}).region, TaxRegion::Madeira);
  EXPECT_EQ(Parse({"--output", "x", "--region", "Madeira"}).region, TaxRegion::Madeira);
  EXPECT_EQ(Parse({"--output", "x", "--series", "none"}).series, 0);
  EXPECT_EQ(Parse({"--output", "x", "--series", "26"}).series, 26);
  EXPECT_EQ(Parse({"--output", "x", "--type", "resumido"}).saft_type, SaftType::Resumido);
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(CommandLine, PublicKeysPerVersion) {
  EXPECT_TRUE(Parse({"--output", "x"}).public_keys.empty());
  const CommandLine line = Parse({"--output", "x", "--public-key", "chave.pem", "--public-key", "2=C:\\Chaves\\v2.pem",
                                  "--public-key", "3=a=b.pem"});
  const std::vector<SignatureKeyFile> expected = {{1, "chave.pem"}, {2, "C:\\Chaves\\v2.pem"}, {3, "a=b.pem"}};
  EXPECT_EQ(line.public_keys, expected);
  // Only digits before "=" name a version; anything else is the file's name.
  EXPECT_EQ(Parse({"--output", "x", "--public-key", "nova=versão.pem"}).public_keys,
            std::vector<SignatureKeyFile>{(SignatureKeyFile{1, "nova=versão.pem"})});
  EXPECT_EQ(Parse({"--verify", "f.xml", "--public-key", "k.pem"}).public_keys.size(), 1u);
}

TEST(CommandLine, RefusesBadUsageWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--from", "2016-01-01", "--to", "2016-01-31"},
      {"--output"},
      {"--output", "x", "--from", "2016-01-01"},
      {"--output", "x", "--from", "2016-1-1", "--to", "2016-01-31"},
      {"--output", "x", "--from", "2016-02-30", "--to", "2016-03-31"},
      {"--output", "x", "--type", "full"},
      {"--output", "x", "--region", "3"},
      {"--output", "x", "--series", "27"},
      {"--output", "x", "--series", "-1"},
      {"--output", "x", "--series", "AB"},
      {"--output", "x", "--colour", "blue"},
      {"--output", "x", "stray"},
      {"--output", "x", "--public-key", "0=k.pem"},
      {"--output", "x", "--public-key", "2="},
      {"--output", "x", "--public-key", "a.pem", "--public-key", "1=b.pem"},
  };
  for (const auto& arguments : bad) {
    std::string joined;
    for (const auto& a : arguments) joined += a + " ";
    EXPECT_THROW(ParseCommandLine(arguments), UsageError) << joined;
  }
}

// A final date before the initial one is not a usage error: the run's checks
// refuse it, with the window's message (varnel_export_test).
TEST(CommandLine, LeavesTheOrderOfThePeriodToTheRun) {
  const CommandLine line = ParseCommandLine({"--output", "x", "--from", "2016-02-01", "--to", "2016-01-31"});
  EXPECT_EQ(*line.from, DateTime::FromDate(2016, 2, 1));
  EXPECT_EQ(*line.to, DateTime::FromDate(2016, 1, 31));
}

}  // namespace
}  // namespace varnel
