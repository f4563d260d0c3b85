// Quantity and unit price of document lines: floating point brought back to
// ten-thousandths with ties to even, signs dropped, the VAT-inclusive price
// used when the quantity is 0.
#include "sourcedocs/line_rules.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace varnel {
namespace {

TEST(LineRules, QuantityIsAbsoluteAndRoundedToTenThousandths) {
  EXPECT_EQ(CurrText(LineQuantity(2.0)), "2");
  EXPECT_EQ(CurrText(LineQuantity(-2.0)), "2");
  EXPECT_EQ(CurrText(LineQuantity(0.0)), "0");
  EXPECT_EQ(CurrText(LineQuantity(1.23456)), "1.2346");
  EXPECT_EQ(CurrText(LineQuantity(0.333)), "0.333");
}

TEST(LineRules, UnitPriceFromAmountAndQuantity) {
  const struct {
    double qtd;
    double valor;
    double punit;  // in whole units, only used when qtd is 0
    std::int64_t iva;
    const char* expected;
  } cases[] = {
      {2.0, 3.0, 0.0, 23, "1.5"},
      {-2.0, 3.0, 0.0, 23, "1.5"},     // sign shows only in debit or credit
      {2.0, -3.0, 0.0, 23, "1.5"},
      {3.0, 10.0, 0.0, 23, "3.3333"},
      {0.0, 99.0, 12.3, 23, "10"},     // 12.3 / 1.23
      {0.0, 0.0, 12.3, 0, "12.3"},
      {0.0, 0.0, -10.6, 6, "10"},
      {0.0, 0.0, 1.0, 23, "0.813"},    // 0.81300813...
  };
  for (const auto& c : cases) {
    const Currency punit = Currency::FromFloat(c.punit);
    EXPECT_EQ(CurrText(LineUnitPrice(c.valor, c.qtd, punit, c.iva)), c.expected)
        << c.qtd << " " << c.valor << " " << c.punit << " " << c.iva;
  }
}

TEST(LineRules, UnitPriceWithoutDivisorRaises) {
  // A rate of -100 leaves nothing to divide the VAT-inclusive price by.
  EXPECT_THROW(LineUnitPrice(0.0, 0.0, Currency::FromInteger(5), -100), ConversionError);
}

}  // namespace
}  // namespace varnel
