// Fuzzes the settings file layer with whole files of any bytes (Windows-1252,
// UTF-8, UTF-16, broken in any way). Invariants:
// - reading never fails, and a read through a buffer of n characters gives
//   the first n - 1 characters of the unlimited read;
// - writing a key and reading it back gives the value written, trimmed;
// - writing one key leaves every other key's value as it read before, in
//   the same section and in another one;
// - replacing a section makes it list exactly the entries given, in order,
//   and leaves every key outside it as it read before.
// The value written comes from the input's last bytes, mapped onto printable
// ASCII and the accented letters of Portuguese.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8.h"
#include "base/value_routines.h"
#include "fuzz_check.h"
#include "settings/profile_file.h"

namespace {

using varnel::fuzz::Require;

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    const auto path = std::filesystem::temp_directory_path() / ("varnel-fuzz-profile-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

std::string ValueFrom(std::string_view bytes) {
  static const char* const kLetters[] = {"á", "à", "â", "ã", "ç", "é", "ê", "í", "ó", "ô", "õ", "ú",
                                         "Á", "À", "Â", "Ã", "Ç", "É", "Ê", "Í", "Ó", "Ô", "Õ", "Ú"};
  std::string value;
  for (const char c : bytes.substr(bytes.size() > 24 ? bytes.size() - 24 : 0)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      value += c;
    } else {
      value += kLetters[byte % 24];
    }
  }
  return value;
}

struct Key {
  const char* section;
  const char* key;
};
constexpr Key kOtherKeys[] = {{"Company Info", "CompanyID"}, {"Company Info", "City"}, {"company info", "companyid"},
                              {"OPCOES", "Serie de numeracao"}, {"", "CompanyName"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = varnel::fuzz::AsText(data, size);
  {
    std::ofstream out(Folder() / "Varnel.ini", std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }
  varnel::ProfileFile file(Folder(), "Varnel.ini");

  std::string before[std::size(kOtherKeys)];
  for (std::size_t i = 0; i < std::size(kOtherKeys); ++i) {
    before[i] = file.ReadString(kOtherKeys[i].section, kOtherKeys[i].key, "<none>");
    for (const std::size_t buffer : {std::size_t{1}, std::size_t{2}, std::size_t{9}}) {
      const std::string cut = file.ReadString(kOtherKeys[i].section, kOtherKeys[i].key, "<none>", buffer);
      Require(cut == varnel::CharacterPrefix(before[i], buffer - 1), "a buffer keeps the first n - 1 characters");
    }
  }

  const std::string value = ValueFrom(input);
  file.WriteString("Company Info", "CompanyName", value);
  // Read back trimmed, and without one pair of matching quotes around it.
  std::string expected = varnel::TrimBlanks(value);
  if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
      expected.back() == expected.front()) {
    expected = expected.substr(1, expected.size() - 2);
  }
  Require(file.ReadString("Company Info", "CompanyName", "<none>") == expected,
          "a key written reads back trimmed, one pair of matching quotes taken off");
  for (std::size_t i = 0; i < std::size(kOtherKeys); ++i) {
    Require(file.ReadString(kOtherKeys[i].section, kOtherKeys[i].key, "<none>") == before[i],
            "writing a key leaves the others as they were");
  }

  const std::vector<varnel::ProfileFile::Entry> entries = {{"FT A", value.empty() ? "x" : value}, {"RC A", "CODE1234"}};
  file.ReplaceSection("ATCUD", entries);
  std::vector<varnel::ProfileFile::Entry> expected_entries = entries;
  for (auto& entry : expected_entries) entry.second = file.ReadString("ATCUD", entry.first, "<none>");
  Require(file.ReadSection("atcud") == expected_entries, "a replaced section lists exactly its new entries");
  Require(file.ReadString("Company Info", "CompanyName", "<none>") == expected,
          "replacing a section leaves the keys outside it");
  return 0;
}
