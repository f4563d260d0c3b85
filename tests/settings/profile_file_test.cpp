// The profile file layer: lookups that ignore letter case and trim values,
// defaults for whatever is missing, the read buffer's cut, the encodings read,
// the exact bytes written (Windows-1252, CR LF, other lines untouched) and
// the "Unable to write to" failure of a read-only file.
#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "support/platform_facts.h"

#include <filesystem>
#include <functional>
#include <string>

#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

void ExpectWriteError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no SettingsWriteError raised";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(error.what(), message);
  }
}

TEST(ProfileFile, ReadsNamesIgnoringCaseAndTrimsValues) {
  TempDir dir;
  WriteFileBytes(dir / "VARNEL.INI",
                 "[other]\r\nCompanyName=wrong section\r\n"
                 "  [ company info ]  \r\n"
                 "  companyname  =  Padaria Central  \r\n"
                 "Empty=\r\n"
                 "CompanyName=second occurrence\r\n");
  const ProfileFile file(dir.path(), "Varnel.ini");
  EXPECT_EQ(file.ReadString("Company Info", "CompanyName", "?"), "Padaria Central");
  EXPECT_EQ(file.ReadString("COMPANY INFO", "COMPANYNAME", "?"), "Padaria Central");
  EXPECT_EQ(file.ReadString("Company Info", "Empty", "?"), "");
  EXPECT_EQ(file.ReadString("Company Info", "City", "?"), "?");
  EXPECT_EQ(file.ReadString("Missing", "CompanyName", "dflt"), "dflt");

  const ProfileFile absent(dir.path(), "Absent.ini");
  EXPECT_EQ(absent.ReadString("Company Info", "CompanyName", "999999990"), "999999990");
}

TEST(ProfileFile, ValueSeenThroughBufferIsCut) {
  TempDir dir;
  WriteFileBytes(dir / "Korvel.ini",
                 "[OPCOES]\r\nLong=ABCDEFGHIJKL\r\nAccented=\xC7\xC7\xC7\xC7\xC7\xC7\xC7\xC7\xC7\xC7\xC7\r\n"
                 "Short=  AB  \r\n");
  const ProfileFile file(dir.path(), "Korvel.ini");
  EXPECT_EQ(file.ReadString("OPCOES", "Long", "0", 10), "ABCDEFGHI");
  EXPECT_EQ(file.ReadString("OPCOES", "Accented", "0", 10), "ÇÇÇÇÇÇÇÇÇ");
  EXPECT_EQ(file.ReadString("OPCOES", "Short", "0", 10), "AB");
  EXPECT_EQ(file.ReadString("OPCOES", "Missing", "0123456789AB", 10), "012345678");
  EXPECT_EQ(file.ReadString("OPCOES", "Long", "0"), "ABCDEFGHIJKL");
}

TEST(ProfileFile, OnePairOfMatchingQuotesIsTakenOffAValue) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini",
                 "[S]\r\n"
                 "spaced = \"  spaced  \" \r\n"
                 "single='x'\r\n"
                 "nested=\"'a'\"\r\n"
                 "twice=\"\"b\"\"\r\n"
                 "mixed=\"c'\r\n"
                 "lone=\"\r\n"
                 "empty=\"\"\r\n"
                 "inner=a \"b\" c\r\n"
                 "open=\"d\r\n");
  ProfileFile file(dir.path(), "Varnel.ini");
  const std::pair<const char*, const char*> expected[] = {
      {"spaced", "  spaced  "}, {"single", "x"},   {"nested", "'a'"}, {"twice", "\"b\""},       {"mixed", "\"c'"},
      {"lone", "\""},           {"empty", ""},     {"inner", "a \"b\" c"}, {"open", "\"d"},
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(file.ReadString("S", key, "?"), value) << key;
}

