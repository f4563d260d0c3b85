// The demo working directory's files, byte for byte (the data link and both
// settings files, replaced on a second run), the exporter reaching the
// database through the data link, and the generator's command line and
// calendar with its default period.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "posdb/pos_database.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_options.h"
#include "tools/demo_signing_key.h"
#include "tools/demo_workdir.h"

namespace varnel::demo {
namespace {

using varnel::testing::ReadFileBytes;
using varnel::testing::TempDir;
using varnel::testing::WriteFileBytes;

// The UTF-16LE bytes of an ASCII text, with the byte-order mark first.
std::string Utf16LittleEndian(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(DemoWorkdir, SettingsAndDataLinkBytes) {
  EXPECT_EQ(DataLinkFileBytes("korvel.db"),
            Utf16LittleEndian(u"[oledb]\r\n"
                              u"; Everything after this line is an OLE DB initstring\r\n"
                              u"Provider=SQLite;Data Source=korvel.db\r\n"));
  EXPECT_EQ(PosSettingsBytes(1), "[OPCOES]\r\nSerie de numeracao=1\r\n");
  EXPECT_EQ(OwnSettingsBytes(Company()),
            "[Company Info]\r\n"
            "CompanyID=599999993\r\n"
            "CompanyName=Restaurante O Cantinho do Av\xF4, Lda.\r\n"
            "BuildingNumber=27\r\n"
            "StreetName=Rua dos Rem\xE9" "dios\r\n"
            "AddressDetail=Rua dos Rem\xE9" "dios, 27, r/c\r\n"
            "City=Lisboa\r\n"
            "PostalCode1=1100\r\n"
            "PostalCode2=452\r\n"
            "Estabelecimento=Alfama\r\n"
            "TaxCountryRegion=0\r\n");
}

TEST(DemoWorkdir, Windows1252Conversion) {
  EXPECT_EQ(Windows1252FromUtf8("Açores, São, º, ª"), "A\xE7ores, S\xE3o, \xBA, \xAA");
  EXPECT_EQ(Windows1252FromUtf8("€ — Š"), "\x80 \x97 \x8A");
  EXPECT_THROW(Windows1252FromUtf8("Łódź"), std::invalid_argument);
  EXPECT_THROW(Windows1252FromUtf8("\xC3"), std::invalid_argument);
}

TEST(DemoWorkdir, WritesTheFiveFilesAndReplacesThem) {
  TempDir folder;
  std::filesystem::path directory = folder / "demo";
  DemoDatabaseOptions options;
  options.period = {DayNumber({2025, 2, 1}), DayNumber({2025, 2, 28})};
  options.documents = 50;
  DemoDatabaseSummary summary = WriteDemoWorkingDirectory(directory, options);
  EXPECT_EQ(summary.documents, 50);
  EXPECT_EQ(ReadFileBytes(directory / "Korvel.UDL"), DataLinkFileBytes("korvel.db"));
  EXPECT_EQ(ReadFileBytes(directory / "Korvel.ini"), PosSettingsBytes(1));
  EXPECT_EQ(ReadFileBytes(directory / "Varnel.ini"), OwnSettingsBytes(Company()) + DemoSignatureSettingsBytes());
  EXPECT_EQ(DemoSignatureSettingsBytes(), "\r\n[Assinaturas]\r\n1=chave-publica-demo.pem\r\n");
  EXPECT_EQ(ReadFileBytes(directory / "chave-publica-demo.pem"), DemoPublicKeyPem());
  std::string database = ReadFileBytes(directory / "korvel.db");
  EXPECT_EQ(database.substr(0, 16), std::string("SQLite format 3\0", 16));

  // Again, over an older database with a stale journal beside it.
  WriteFileBytes(directory / "Varnel.ini", "changed by an export");
  WriteFileBytes(directory / "korvel.db-journal", "stale");
  WriteDemoWorkingDirectory(directory, options);
  EXPECT_TRUE(ReadFileBytes(directory / "korvel.db") == database);
  EXPECT_EQ(ReadFileBytes(directory / "Varnel.ini"), OwnSettingsBytes(Company()) + DemoSignatureSettingsBytes());
  EXPECT_FALSE(std::filesystem::exists(directory / "korvel.db-journal"));
  EXPECT_FALSE(std::filesystem::exists(directory / "korvel.db.partial"));
}

// Runs the test from another working directory and comes back.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& path)
      : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
  }

