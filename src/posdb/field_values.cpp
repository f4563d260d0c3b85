// Cell-to-value conversions of the database layer. Decimal texts are read
// exactly (digit by digit, never through floating point) and rounded to the
// scale asked with ties to even; floating point reaches Currency only through
// Currency::FromFloat.
#include "posdb/field_values.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "base/errors.h"
#include "base/utf8.h"
#include "base/value_routines.h"

namespace varnel {
namespace {

// A decimal number as digits x 10^exponent, digits without leading or
// trailing zeros (empty for zero).
struct DecimalParts {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::optional<DecimalParts> ParseDecimal(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  DecimalParts parts;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) parts.negative = text[i++] == '-';
  std::size_t digit_count = 0;
  int fraction_digits = 0;
  std::string digits;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') digits += text[i++], ++digit_count;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      digits += text[i++];
      ++digit_count;
      ++fraction_digits;
    }
  }
  if (digit_count == 0) return std::nullopt;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool exponent_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
    if (i >= text.size()) return std::nullopt;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      exponent = exponent * 10 + (text[i++] - '0');
      if (exponent > 100000) return std::nullopt;
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;
  const auto first = digits.find_first_not_of('0');
  if (first == std::string::npos) {
    parts.digits.clear();
    parts.exponent = 0;
    parts.negative = false;
    return parts;
  }
  digits.erase(0, first);
  const auto last = digits.find_last_not_of('0');
  const auto trailing = static_cast<long>(digits.size() - 1 - last);
  digits.erase(last + 1);
  parts.digits = digits;
  parts.exponent = static_cast<int>(exponent - fraction_digits + trailing);
  return parts;
}

// parts x 10^scale rounded to an integer, ties to even; nullopt on overflow.
std::optional<std::int64_t> RoundDecimal(const DecimalParts& parts, int scale) {
  if (parts.digits.empty()) return 0;
  const long shift = static_cast<long>(parts.exponent) + scale;
  const long length = static_cast<long>(parts.digits.size());
  const long keep = length + shift;  // digits before the point after shifting
  if (keep > 19) return std::nullopt;
  unsigned __int128 magnitude = 0;
  for (long k = 0; k < keep; ++k) {
    const char digit = k < length ? parts.digits[static_cast<std::size_t>(k)] : '0';
    magnitude = magnitude * 10 + static_cast<unsigned>(digit - '0');
  }
  if (keep < length) {
    // The first dropped digit decides; trailing zeros were removed, so any
    // digit after it makes the rest non-zero.
    const int first_dropped = keep >= 0 ? parts.digits[static_cast<std::size_t>(keep)] - '0' : 0;
    const bool more = keep >= 0 ? keep + 1 < length : true;
    const bool round_up =
        first_dropped > 5 || (first_dropped == 5 && (more || (magnitude % 2) == 1));
    if (round_up) ++magnitude;
  }
  const unsigned __int128 limit =
      parts.negative ? static_cast<unsigned __int128>(INT64_MAX) + 1 : INT64_MAX;
  if (magnitude > limit) return std::nullopt;
  if (parts.negative) {
    return magnitude == limit ? INT64_MIN : -static_cast<std::int64_t>(magnitude);
  }
  return static_cast<std::int64_t>(magnitude);
}

// The value as an error box can show it: at most 40 characters, a byte that
// is not UTF-8 shown as U+FFFD and a control character as "?", so that the
// message is valid text whatever the database held.
std::string Quote(std::string_view text) {
  std::string shown;
  std::size_t pos = 0;
  for (std::size_t characters = 0; pos < text.size() && characters < 40; ++characters) {
    char32_t code_point = 0;
    const std::size_t length = DecodeUtf8(text, pos, code_point);
    if (length == 0) {
      AppendUtf8(shown, 0xFFFD);
      ++pos;
      continue;
    }
    if (code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F)) {
      shown += '?';
    } else {
      shown.append(text.substr(pos, length));
    }
    pos += length;
  }
  if (pos < text.size()) shown += "...";
  return "\"" + shown + "\"";
}

[[noreturn]] void RaiseConversion(const FieldPlace& place, std::string_view value, std::string_view wanted) {
  std::string message = "The value " + Quote(value) + " of field " + std::string(place.field);
  if (!place.query.empty()) message += " in query " + std::string(place.query);
  message += " is not " + std::string(wanted) + ".";
  throw ConversionError(message);
}

std::string IntegerText(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A cell's value for a message, without any conversion that could fail.
std::string ShownValue(const CellView& cell) {
  switch (cell.type) {
    case CellType::Null:
      return "NULL";
    case CellType::Integer:
      return IntegerText(cell.integer);
    case CellType::Real:
    case CellType::DateTime:
      return ShortestRealText(cell.real);
    case CellType::Text:
    case CellType::Decimal:
      break;
  }
  return std::string(cell.text);
}

std::optional<double> ParseDouble(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

}  // namespace

std::optional<Currency> ParseDecimalCurrency(std::string_view text) {
  const auto parts = ParseDecimal(text);
  if (!parts) return std::nullopt;
  const auto raw = RoundDecimal(*parts, 4);
  if (!raw) {
    throw ConversionError("The amount " + Quote(text) + " is outside the range of amounts.");
  }
  return Currency::FromRaw(*raw);
}

std::optional<std::string> NormalizeDecimalText(std::string_view text) {
  const auto parts = ParseDecimal(text);
  if (!parts || std::abs(parts->exponent) > 400) return std::nullopt;
  if (parts->digits.empty()) return std::string("0");
  std::string out = parts->negative ? "-" : "";
  const long length = static_cast<long>(parts->digits.size());
  const long point = length + parts->exponent;
  if (parts->exponent >= 0) {
    out += parts->digits;
    out.append(static_cast<std::size_t>(parts->exponent), '0');
  } else if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out += parts->digits;
  } else {
    out += parts->digits.substr(0, static_cast<std::size_t>(point));
    out += '.';
    out += parts->digits.substr(static_cast<std::size_t>(point));
  }
  return out;
}

