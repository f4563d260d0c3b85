// The series' validation codes in Varnel.ini: the section read and replaced
// as a whole (keys in order, other sections and lines kept byte for byte),
// keys that are not "<type> <series>" ignored, the code's form, and the
// section enumeration and replacement of the profile file layer beneath.
#include "settings/atcud_codes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/profile_file.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(AtcudCodes, ValidationCodeForm) {
  EXPECT_TRUE(IsValidValidationCode("AAJFJMVN"));
  EXPECT_TRUE(IsValidValidationCode("AAJFJMVNTN"));
  EXPECT_TRUE(IsValidValidationCode("abc12345"));
  EXPECT_FALSE(IsValidValidationCode(""));
  EXPECT_FALSE(IsValidValidationCode("0"));
  EXPECT_FALSE(IsValidValidationCode("AAJFJMV"));     // 7 characters
  EXPECT_FALSE(IsValidValidationCode("AAJF JMVN"));   // a blank
  EXPECT_FALSE(IsValidValidationCode("AAJF-JMVN"));   // the ATCUD's own separator
  EXPECT_FALSE(IsValidValidationCode("AAJFJMV\xC3\x87"));  // not ASCII
}

TEST(AtcudCodes, LoadsKeysInOrderAndSkipsOthers) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini",
                 "[Company Info]\r\nCompanyID=500000000\r\n"
                 "[atcud]\r\n"
                 "FT A = AAJFJMVNTN\r\n"
                 "; the receipts\r\n"
                 "RC   B=CCCCDDDD\r\n"
                 "Lonely=12345678\r\n"
                 "FT A B=12345678\r\n"
                 "ft a=SECONDVALUE\r\n"
                 "CM A=\r\n");
  const std::vector<AtcudSeriesCode> codes = AtcudCodes(dir.path()).Load();
  ASSERT_EQ(codes.size(), 3u);
  EXPECT_EQ(codes[0].type, "FT");
  EXPECT_EQ(codes[0].series, "A");
  EXPECT_EQ(codes[0].code, "AAJFJMVNTN");
  EXPECT_EQ(codes[1].type, "RC");
  EXPECT_EQ(codes[1].series, "B");
  EXPECT_EQ(codes[1].code, "CCCCDDDD");
  EXPECT_EQ(codes[2].type, "CM");
  EXPECT_EQ(codes[2].code, "");  // loaded as written; the exporter refuses it

  ASSERT_NE(FindAtcudSeriesCode(codes, "rc", "b"), nullptr);
  EXPECT_EQ(FindAtcudSeriesCode(codes, "RC", "b")->code, "CCCCDDDD");
  EXPECT_EQ(FindAtcudSeriesCode(codes, "RC", "A"), nullptr);

  EXPECT_TRUE(AtcudCodes(dir / "missing").Load().empty());
}

TEST(AtcudCodes, SaveReplacesTheSectionOnly) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini",
                 "[Company Info]\r\nCompanyID=500000000\r\n\r\n"
                 "[ATCUD]\r\n; codes from the tax authority\r\nFT A=OLDCODE1\r\nFS A=OLDCODE2\r\n\r\n"
                 "[Export]\nLastFolder=C:\\saft\n");
  AtcudCodes codes(dir.path());
  codes.Save({{"FS", "A", "NEWCODE2"}, {"RC", "A", "RECEIPT1"}});
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"),
            "[Company Info]\r\nCompanyID=500000000\r\n\r\n"
            "[ATCUD]\r\n; codes from the tax authority\r\nFS A=NEWCODE2\r\nRC A=RECEIPT1\r\n\r\n"
            "[Export]\nLastFolder=C:\\saft\n");

  codes.Save({});
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"),
            "[Company Info]\r\nCompanyID=500000000\r\n\r\n"
            "[ATCUD]\r\n; codes from the tax authority\r\n\r\n"
            "[Export]\nLastFolder=C:\\saft\n");
  EXPECT_TRUE(codes.Load().empty());
}

TEST(AtcudCodes, SaveAddsTheSectionOrNothing) {
  TempDir dir;
  AtcudCodes codes(dir.path());
  codes.Save({});
  EXPECT_FALSE(std::filesystem::exists(dir / "Varnel.ini"));  // nothing to keep, no file made

  WriteFileBytes(dir / "Varnel.ini", "[Company Info]\r\nCity=Faro");
  codes.Save({{"FT", "A", "AAJFJMVNTN"}});
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), "[Company Info]\r\nCity=Faro\r\n\r\n[ATCUD]\r\nFT A=AAJFJMVNTN\r\n");
  const auto loaded = codes.Load();
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_EQ(loaded[0].code, "AAJFJMVNTN");
}

TEST(AtcudCodes, SaveToReadOnlyFileRaisesUnableToWrite) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[ATCUD]\r\nFT A=AAJFJMVNTN\r\n");
  std::filesystem::permissions(dir / "Varnel.ini", std::filesystem::perms::owner_read);
  try {
    AtcudCodes(dir.path()).Save({{"FT", "A", "BBBBBBBB"}});
    ADD_FAILURE() << "no SettingsWriteError raised";
  } catch (const SettingsWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to .\\Varnel.ini");
  }
  std::filesystem::permissions(dir / "Varnel.ini", std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), "[ATCUD]\r\nFT A=AAJFJMVNTN\r\n");
}

TEST(ProfileFile, ReadSectionListsFirstSectionKeysOnce) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini",
                 "[Isencoes]\r\n  Artigo 9  =  M07 \r\nartigo 9=M99\r\nnot a key\r\n;M07L=M07\r\nQ=\"  x  \"\r\n"
                 "[Other]\r\nz=1\r\n[ISENCOES]\r\nlater=M01\r\n");
  const ProfileFile file(dir.path(), "Varnel.ini");
  const std::vector<ProfileFile::Entry> expected{{"Artigo 9", "M07"}, {"Q", "  x  "}};
  EXPECT_EQ(file.ReadSection("isencoes"), expected);
  EXPECT_TRUE(file.ReadSection("Missing").empty());
}

TEST(ProfileFile, ReplaceSectionKeepsUtf8AndValuesOnOneLine) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[S]\na=\xC3\xA7\n");
  ProfileFile file(dir.path(), "Varnel.ini");
  file.ReplaceSection("S", {{"b", "\xC3\xA9vora\r\nc=1"}});
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"), "[S]\nb=\xC3\xA9vora  c=1\r\n");
}

}  // namespace
}  // namespace varnel
