// Reading the data link file "Korvel.UDL". The file is decoded (UTF-16 with
// or without byte-order mark, UTF-8, or else Windows-1252), its first line
// that is neither a section nor a comment is the init string, and the
// provider named there decides how the database is reached. Messages name the
// file and the provider, never a value of the init string.
#include "posdb/data_link.h"

#include "base/ascii_text.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "base/file_names.h"
#include "base/text_encoding.h"

namespace varnel {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == AsciiLower(prefix);
}

// The file's text as UTF-8, whatever form it was saved in.
std::string DecodeFile(const std::string& bytes) {
  // UTF-16LE without a byte-order mark: every second byte of ASCII text is 0.
  if (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0') {
    return TextFileToUtf8(bytes, TextFileForm::Utf16LittleEndian);
  }
  return DecodeTextFile(bytes);
}

std::string InitStringLine(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const auto line = TrimWhiteSpace(std::string_view(text).substr(start, end - start));
    if (!line.empty() && line.front() != ';' && line.front() != '[') return std::string(line);
    start = end + 1;
  }
  return {};
}

std::string Value(const std::map<std::string, std::string>& pairs, const std::string& key) {
  const auto found = pairs.find(key);
  return found == pairs.end() ? std::string() : found->second;
}


}  // namespace

std::string DataLinkFileBytes(std::string_view init_string) {
  const std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n" +
                           std::string(init_string) + "\r\n";
  return Utf8ToTextFile(text, TextFileForm::Utf16LittleEndian);
}

std::string QuoteOdbcValue(std::string_view value) {
  if (value.find_first_of(";{}= ") == std::string::npos && value.find('\0') == std::string::npos) {
    return std::string(value);
  }
  std::string quoted = "{";
  for (char c : value) {
    quoted += c;
    if (c == '}') quoted += '}';
  }
  return quoted + "}";
}

std::map<std::string, std::string> ParseInitString(const std::string& init_string) {
  std::map<std::string, std::string> pairs;
  const std::string_view text(init_string);
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ';' || std::isspace(static_cast<unsigned char>(text[i])))) ++i;
    const auto equals = text.find('=', i);
    const auto next_separator = text.find(';', i);
    if (equals == std::string_view::npos || (next_separator != std::string_view::npos && next_separator < equals)) {
      // A fragment without "=": skipped.
      i = next_separator == std::string_view::npos ? text.size() : next_separator + 1;
      continue;
    }
    const std::string key = AsciiLower(TrimWhiteSpace(text.substr(i, equals - i)));
    i = equals + 1;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string value;
    if (i < text.size() && (text[i] == '"' || text[i] == '\'' || text[i] == '{')) {
      const char close = text[i] == '{' ? '}' : text[i];
      ++i;
      while (i < text.size()) {
        if (text[i] == close) {
          if (i + 1 < text.size() && text[i + 1] == close) {
            value += close;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value += text[i++];
      }
      const auto end = text.find(';', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
    } else {
      const auto end = text.find(';', i);
      const auto stop = end == std::string_view::npos ? text.size() : end;
      value = std::string(TrimWhiteSpace(text.substr(i, stop - i)));
      i = stop == text.size() ? stop : stop + 1;
    }
    if (!key.empty()) pairs[key] = value;
  }
  return pairs;
}

namespace {

using InitPairs = std::map<std::string, std::string>;

[[noreturn]] void Refuse(const std::filesystem::path& path, const std::string& what) {
  throw DataLinkError("The data link file \"" + DisplayPath(path) + "\" " + what);
}

// The initialisation string's pairs, from the file's bytes.
InitPairs ReadInitPairs(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) Refuse(path, "does not exist.");
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) Refuse(path, "cannot be read.");
  const std::string init_string = InitStringLine(DecodeFile(bytes));
  if (init_string.empty()) Refuse(path, "holds no connection settings.");
  return ParseInitString(init_string);
}

void DescribeSqlite(const std::filesystem::path& path, const std::string& data_source,
                    ConnectionDescription& description) {
  description.kind = ConnectionDescription::Kind::Sqlite;
  if (TrimWhiteSpace(data_source).empty()) Refuse(path, "names no database file (Data Source).");
  std::error_code error;
  description.database_file = std::filesystem::absolute(PathFromTyped(TrimWhiteSpace(data_source)), error);
  if (error) description.database_file = PathFromTyped(TrimWhiteSpace(data_source));
}