TEST(ProfileFile, OnlyTheFirstSectionOfAName) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[s]\r\na=3\r\nc=4\r\n");
  ProfileFile file(dir.path(), "Varnel.ini");
  EXPECT_EQ(file.ReadString("S", "a", "?"), "1");
  EXPECT_EQ(file.ReadString("S", "c", "?"), "?") << "a later section of the same name is not searched";
  file.WriteString("S", "c", "5");
  EXPECT_EQ(file.ReadString("S", "c", "?"), "5");
  EXPECT_EQ(testing::ReadFileBytes(dir / "Varnel.ini"), "[S]\r\na=1\r\nc=5\r\n[T]\r\nb=2\r\n[s]\r\na=3\r\nc=4\r\n");
}

TEST(ProfileFile, TheDefaultComesBackWithoutTrailingBlanks) {
  TempDir dir;
  ProfileFile file(dir.path(), "Varnel.ini");
  EXPECT_EQ(file.ReadString("S", "missing", "  Lisboa   "), "  Lisboa");
  EXPECT_EQ(file.ReadString("S", "missing", "   "), "");
  EXPECT_EQ(file.ReadString("S", "missing", "\"q\" "), "\"q\"") << "quotes of a default stay";
  WriteFileBytes(dir / "Varnel.ini", "[S]\r\nkey= v \r\n");
  EXPECT_EQ(file.ReadString("S", "key", "d  "), "v");
}

TEST(ProfileFile, ReadsWindows1252Utf8AndUtf16Alike) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"Windows-1252", "[Company Info]\r\nCity=A\xE7ores \x80\r\n"},
      {"UTF-8", "[Company Info]\nCity=A\xC3\xA7ores \xE2\x82\xAC\n"},
      {"UTF-8 with mark", "\xEF\xBB\xBF[Company Info]\r\nCity=A\xC3\xA7ores \xE2\x82\xAC\r\n"},
      {"UTF-16LE", std::string("\xFF\xFE[\0C\0o\0m\0p\0a\0n\0y\0 \0I\0n\0f\0o\0]\0\r\0\n\0"
                               "C\0i\0t\0y\0=\0A\0\xE7\0o\0r\0e\0s\0 \0\xAC\x20\r\0\n\0",
                               60)},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFileBytes(dir / "Varnel.ini", c.bytes);
    EXPECT_EQ(ProfileFile(dir.path(), "Varnel.ini").ReadString("Company Info", "City", "?"), "Açores €")
        << c.name;
  }
}

TEST(ProfileFile, NewFileIsWindows1252WithCrLf) {
  TempDir dir;
  ProfileFile file(dir.path(), "Varnel.ini");
  file.WriteString("Company Info", "CompanyName", "Café Açores");
  file.WriteString("Company Info", "City", "  Ponta Delgada ");
  file.WriteString("Company Info", "CompanyName", "Café São Miguel €");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"),
            "[Company Info]\r\nCompanyName=Caf\xE9 S\xE3o Miguel \x80\r\nCity=  Ponta Delgada \r\n");
  EXPECT_EQ(file.ReadString("Company Info", "CompanyName", "?"), "Café São Miguel €");
  EXPECT_EQ(file.ReadString("Company Info", "City", "?"), "Ponta Delgada");
}

TEST(ProfileFile, CharactersOutsideWindows1252TakeTheirBestFit) {
  TempDir dir;
  ProfileFile file(dir.path(), "Varnel.ini");
  // Fullwidth ampersand and less-than sign, a w with circumflex, a Greek
  // omega: best fits "&", "<" and "w" (never an XML entity), "?" for none.
  file.WriteString("Company Info", "CompanyName", "A\xEF\xBC\x86" "B \xEF\xBC\x9C \xC5\xB5 \xCF\x89 & <");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), "[Company Info]\r\nCompanyName=A&B < w ? & <\r\n");
}