 private:
  std::filesystem::path m_previous;
};

// The exporter's own database layer finds the demo database through the data
// link, from the working directory as the exporter runs in it, and reads the
// amounts back as they were meant.
TEST(DemoWorkdir, TheExporterReachesTheDatabaseThroughTheDataLink) {
  TempDir folder;
  DemoDatabaseOptions options;
  options.period = {DayNumber({2025, 2, 1}), DayNumber({2025, 2, 28})};
  options.documents = 40;
  WriteDemoWorkingDirectory(folder.path(), options);

  WorkingDirectory inside(folder.path());
  PosDatabase database;
  database.Connect("Korvel.UDL");
  PosQuery version(database, "q_versao", "SELECT major FROM versao");
  version.Open();
  EXPECT_EQ(version.AsInteger("major"), 2016);
  PosQuery totals(database, "q_totals",
                  "SELECT d.doc, d.numero, d.total, (SELECT SUM(v.total) FROM vendas v "
                  "WHERE v.doc = d.doc AND v.numero = d.numero) AS lines FROM documentos d "
                  "WHERE d.doc <> 'RC'");
  totals.Open();
  int documents = 0;
  for (; !totals.Eof(); totals.Next(), ++documents) {
    EXPECT_EQ(totals.AsCurrency("total"), totals.AsCurrency("lines"))
        << totals.AsText("doc") << " " << totals.AsInteger("numero");
  }
  EXPECT_GT(documents, 30);
}

DemoCommandLine Parse(std::vector<std::string_view> arguments, CivilDate today = {2026, 3, 15}) {
  return ParseDemoCommandLine(arguments, today);
}

TEST(DemoOptions, ReadsTheCommandLine) {
  DemoCommandLine defaults = Parse({"--out", "demo"});
  EXPECT_EQ(defaults.out, std::filesystem::path("demo"));
  EXPECT_EQ(DayText(defaults.database.period.first_day), "2026-02-01");
  EXPECT_EQ(DayText(defaults.database.period.last_day), "2026-02-28");
  EXPECT_EQ(defaults.database.documents, 300);
  EXPECT_EQ(defaults.database.seed, 1u);
  EXPECT_EQ(defaults.database.unsigned_per_thousand, 0);  // the default month: every document signed
  EXPECT_EQ(defaults.database.without_series_letter_per_thousand, 20);
  DemoCommandLine shares = Parse({"--out", "x", "--unsigned", "30", "--without-series-letter", "0"});
  EXPECT_EQ(shares.database.unsigned_per_thousand, 30);
  EXPECT_EQ(shares.database.without_series_letter_per_thousand, 0);

  DemoCommandLine january = Parse({"--out", "x"}, {2024, 1, 10});
  EXPECT_EQ(DayText(january.database.period.first_day), "2023-12-01");
  EXPECT_EQ(DayText(january.database.period.last_day), "2023-12-31");
  DemoCommandLine leap = Parse({"--out", "x"}, {2024, 3, 1});
  EXPECT_EQ(DayText(leap.database.period.last_day), "2024-02-29");

  DemoCommandLine full = Parse({"--documents", "160000", "--seed", "18446744073709551615", "--from",
                                "2016-02-01", "--to", "2016-02-29", "--out", "bench/db"});
  EXPECT_EQ(full.database.documents, 160000);
  EXPECT_EQ(full.database.seed, 18446744073709551615u);
  EXPECT_EQ(DayText(full.database.period.first_day), "2016-02-01");
  EXPECT_EQ(full.database.period.length(), 29);
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(DemoOptions, ExplainsWhatIsWrong) {
  struct Case {
    std::vector<std::string_view> arguments;
    const char* message;
  };
  const Case cases[] = {
      {{}, "--out DIR is required."},
      {{"--out"}, "--out needs a value."},
      {{"--out", "d", "--verbose"}, "Unknown option \"--verbose\"."},
      {{"--out", "d", "--documents", "0"}, "--documents needs a whole number from 1 to 50000000, not \"0\"."},
      {{"--out", "d", "--documents", "12x"}, "--documents needs a whole number from 1 to 50000000, not \"12x\"."},
      {{"--out", "d", "--seed", "-1"}, "--seed needs a whole number from 0 to 18446744073709551615, not \"-1\"."},
      {{"--out", "d", "--from", "2026-02-30", "--to", "2026-03-01"},
       "--from needs a day from 2000 on, written YYYY-MM-DD, not \"2026-02-30\"."},
      {{"--out", "d", "--from", "1999-12-31", "--to", "2000-01-31"},
       "--from needs a day from 2000 on, written YYYY-MM-DD, not \"1999-12-31\"."},
      {{"--out", "d", "--from", "2026-02-01"}, "--from and --to go together."},
      {{"--out", "d", "--from", "2026-02-02", "--to", "2026-02-01"}, "--to is before --from."},
      {{"--out", "d", "--unsigned", "1001"}, "--unsigned needs a whole number from 0 to 1000, not \"1001\"."},
      {{"--out", "d", "--unsigned", "990", "--without-series-letter", "20"},
       "--unsigned and --without-series-letter together cannot pass 1000."},
  };
  for (const Case& item : cases) {
    try {
      Parse(item.arguments);
      ADD_FAILURE() << "accepted: " << item.message;
    } catch (const UsageError& error) {
      EXPECT_EQ(std::string(error.what()), item.message);
    }
  }
}

TEST(DemoCalendar, DaysAndTexts) {
  EXPECT_EQ(DayNumber({1970, 1, 1}), 0);
  EXPECT_EQ(DayNumber({2000, 3, 1}) - DayNumber({2000, 2, 28}), 2);
  EXPECT_EQ(DayNumber({2100, 3, 1}) - DayNumber({2100, 2, 28}), 1);
  for (std::int64_t day = DayNumber({1999, 12, 1}); day < DayNumber({2030, 1, 1}); day += 17) {
    EXPECT_EQ(DayNumber(DateOfDay(day)), day);
  }
  EXPECT_EQ(DayTimeText(DayNumber({2026, 11, 5}), 9 * 3600 + 5 * 60 + 7), "2026-11-05 09:05:07");
  EXPECT_EQ(DayTimeText(DayNumber({2026, 12, 31}), 86399), "2026-12-31 23:59:59");
  EXPECT_EQ(ParseIsoDate("2024-02-29"), (CivilDate{2024, 2, 29}));
  EXPECT_FALSE(ParseIsoDate("2023-02-29"));
  EXPECT_FALSE(ParseIsoDate("2023-2-28"));
  EXPECT_FALSE(ParseIsoDate("2023-13-01"));
}

}  // namespace
}  // namespace varnel::demo
