// Amounts as the windows' tables show them: two decimals with ties to the
// even cent, a decimal comma, the thousands grouped by a no-break space from
// five digits of whole euros on (Qt's pt_PT locale), the euro sign.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "window/amount_text.h"

using namespace varnel;

namespace {

// The no-break space, spelled so the expected texts stay readable.
std::string Nb(std::string text) {
  std::string out;
  for (const char c : text) {
    if (c == '_') {
      out += "\xC2\xA0";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

TEST(AmountText, PortugueseConventions) {
  const struct {
    std::int64_t raw;  // ten-thousandths
    const char* text;  // "_" is a no-break space
  } cases[] = {
      {0, "0,00_€"},
      {54678392, "5467,84_€"},        // four digits: not grouped
      {123456700, "12_345,67_€"},
      {12345678900000, "1_234_567_890,00_€"},
      {3829000, "382,90_€"},
      {-54678392, "-5467,84_€"},
      {-123456700, "-12_345,67_€"},
      {50, "0,00_€"},                  // half a cent: to the even cent, 0
      {150, "0,02_€"},                 // 1.5 cents: to 2
      {250, "0,02_€"},                 // 2.5 cents: to 2
      {251, "0,03_€"},
      {-50, "0,00_€"},                 // no "-0,00"
      {-150, "-0,02_€"},
      {-249, "-0,02_€"},
      {9999950, "1000,00_€"},          // carries into the euros
      {999999950, "100_000,00_€"},
      {std::numeric_limits<std::int64_t>::max(), "922_337_203_685_477,58_€"},
      {std::numeric_limits<std::int64_t>::min(), "-922_337_203_685_477,58_€"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AmountText(Currency::FromRaw(c.raw)), Nb(c.text)) << c.raw;
  }
}

TEST(AmountText, Rates) {
  EXPECT_EQ(RateText("23.00"), Nb("23_%"));
  EXPECT_EQ(RateText("6.50"), Nb("6,5_%"));
  EXPECT_EQ(RateText("0.00"), Nb("0_%"));
  EXPECT_EQ(RateText("13"), Nb("13_%"));
  EXPECT_EQ(RateText(""), "");
}