TEST(ProfileFile, WriteLeavesOtherLinesAsTheyWere) {
  TempDir dir;
  const std::string before =
      "; kept comment\n"
      "[Other]\n"
      "companyname = not this one\n"
      "\n"
      "[company info]\n"
      "city = Porto\n"
      "a line without equals sign \x81\x8D\n"
      "\n"
      "[Last]\n"
      "x=y";
  WriteFileBytes(dir / "varnel.ini", before);
  ProfileFile file(dir.path(), "Varnel.ini");
  file.WriteString("Company Info", "City", "Lisboa");
  file.WriteString("Company Info", "CompanyName", "Novo");
  file.WriteString("New Section", "Key", "v");
  EXPECT_EQ(ReadFileBytes(dir / "varnel.ini"),
            "; kept comment\n"
            "[Other]\n"
            "companyname = not this one\n"
            "\n"
            "[company info]\n"
            "city=Lisboa\n"
            "a line without equals sign \x81\x8D\n"
            "CompanyName=Novo\r\n"
            "\n"
            "[Last]\n"
            "x=y\r\n"
            "\r\n"
            "[New Section]\r\n"
            "Key=v\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "Varnel.ini") &&
               !std::filesystem::equivalent(dir / "Varnel.ini", dir / "varnel.ini"))
      << "a second file was created instead of writing the one found";
}

TEST(ProfileFile, WriteKeepsUtf8AndUtf16Files) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[Company Info]\nCity=Évora\n");
  ProfileFile file(dir.path(), "Varnel.ini");
  file.WriteString("Company Info", "CompanyName", "Açores");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), "[Company Info]\nCity=\xC3\x89vora\nCompanyName=A\xC3\xA7ores\r\n");

  WriteFileBytes(dir / "Varnel.ini", std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12));
  file.WriteString("A", "k", "\xC3\xA7");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), std::string("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xE7\0\r\0\n\0", 22));

  // UTF-16 in the other byte order is read, and written back in it.
  WriteFileBytes(dir / "Varnel.ini", std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xE9", 18));
  EXPECT_EQ(file.ReadString("A", "k", "?"), "\xC3\xA9");
  file.WriteString("A", "k", "\xC3\xA7");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xE7", 18));
}

TEST(ProfileFile, LineBreaksInValueCannotAddKeys) {
  TempDir dir;
  ProfileFile file(dir.path(), "Varnel.ini");
  file.WriteString("Company Info", "CompanyName", "Loja\r\nCompanyID=123");
  EXPECT_EQ(file.ReadString("Company Info", "CompanyID", "999999990"), "999999990");
  EXPECT_EQ(file.ReadString("Company Info", "CompanyName", "?"), "Loja  CompanyID=123");
}

TEST(ProfileFile, ReadOnlyFileOrMissingFolderRaisesUnableToWrite) {
  TempDir dir;
  const std::string before = "[Company Info]\r\nCity=Porto\r\n";
  WriteFileBytes(dir / "Varnel.ini", before);
  std::filesystem::permissions(dir / "Varnel.ini", std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::group_read |
                                                       std::filesystem::perms::others_read);
  ProfileFile file(dir.path(), "Varnel.ini");
  ExpectWriteError([&] { file.WriteString("Company Info", "City", "Braga"); }, "Unable to write to .\\Varnel.ini");
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), before);
  EXPECT_EQ(file.ReadString("Company Info", "City", "?"), "Porto");

  ProfileFile nowhere(dir / "no such folder", "Varnel.ini");
  ExpectWriteError([&] { nowhere.WriteString("Company Info", "City", "Braga"); },
                   "Unable to write to .\\Varnel.ini");

  std::filesystem::create_directory(dir / "Folder.ini");
  ProfileFile folder(dir.path(), "Folder.ini");
  EXPECT_EQ(folder.ReadString("Company Info", "City", "?"), "?");
  ExpectWriteError([&] { folder.WriteString("Company Info", "City", "Braga"); }, "Unable to write to .\\Folder.ini");
}

TEST(ProfileFile, WriteKeepsPermissionsAndLeavesNoTemporaryFile) {
  if (testing::kOnWindows) GTEST_SKIP() << "Windows keeps no POSIX permission bits, only a read-only attribute";
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[Company Info]\r\n");
  const auto permissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                           std::filesystem::perms::group_read;
  std::filesystem::permissions(dir / "Varnel.ini", permissions);
  ProfileFile(dir.path(), "Varnel.ini").WriteString("Company Info", "City", "Faro");
  EXPECT_EQ(std::filesystem::status(dir / "Varnel.ini").permissions(), permissions);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace varnel
