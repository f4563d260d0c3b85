// Currency arithmetic and its two texts. Every operation is exact or raises
// ConversionError; rounding happens only in the named conversions.
#include "base/currency.h"

#include <cmath>
#include <limits>

#include "base/errors.h"

namespace varnel {

namespace {

[[noreturn]] void ThrowOverflow(const char* operation) {
  throw ConversionError(std::string("Amount out of range in ") + operation);
}

}  // namespace

std::int64_t RoundHalfEvenToInt64(long double value, const char* what) {
  // The default floating-point rounding mode is to nearest, ties to even,
  // which is exactly what nearbyintl does.
  if (std::isnan(value)) {
    throw ConversionError(std::string("Invalid floating point value in ") + what);
  }
  const long double rounded = std::nearbyintl(value);
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63, exact
  if (!(rounded >= -kLimit && rounded < kLimit)) {
    throw ConversionError(std::string("Floating point value out of range in ") + what);
  }
  return static_cast<std::int64_t>(rounded);
}

Currency Currency::FromInteger(std::int64_t units) {
  std::int64_t raw = 0;
  if (__builtin_mul_overflow(units, kScale, &raw)) ThrowOverflow("an amount");
  return FromRaw(raw);
}

Currency Currency::FromFloat(long double value) {
  return FromRaw(RoundHalfEvenToInt64(value * kScale, "an amount"));
}

Currency Currency::FromRawFloat(long double raw_units) {
  return FromRaw(RoundHalfEvenToInt64(raw_units, "an amount"));
}

Currency Currency::Abs() const { return m_raw < 0 ? -*this : *this; }

Currency Currency::operator-() const {
  if (m_raw == std::numeric_limits<std::int64_t>::min()) ThrowOverflow("a negation");
  return FromRaw(-m_raw);
}

Currency Currency::operator+(Currency other) const {
  std::int64_t raw = 0;
  if (__builtin_add_overflow(m_raw, other.m_raw, &raw)) ThrowOverflow("a sum");
  return FromRaw(raw);
}

Currency Currency::operator-(Currency other) const {
  std::int64_t raw = 0;
  if (__builtin_sub_overflow(m_raw, other.m_raw, &raw)) ThrowOverflow("a difference");
  return FromRaw(raw);
}

Currency& Currency::operator+=(Currency other) { return *this = *this + other; }
Currency& Currency::operator-=(Currency other) { return *this = *this - other; }

Currency Round2(Currency value) {
  // Quotient and remainder by 100 truncate toward zero; a remainder of half a
  // cent or more moves away from zero. Never overflows: the largest result is
  // 9223372036854775800.
  const std::int64_t x = value.raw();
  std::int64_t cents = x / 100;
  const std::int64_t rest = x % 100;
  if (rest >= 50) ++cents;
  if (rest <= -50) --cents;
  return Currency::FromRaw(cents * 100);
}

std::string CurrText(Currency value) {
  const std::int64_t raw = value.raw();
  // Work on the magnitude as unsigned so the most negative value is safe.
  const std::uint64_t magnitude =
      raw < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(raw)
              : static_cast<std::uint64_t>(raw);
  std::uint64_t whole = magnitude / Currency::kScale;
  std::uint64_t fraction = magnitude % Currency::kScale;

  char digits[32];
  int length = 0;
  do {
    digits[length++] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);

  std::string text;
  text.reserve(26);
  if (raw < 0) text.push_back('-');
  while (length > 0) text.push_back(digits[--length]);
  if (fraction != 0) {
    text.push_back('.');
    char decimals[4];
    for (int i = 3; i >= 0; --i) {
      decimals[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    int used = 4;
    while (decimals[used - 1] == '0') --used;
    text.append(decimals, static_cast<std::size_t>(used));
  }
  return text;
}

}  // namespace varnel
