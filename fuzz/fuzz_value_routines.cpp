// Fuzzes the value routines that take text from outside (the database, the
// operator, the settings files). Invariants:
// - ReadInteger agrees with a reference reading written from the rule
//   (leading spaces, a sign, decimal digits or "$", "x", "X", "0x", "0X" and
//   hexadecimal digits, all consumed, within 32 bits), and its result reads
//   back from its own decimal text;
// - a postal code part is the text unchanged or the default, unchanged only
//   when it has the length and reads as an integer other than -1;
// - a valid taxpayer number is nine decimal digits once trimmed;
// - a character prefix is a prefix of the text with the number of
//   characters asked (or all of them), never splitting a character;
// - XmlText is the prefix escaped; TrimBlanks leaves no blank at either end.
// The first input byte gives the cut length, the rest is the text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "base/value_routines.h"
#include "fuzz_check.h"

namespace {

using varnel::fuzz::Require;

int Digit(char c, bool hexadecimal) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hexadecimal && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hexadecimal && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ReferenceReadInteger(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hexadecimal = false;
  if (s.substr(i, 2) == "0x" || s.substr(i, 2) == "0X") {
    hexadecimal = true;
    i += 2;
  } else if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hexadecimal = true;
    ++i;
  }
  if (i == s.size()) return std::nullopt;
  __int128 value = 0;
  for (; i < s.size(); ++i) {
    const int digit = Digit(s[i], hexadecimal);
    if (digit < 0) return std::nullopt;
    value = value * (hexadecimal ? 16 : 10) + digit;
    if (value > (static_cast<__int128>(1) << 40)) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void CheckPostalCode(std::string_view s, std::size_t length, const std::string& result, const char* fallback) {
  const bool keeps = varnel::CharacterCount(s) == length && varnel::ReadInteger(s) && *varnel::ReadInteger(s) != -1;
  Require(result == (keeps ? std::string(s) : std::string(fallback)), "a postal code part is itself or the default");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t cut = data[0];
  const std::string_view s = varnel::fuzz::AsText(data + 1, size - 1);

  const auto read = varnel::ReadInteger(s);
  Require(read == ReferenceReadInteger(s), "ReadInteger agrees with the rule");
  if (read) Require(varnel::ReadInteger(varnel::IntText(*read)) == read, "an integer reads back from its text");

  CheckPostalCode(s, 4, varnel::PostalCode4(s), "0000");
  CheckPostalCode(s, 3, varnel::PostalCode3(s), "000");

  if (varnel::IsValidNif(s)) {
    const std::string t = varnel::TrimBlanks(s);
    Require(t.size() == 9 && t.find_first_not_of("0123456789") == std::string::npos && t[0] != '0',
            "a valid taxpayer number is nine digits not starting with 0");
  }

  const std::string prefix = varnel::CharacterPrefix(s, cut);
  Require(s.substr(0, prefix.size()) == prefix, "a character prefix is a prefix");
  const std::size_t count = varnel::CharacterCount(s);
  Require(varnel::CharacterCount(prefix) == (cut < count ? cut : count), "the prefix has the characters asked");
  if (varnel::IsValidUtf8(s)) Require(varnel::IsValidUtf8(prefix), "a cut never splits a character");
  Require(varnel::XmlText(s, cut) == varnel::XmlEscape(prefix), "XmlText is the prefix escaped");

  const std::string trimmed = varnel::TrimBlanks(s);
  Require(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                              static_cast<unsigned char>(trimmed.back()) > 32),
          "no blank at either end");
  Require(s.find(trimmed) != std::string_view::npos, "trimming only removes");
  Require(varnel::OrDefault(s, "?") == (trimmed.empty() ? std::string("?") : trimmed), "OrDefault");
  Require(varnel::RemoveSpaces(s).find(' ') == std::string::npos, "RemoveSpaces leaves no blank");
  const std::string stop = varnel::WithFullStop(s);
  Require(stop == std::string(s) || stop == std::string(s) + ".", "WithFullStop adds at most a full stop");
  return 0;
}
