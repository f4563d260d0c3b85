// Exact decimal amounts for the verifier's sums: a signed 128-bit count of
// 10^-10, so every amount an audit file writes (any number of decimals up to
// ten, integer part up to fifteen digits) is held without rounding and sums of
// millions of lines cannot overflow. Texts are the shortest exact decimal with
// at least two decimals ("2297.94", "0.0113").
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/currency.h"

namespace varnel::verify {

class DecimalAmount {
 public:
  static constexpr int kDecimals = 10;

  constexpr DecimalAmount() = default;

  // An xs:decimal text: blanks around it, an optional sign, digits with an
  // optional "." and decimals. nullopt when it is not one, when the integer
  // part has more than fifteen digits, or when decimals beyond the tenth are
  // not all zero (the amount could not be held exactly).
  static std::optional<DecimalAmount> Parse(std::string_view text);
  static DecimalAmount FromUnits(__int128 units) {
    DecimalAmount a;
    a.m_units = units;
    return a;
  }

  static DecimalAmount FromWhole(std::int64_t value) { return FromUnits(static_cast<__int128>(value) * 10000000000); }

  __int128 units() const { return m_units; }
  bool IsZero() const { return m_units == 0; }

  DecimalAmount operator+(DecimalAmount other) const { return FromUnits(m_units + other.m_units); }
  DecimalAmount operator-(DecimalAmount other) const { return FromUnits(m_units - other.m_units); }
  DecimalAmount operator-() const { return FromUnits(-m_units); }
  DecimalAmount& operator+=(DecimalAmount other) {
    m_units += other.m_units;
    return *this;
  }
  DecimalAmount& operator-=(DecimalAmount other) {
    m_units -= other.m_units;
    return *this;
  }
  DecimalAmount Abs() const { return m_units < 0 ? -*this : *this; }
  // -1, 0 or 1.
  int Sign() const { return m_units < 0 ? -1 : m_units > 0 ? 1 : 0; }

  // Rounded half away from zero to `decimals` decimals (0 to 10).
  DecimalAmount Rounded(int decimals) const;
  // How many decimals an xs:decimal text is written with ("12.50" has 2,
  // "7" none); blanks around it are ignored.
  static int DecimalsWritten(std::string_view text);
  // amount x factor, rounded half away from zero to 10^-10; nullopt when the
  // product does not fit. Exchange rates and proportions.
  static std::optional<DecimalAmount> Times(DecimalAmount amount, DecimalAmount factor);
  // amount / divisor, rounded the same way; nullopt for a zero divisor or a
  // quotient that does not fit.
  static std::optional<DecimalAmount> DividedBy(DecimalAmount amount, DecimalAmount divisor);

  // amount x percentage / 100, rounded half away from zero to 10^-10; nullopt
  // when the product does not fit (a percentage no audit file can mean).
  static std::optional<DecimalAmount> PercentOf(DecimalAmount amount, DecimalAmount percentage);

  // Rounded half away from zero to the ten-thousandth of a Currency; values
  // beyond Currency's range saturate (they cannot come from a valid file).
  Currency ToCurrency() const;

  std::string Text() const;

  friend auto operator<=>(DecimalAmount a, DecimalAmount b) { return a.m_units <=> b.m_units; }
  friend bool operator==(DecimalAmount a, DecimalAmount b) { return a.m_units == b.m_units; }

 private:
  __int128 m_units = 0;
};

// The amount of one cent, the tolerance of the per-document totals.
inline DecimalAmount OneCent() { return DecimalAmount::FromUnits(100000000); }
// Half a cent: what rounding one amount to the cent can move it.
inline DecimalAmount HalfCent() { return DecimalAmount::FromUnits(50000000); }

}  // namespace varnel::verify
