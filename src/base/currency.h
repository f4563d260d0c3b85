// Currency: money and quantities as a signed 64-bit count of ten-thousandths.
// Sums are exact; an overflow raises ConversionError instead of wrapping.
// Values that pass through floating point come back by rounding to the nearest
// ten-thousandth with ties to even, computed with a 64-bit significand
// (long double on x86-64). Round2 and CurrText are the only ways an amount is
// rounded to cents or turned into text for the audit file.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace varnel {

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;

  // Raw count of ten-thousandths: FromRaw(12345) is 1.2345.
  static constexpr Currency FromRaw(std::int64_t raw) {
    Currency c;
    c.m_raw = raw;
    return c;
  }
  // A whole number of units: FromInteger(3) is 3.0000. Raises on overflow.
  static Currency FromInteger(std::int64_t units);
  // value rounded to the nearest ten-thousandth, ties to even.
  static Currency FromFloat(long double value);
  // raw_units (already in ten-thousandths) rounded to the nearest integer,
  // ties to even.
  static Currency FromRawFloat(long double raw_units);

  constexpr std::int64_t raw() const { return m_raw; }
  long double ToFloat() const { return static_cast<long double>(m_raw) / kScale; }

  Currency Abs() const;
  Currency operator-() const;
  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency& operator+=(Currency other);
  Currency& operator-=(Currency other);

  friend constexpr auto operator<=>(Currency, Currency) = default;
  friend constexpr bool operator==(Currency, Currency) = default;

 private:
  std::int64_t m_raw = 0;
};

// value rounded to the nearest integer, ties to even, in long double
// arithmetic. Raises ConversionError (naming `what`) when the result does not
// fit a signed 64-bit integer or value is not a number.
std::int64_t RoundHalfEvenToInt64(long double value, const char* what);

// Whole cents, halves away from zero: 1.005 -> 1.01, -1.005 -> -1.01.
Currency Round2(Currency value);

// Shortest decimal text with "." as separator: 0, 12.5, -0.25, 0.0001.
std::string CurrText(Currency value);

}  // namespace varnel
