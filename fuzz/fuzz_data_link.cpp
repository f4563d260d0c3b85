// Fuzzes the reading of the data link file "Korvel.UDL". Invariants:
// - every key of the init string comes out lower-cased and trimmed, never
//   empty and without "=" or ";", and the pairs written back (values
//   quoted) read as the same pairs;
// - the masked init string reads with "***" as the value of every Password
//   and PWD key the original has;
// - the whole file (any bytes, any encoding) either reads into a
//   description or raises DataLinkError, whose text never holds the password
//   unless the provider, the path or the message's own words hold it too.
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "posdb/data_link.h"

namespace {

using varnel::fuzz::Require;

std::string Quoted(const std::string& value) {
  std::string quoted = "\"";
  for (const char c : value) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

const std::filesystem::path& DataLinkPath() {
  static const std::filesystem::path path = [] {
    const auto folder = std::filesystem::temp_directory_path() / ("varnel-fuzz-data-link-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    return folder / "Korvel.UDL";
  }();
  return path;
}

void CheckInitString(const std::string& init) {
  const auto pairs = varnel::ParseInitString(init);
  std::string written;
  for (const auto& [key, value] : pairs) {
    Require(!key.empty(), "no empty key");
    Require(key.find_first_of("=;ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos, "keys lower-cased, whole");
    Require(!std::isspace(static_cast<unsigned char>(key.front())) &&
                !std::isspace(static_cast<unsigned char>(key.back())),
            "keys trimmed");
    written += key + "=" + Quoted(value) + ";";
  }
  Require(varnel::ParseInitString(written) == pairs, "pairs written back read the same");

  const auto masked = varnel::ParseInitString(varnel::MaskPasswords(init));
  for (const char* key : {"password", "pwd"}) {
    if (pairs.count(key) == 0) continue;
    const auto found = masked.find(key);
    Require(found != masked.end() && found->second == "***", "every password is masked");
  }
}

constexpr std::string_view kPassword = "Zq9Secret";

// Reads bytes as the data link file. When password_line is given (the
// init string line the file holds), a DataLinkError may show kPassword only
// where the provider itself holds it.
void CheckFile(const std::string& bytes, const std::string* password_line) {
  {
    std::ofstream out(DataLinkPath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  try {
    const varnel::ConnectionDescription description = varnel::ReadDataLinkFile(DataLinkPath());
    Require(!description.provider.empty(), "a description names its provider");
    if (description.kind == varnel::ConnectionDescription::Kind::Odbc) {
      Require(!description.odbc_connection_string.empty(), "an ODBC description has a connection string");
    }
  } catch (const varnel::DataLinkError& error) {
    const std::string message = error.what();
    Require(!message.empty(), "a data link error says what is wrong");
    if (password_line != nullptr && message.find(kPassword) != std::string::npos) {
      const auto pairs = varnel::ParseInitString(*password_line);
      const auto provider = pairs.find("provider");
      Require(provider != pairs.end() && provider->second.find(kPassword) != std::string::npos,
              "a data link error never shows the password");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(varnel::fuzz::AsText(data, size));
  CheckInitString(input);
  CheckFile(input, nullptr);
  // The text as the init string of a data link file, with a password.
  std::string line = input;
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  line += ";Password=" + std::string(kPassword);
  CheckFile("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n" + line + "\r\n", &line);
  return 0;
}
