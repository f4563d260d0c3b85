// The value routines: pure functions of their arguments that never fail.
// Character counting follows UTF-8; a byte that does not start a well-formed
// sequence counts as one character of its own, so a cut never splits a valid
// character and never loses a byte of an invalid one.
#include "base/value_routines.h"

#include <charconv>
#include <limits>

#include "base/utf8.h"

namespace varnel {

namespace {

// Byte length of the character starting at s[pos]; a byte that does not
// start a well-formed sequence is a character of its own.
std::size_t CharacterLength(std::string_view s, std::size_t pos) {
  char32_t ignored = 0;
  const std::size_t length = DecodeUtf8(s, pos, ignored);
  return length == 0 ? 1 : length;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string TrimBlanks(std::string_view s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) --end;
  return std::string(s.substr(begin, end - begin));
}

std::string OrDefault(std::string_view s, std::string_view d) {
  std::string trimmed = TrimBlanks(s);
  return trimmed.empty() ? std::string(d) : trimmed;
}

std::optional<std::int32_t> ReadInteger(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size() && s[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    negative = s[pos] == '-';
    ++pos;
  }
  bool hexadecimal = false;
  if (pos < s.size() && (s[pos] == '$' || s[pos] == 'x' || s[pos] == 'X')) {
    hexadecimal = true;
    ++pos;
  } else if (pos + 1 < s.size() && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
    hexadecimal = true;
    pos += 2;
  }
  if (pos >= s.size()) return std::nullopt;
  // Accumulate the magnitude in 64 bits; anything beyond 2^31 fails.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (; pos < s.size(); ++pos) {
    const int digit = hexadecimal ? HexDigit(s[pos]) : (IsDecimalDigit(s[pos]) ? s[pos] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hexadecimal ? 16 : 10) + digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

namespace {

std::string PostalCodePart(std::string_view s, std::size_t length, const char* fallback) {
  if (CharacterCount(s) == length) {
    const auto value = ReadInteger(s);
    if (value && *value != -1) return std::string(s);
  }
  return fallback;
}

}  // namespace

std::string PostalCode4(std::string_view s) { return PostalCodePart(s, 4, "0000"); }
std::string PostalCode3(std::string_view s) { return PostalCodePart(s, 3, "000"); }

bool IsValidNif(std::string_view s) {
  const std::string t = TrimBlanks(s);
  if (t.empty()) return false;
  const std::int64_t value = ReadInteger(t).value_or(0);
  if (value < 100000000 || value > 999999999) return false;
  switch (t[0]) {
    case '7':
      return true;
    case '1':
    case '2':
    case '3':  // issued to individuals since 2019
    case '5':
    case '6':
    case '9':
      break;
    default:
      return false;
  }
  // Here t is exactly nine decimal digits.
  int sum = 0;
  for (int i = 0; i < 8; ++i) sum += (t[static_cast<std::size_t>(i)] - '0') * (9 - i);
  const int remainder = sum % 11;
  const int check = remainder < 2 ? 0 : 11 - remainder;
  return t[8] - '0' == check;
}

std::size_t CharacterCount(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < s.size(); pos += CharacterLength(s, pos)) ++count;
  return count;
}

std::string CharacterPrefix(std::string_view s, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t taken = 0; taken < n && pos < s.size(); ++taken) pos += CharacterLength(s, pos);
  return std::string(s.substr(0, pos));
}

std::string XmlEscape(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char* entity = nullptr;
    switch (s[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      case '\'': entity = "&apos;"; break;
      default: continue;
    }
    out.append(s.data() + start, i - start);
    out.append(entity);
    start = i + 1;
  }
  out.append(s.data() + start, s.size() - start);
  return out;
}

std::string XmlText(std::string_view s, std::size_t n) { return XmlEscape(CharacterPrefix(s, n)); }

std::string RemoveSpaces(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

std::string IntText(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string CountText(std::int64_t count, std::string_view one, std::string_view many) {
  std::string text = IntText(count);
  text += ' ';
  text += count == 1 ? one : many;
  return text;
}

std::string WithFullStop(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text.push_back('.');
  return text;
}

}  // namespace varnel
