// The settings layer next to the system's own profile functions
// (GetPrivateProfileStringW, WritePrivateProfileStringW) on the same files:
// every read must give what the system gives, and a file written by either
// must read the same through both. Run under Wine in the Windows job, this
// compares with Wine's implementation, which follows Windows' documented
// reads; the byte layout of a rewritten file is Wine's own and is left to a
// check on a real Windows machine.
#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "base/file_names.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

std::wstring Wide(const std::string& utf8) { return PathFromUtf8(utf8).wstring(); }
std::string Utf8(const std::wstring& wide) { return Utf8FromPath(std::filesystem::path(wide)); }

std::string SystemRead(const std::filesystem::path& file, const std::string& section, const std::string& key,
                       const std::string& default_value) {
  std::vector<wchar_t> buffer(4096);
  const DWORD length = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(default_value).c_str(),
                                                buffer.data(), static_cast<DWORD>(buffer.size()),
                                                file.wstring().c_str());
  return Utf8(std::wstring(buffer.data(), length));
}

struct Lookup {
  const char* section;
  const char* key;
  const char* default_value;
};

const Lookup kLookups[] = {
    {"Company Info", "CompanyName", "?"}, {"company info", "COMPANYNAME", "?"}, {"Company Info", "City", "?"},
    {"Company Info", "Quoted", "?"},      {"Company Info", "Single", "?"},      {"Company Info", "Mixed", "?"},
    {"Company Info", "Lone", "?"},        {"Company Info", "Empty", "?"},       {"Company Info", "Inner", "?"},
    {"Company Info", "Missing", "dflt  "}, {"Missing", "CompanyName", "  lead"}, {"Company Info", "Spaced", "?"},
    {"OPCOES", "SERIE", "0"},             {"OPCOES", "Tabs", "?"},
};

TEST(ProfileFunctions, ReadsGiveWhatTheSystemGives) {
  const char* files[] = {
      "[Company Info]\r\nCompanyName=Padaria Central\r\nCity = Porto \r\nQuoted=\"  spaced  \"\r\n"
      "Single='x'\r\nMixed=\"c'\r\nLone=\"\r\nEmpty=\r\nInner=a \"b\" c\r\nSpaced  =  v  w  \r\n"
      "[OPCOES]\r\nSERIE=3\r\nTabs=\tt\t\r\n",
      "  [ company info ]  \r\n  companyname  =  first  \r\nCompanyName=second\r\n[Company Info]\r\nCity=third\r\n",
      "[Company Info]\nCompanyName=LF only\n[OPCOES]\nSERIE=\"12\"\n",
      "no section line\r\nCompanyName=x\r\n[Company Info]\r\nCity\r\nCompanyName=y",
  };
  for (const char* bytes : files) {
    TempDir dir;
    WriteFileBytes(dir / "Varnel.ini", bytes);
    const ProfileFile file(dir.path(), "Varnel.ini");
    for (const Lookup& lookup : kLookups) {
      EXPECT_EQ(file.ReadString(lookup.section, lookup.key, lookup.default_value),
                SystemRead(dir / "Varnel.ini", lookup.section, lookup.key, lookup.default_value))
          << "[" << lookup.section << "] " << lookup.key << " in:\n" << bytes;
    }
  }
}

TEST(ProfileFunctions, AFileWrittenByEitherReadsTheSameThroughBoth) {
  const std::pair<const char*, const char*> writes[] = {
      {"CompanyName", "Café Açores"}, {"City", "  Ponta Delgada "}, {"CompanyName", "Café São Miguel"},
      {"Quoted", "\"kept\""},          {"Empty", ""},
  };
  const char* start[] = {nullptr, "; a comment\r\n[Other]\r\nk = v\r\n\r\n[Company Info]\r\nCity=Faro\r\n"};
  for (const char* before : start) {
    TempDir ours_dir;
    TempDir system_dir;
    if (before != nullptr) {
      WriteFileBytes(ours_dir / "Varnel.ini", before);
      WriteFileBytes(system_dir / "Varnel.ini", before);
    }
    ProfileFile ours(ours_dir.path(), "Varnel.ini");
    const std::wstring system_file = (system_dir / "Varnel.ini").wstring();
    for (const auto& [key, value] : writes) {
      ours.WriteString("Company Info", key, value);
      ASSERT_TRUE(WritePrivateProfileStringW(L"Company Info", Wide(key).c_str(), Wide(value).c_str(),
                                             system_file.c_str()));
    }
    const ProfileFile theirs(system_dir.path(), "Varnel.ini");
    for (const auto& [key, value] : writes) {
      const std::string expected = SystemRead(system_dir / "Varnel.ini", "Company Info", key, "?");
      EXPECT_EQ(ours.ReadString("Company Info", key, "?"), expected) << key;
      EXPECT_EQ(theirs.ReadString("Company Info", key, "?"), expected) << key;
      EXPECT_EQ(SystemRead(ours_dir / "Varnel.ini", "Company Info", key, "?"), expected) << key;
    }
    EXPECT_EQ(ours.ReadString("Other", "k", "?"), SystemRead(system_dir / "Varnel.ini", "Other", "k", "?"));
  }
}

}  // namespace
}  // namespace varnel
