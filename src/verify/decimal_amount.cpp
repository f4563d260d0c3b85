// Reading, multiplying and writing the verifier's exact decimal amounts.
// Parsing is strict (no exponent, no thousands separator) because the schema's
// xs:decimal is; anything else is left for the caller to report as unreadable.
#include "verify/decimal_amount.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace varnel::verify {

namespace {

constexpr __int128 kUnitsPerOne = 10000000000;  // 10^kDecimals

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Quotient of value / divisor rounded half away from zero (divisor > 0).
__int128 DivideRounded(__int128 value, __int128 divisor) {
  __int128 quotient = value / divisor;
  const __int128 rest = value % divisor;
  if (rest * 2 >= divisor) ++quotient;
  if (rest * 2 <= -divisor) --quotient;
  return quotient;
}

}  // namespace

std::optional<DecimalAmount> DecimalAmount::Parse(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  __int128 units = 0;
  int integer_digits = 0;
  int decimals = 0;
  bool seen_point = false;
  bool any_digit = false;
  for (const char c : text) {
    if (c == '.' && !seen_point) {
      seen_point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    any_digit = true;
    const int digit = c - '0';
    if (!seen_point) {
      // Leading zeros do not count towards the fifteen digits.
      if (integer_digits > 0 || digit != 0) ++integer_digits;
      if (integer_digits > 15) return std::nullopt;
      units = units * 10 + digit;
    } else if (decimals < kDecimals) {
      units = units * 10 + digit;
      ++decimals;
    } else if (digit != 0) {
      return std::nullopt;
    }
  }
  if (!any_digit) return std::nullopt;
  for (; decimals < kDecimals; ++decimals) units *= 10;
  return FromUnits(negative ? -units : units);
}

std::optional<DecimalAmount> DecimalAmount::PercentOf(DecimalAmount amount, DecimalAmount percentage) {
  // a x p / 100 in 10^-10 units is (a x whole(p) x 10^10 + a x fraction(p)) /
  // 10^12; the percentage is split so that each product stays in range.
  const __int128 whole = percentage.m_units / kUnitsPerOne;
  const __int128 fraction = percentage.m_units % kUnitsPerOne;
  __int128 by_whole = 0;
  __int128 by_fraction = 0;
  if (__builtin_mul_overflow(amount.m_units, whole, &by_whole)) return std::nullopt;
  if (__builtin_mul_overflow(amount.m_units, fraction, &by_fraction)) return std::nullopt;
  __int128 scaled = 0;
  if (!__builtin_mul_overflow(by_whole, kUnitsPerOne, &scaled) &&
      !__builtin_add_overflow(scaled, by_fraction, &scaled)) {
    return FromUnits(DivideRounded(scaled, kUnitsPerOne * 100));
  }
  // Too large to round once: each part rounded, off by at most 10^-10.
  return FromUnits(DivideRounded(by_whole, 100) + DivideRounded(by_fraction, kUnitsPerOne * 100));
}

DecimalAmount DecimalAmount::Rounded(int decimals) const {
  decimals = std::clamp(decimals, 0, kDecimals);
  __int128 step = 1;
  for (int i = decimals; i < kDecimals; ++i) step *= 10;
  return FromUnits(DivideRounded(m_units, step) * step);
}

int DecimalAmount::DecimalsWritten(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  const std::size_t point = text.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::optional<DecimalAmount> DecimalAmount::Times(DecimalAmount amount, DecimalAmount factor) {
  // a x f is a x (100 f) / 100, the product PercentOf rounds.
  __int128 hundred_times = 0;
  if (__builtin_mul_overflow(factor.m_units, static_cast<__int128>(100), &hundred_times)) return std::nullopt;
  return PercentOf(amount, FromUnits(hundred_times));
}

std::optional<DecimalAmount> DecimalAmount::DividedBy(DecimalAmount amount, DecimalAmount divisor) {
  if (divisor.m_units == 0) return std::nullopt;
  // amount / divisor in 10^-10 units is amount x 10^10 / divisor.
  __int128 scaled = 0;
  if (__builtin_mul_overflow(amount.m_units, kUnitsPerOne, &scaled)) return std::nullopt;
  const bool negative = divisor.m_units < 0;
  const __int128 quotient = DivideRounded(negative ? -scaled : scaled, negative ? -divisor.m_units : divisor.m_units);
  return FromUnits(quotient);
}

Currency DecimalAmount::ToCurrency() const {
  const __int128 raw = DivideRounded(m_units, kUnitsPerOne / Currency::kScale);
  constexpr __int128 kMax = std::numeric_limits<std::int64_t>::max();
  constexpr __int128 kMin = std::numeric_limits<std::int64_t>::min();
  return Currency::FromRaw(static_cast<std::int64_t>(std::clamp(raw, kMin, kMax)));
}

std::string DecimalAmount::Text() const {
  unsigned __int128 magnitude =
      m_units < 0 ? static_cast<unsigned __int128>(-(m_units + 1)) + 1 : static_cast<unsigned __int128>(m_units);
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude != 0);
  while (digits.size() <= static_cast<std::size_t>(kDecimals)) digits.push_back('0');
  std::reverse(digits.begin(), digits.end());
  std::string integer = digits.substr(0, digits.size() - kDecimals);
  std::string decimals = digits.substr(digits.size() - kDecimals);
  while (decimals.size() > 2 && decimals.back() == '0') decimals.pop_back();
  return (m_units < 0 ? "-" : "") + integer + "." + decimals;
}

}  // namespace varnel::verify