std::string ShortestRealText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.2e18) {
    return IntegerText(static_cast<std::int64_t>(value));
  }
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) {
    const auto general = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, general.ptr);
  }
  return std::string(buffer, result.ptr);
}

std::string CellAsText(const CellView& cell) {
  switch (cell.type) {
    case CellType::Null:
      return {};
    case CellType::Integer:
      return IntegerText(cell.integer);
    case CellType::Real:
      return ShortestRealText(cell.real);
    case CellType::Text:
      return std::string(cell.text);
    case CellType::Decimal: {
      auto normal = NormalizeDecimalText(cell.text);
      return normal ? *normal : std::string(cell.text);
    }
    case CellType::DateTime:
      return DateTime(cell.real).DatabaseText();
  }
  return {};
}

std::int64_t CellAsInteger(const CellView& cell, const FieldPlace& place) {
  switch (cell.type) {
    case CellType::Null:
      return 0;
    case CellType::Integer:
      return cell.integer;
    case CellType::Real:
    case CellType::DateTime:
      try {
        return RoundHalfEvenToInt64(cell.real, "a whole number");
      } catch (const ConversionError&) {
        RaiseConversion(place, ShortestRealText(cell.real), "a whole number within range");
      }
    case CellType::Text:
      if (const auto small = ReadInteger(cell.text)) return *small;
      [[fallthrough]];
    case CellType::Decimal: {
      const auto parts = ParseDecimal(cell.text);
      // Whole numbers only: a text such as "12.5" is no integer.
      if (parts && (parts->exponent >= 0 || cell.type == CellType::Decimal)) {
        if (const auto value = RoundDecimal(*parts, 0)) return *value;
      }
      RaiseConversion(place, cell.text, "a whole number");
    }
  }
  return 0;
}

Currency CellAsCurrency(const CellView& cell, const FieldPlace& place) {
  if (cell.type == CellType::Null) return Currency();
  // An amount beyond the range of Currency is named with its field and
  // query, as a text that is no number is.
  std::optional<Currency> value;
  try {
    switch (cell.type) {
      case CellType::Integer:
        value = Currency::FromInteger(cell.integer);
        break;
      case CellType::Real:
      case CellType::DateTime:
        value = Currency::FromFloat(cell.real);
        break;
      default:
        value = ParseDecimalCurrency(cell.text);
        break;
    }
  } catch (const ConversionError&) {
    RaiseConversion(place, ShownValue(cell), "an amount within range");
  }
  if (!value) RaiseConversion(place, cell.text, "a number");
  return *value;
}

namespace {

// A day number read as a date-time, named with its field and query when it
// lies outside the years a date can have.
DateTime DayNumber(double days, const CellView& cell, const FieldPlace& place) {
  const DateTime value(days);
  try {
    value.Decode();
  } catch (const ConversionError&) {
    RaiseConversion(place, ShownValue(cell), "a date between the years 1 and 9999");
  }
  return value;
}

}  // namespace

DateTime CellAsDateTime(const CellView& cell, const FieldPlace& place) {
  switch (cell.type) {
    case CellType::Null:
      return DateTime();
    case CellType::Integer:
      return DayNumber(static_cast<double>(cell.integer), cell, place);
    case CellType::Real:
    case CellType::DateTime:
      return DayNumber(cell.real, cell, place);
    case CellType::Text:
      if (const auto value = DateTime::ParseDatabaseText(cell.text)) return *value;
      RaiseConversion(place, cell.text, "a date");
    case CellType::Decimal:
      if (const auto days = ParseDouble(cell.text)) return DayNumber(*days, cell, place);
      RaiseConversion(place, cell.text, "a date");
  }
  return DateTime();
}

bool CellAsBoolean(const CellView& cell) {
  switch (cell.type) {
    case CellType::Null:
      return false;
    case CellType::Integer:
      return cell.integer != 0;
    case CellType::Real:
    case CellType::DateTime:
      return cell.real != 0.0;
    case CellType::Text:
    case CellType::Decimal: {
      if (EqualsIgnoringCase(TrimBlanks(cell.text), "true")) return true;
      const auto parts = ParseDecimal(cell.text);
      return parts && !parts->digits.empty();
    }
  }
  return false;
}

double CellAsFloat(const CellView& cell, const FieldPlace& place) {
  switch (cell.type) {
    case CellType::Null:
      return 0.0;
    case CellType::Integer:
      return static_cast<double>(cell.integer);
    case CellType::Real:
    case CellType::DateTime:
      return cell.real;
    case CellType::Text:
    case CellType::Decimal:
      if (const auto value = ParseDouble(cell.text)) return *value;
      RaiseConversion(place, cell.text, "a number");
  }
  return 0.0;
}

}  // namespace varnel