void DescribeSqlServer(const std::filesystem::path& path, const InitPairs& pairs, const std::string& data_source,
                       ConnectionDescription& description) {
  description.kind = ConnectionDescription::Kind::SqlServer;
  description.server = std::string(TrimWhiteSpace(data_source));
  if (description.server.empty()) Refuse(path, "names no server (Data Source).");
  description.database = Value(pairs, "initial catalog");
  const std::string security = AsciiLower(Value(pairs, "integrated security"));
  description.trusted_connection = security == "sspi" || security == "true" || security == "yes";
}

void DescribeOdbc(const std::filesystem::path& path, const InitPairs& pairs, const std::string& data_source,
                  ConnectionDescription& description) {
  description.kind = ConnectionDescription::Kind::Odbc;
  std::string odbc = Value(pairs, "extended properties");
  if (TrimWhiteSpace(odbc).empty()) {
    if (TrimWhiteSpace(data_source).empty()) {
      Refuse(path, "names no ODBC data source (Extended Properties or Data Source).");
    }
    odbc = "DSN=" + QuoteOdbcValue(data_source) + ";";
    if (!description.user.empty()) odbc += "UID=" + QuoteOdbcValue(description.user) + ";";
    if (!description.password.empty()) odbc += "PWD=" + QuoteOdbcValue(description.password) + ";";
  } else {
    const auto odbc_pairs = ParseInitString(odbc);
    if (description.user.empty()) description.user = Value(odbc_pairs, "uid");
    if (description.password.empty()) description.password = Value(odbc_pairs, "pwd");
  }
  description.odbc_connection_string = odbc;
}

}  // namespace

ConnectionDescription ReadDataLinkFile(const std::filesystem::path& path) {
  const InitPairs pairs = ReadInitPairs(path);
  ConnectionDescription description;
  description.provider = Value(pairs, "provider");
  const std::string& provider = description.provider;
  const std::string data_source = Value(pairs, "data source");
  description.user = Value(pairs, "user id");
  description.password = Value(pairs, "password");

  if (provider.empty()) Refuse(path, "names no provider.");
  if (StartsWithIgnoringCase(provider, "SQLite")) {
    DescribeSqlite(path, data_source, description);
  } else if (StartsWithIgnoringCase(provider, "SQLOLEDB") || StartsWithIgnoringCase(provider, "SQLNCLI") ||
             StartsWithIgnoringCase(provider, "MSOLEDBSQL")) {
    DescribeSqlServer(path, pairs, data_source, description);
  } else if (StartsWithIgnoringCase(provider, "MSDASQL")) {
    DescribeOdbc(path, pairs, data_source, description);
  } else {
    Refuse(path, "names the provider \"" + provider + "\", which this program cannot use.");
  }
  return description;
}

std::string MaskPasswords(std::string_view connection_string) {
  std::string out;
  std::size_t i = 0;
  const std::string_view text = connection_string;
  while (i < text.size()) {
    const auto equals = text.find('=', i);
    if (equals == std::string_view::npos) {
      out += text.substr(i);
      break;
    }
    std::size_t key_start = text.rfind(';', equals);
    key_start = key_start == std::string_view::npos || key_start < i ? i : key_start + 1;
    const std::string key = AsciiLower(TrimWhiteSpace(text.substr(key_start, equals - key_start)));
    out += text.substr(i, equals + 1 - i);
    i = equals + 1;
    // The value runs to the next ";" outside quotes or braces.
    std::size_t end = i;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
    if (end < text.size() && (text[end] == '"' || text[end] == '\'' || text[end] == '{')) {
      const char close = text[end] == '{' ? '}' : text[end];
      ++end;
      while (end < text.size()) {
        if (text[end] == close) {
          if (end + 1 < text.size() && text[end + 1] == close) {
            end += 2;
            continue;
          }
          ++end;
          break;
        }
        ++end;
      }
    }
    end = std::min(text.find(';', end), text.size());
    if (key == "pwd" || key == "password") {
      out += "***";
    } else {
      out += text.substr(i, end - i);
    }
    i = end;
    if (i < text.size()) out += text[i++];
  }
  return out;
}

}  // namespace varnel
