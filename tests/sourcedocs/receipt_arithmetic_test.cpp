// The arithmetic of the receipt VAT split with the numbers a settlement
// produces: the settled share as a quotient first, scaled amounts and the
// running-total rounding, all ties to even; and the payment tax codes.
#include <gtest/gtest.h>

#include <limits>

#include "base/errors.h"
#include "sourcedocs/payments.h"
#include "sourcedocs/receipt_incidences.h"

namespace varnel {
namespace {

using namespace incidence_arithmetic;

Currency Amount(std::int64_t raw) { return Currency::FromRaw(raw); }

TEST(ReceiptArithmetic, SettledShare) {
  EXPECT_EQ(SettledShare(Amount(500000), Amount(1000000)), 5000);   // 50.00 of 100.00
  EXPECT_EQ(SettledShare(Amount(100000), Amount(300000)), 3333);    // 10.00 of 30.00
  EXPECT_EQ(SettledShare(Amount(200000), Amount(300000)), 6667);
  EXPECT_EQ(SettledShare(Amount(-100000), Amount(300000)), -3333);  // a debit settles a negative share
  EXPECT_EQ(SettledShare(Amount(300000), Amount(300000)), 10000);
  EXPECT_EQ(SettledShare(Amount(100000), Amount(0)), 0);            // no division by a zero total
  // 1 of 8 is 1250 exactly; 1 of 160000 is 0.0625 units of share -> 0.
  EXPECT_EQ(SettledShare(Amount(1), Amount(8)), 1250);
  EXPECT_EQ(SettledShare(Amount(1), Amount(160000)), 0);
}

TEST(ReceiptArithmetic, ScaledAmounts) {
  EXPECT_EQ(Scaled(Amount(813000), 5000), Amount(406500));   // 81.30 -> 40.65
  EXPECT_EQ(Scaled(Amount(1000000), 5000), Amount(500000));  // 100.00 -> 50.00
  EXPECT_EQ(Scaled(Amount(243900), 3333), Amount(81292));    // 24.39 -> 8.1292 (8.129187)
  EXPECT_EQ(Scaled(Amount(1), 5000), Amount(0));             // 0.00005 -> 0, ties to even
  EXPECT_EQ(Scaled(Amount(3), 5000), Amount(2));             // 0.00015 -> 0.0002
  EXPECT_EQ(Scaled(Amount(-3), 5000), Amount(-2));
  EXPECT_EQ(Scaled(Amount(813000), 0), Amount(0));
  EXPECT_EQ(Scaled(Amount(-813000), 5000), Amount(-406500));
}

TEST(ReceiptArithmetic, RunningTotalIsRoundedAsAWhole) {
  // The half unit of the product is rounded together with the running total.
}

TEST(ReceiptArithmetic, ValuesBeyondSixtyFourBitsRaise) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_THROW(SettledShare(Amount(kMax), Amount(1)), ConversionError);
  EXPECT_THROW(Scaled(Amount(kMax), 20000), ConversionError);
}

TEST(ReceiptArithmetic, SettledDocumentOfARow) {
  EXPECT_EQ(SettledDocumentOf(12, 0).code, "FA");
  EXPECT_EQ(SettledDocumentOf(12, 0).number, 12);
  EXPECT_EQ(SettledDocumentOf(0, 3).code, "NC");
  EXPECT_EQ(SettledDocumentOf(0, 3).number, 3);
  EXPECT_EQ(SettledDocumentOf(12, 3).code, "FA");  // both named: the invoice
  EXPECT_EQ(SettledDocumentOf(12, 3).number, 12);
  EXPECT_EQ(SettledDocumentOf(-1, 3).code, "NC");
}

TEST(ReceiptArithmetic, PaymentTaxCodes) {
  const struct {
    std::int64_t rate;
    const char* code;
  } cases[] = {{0, "ISE"},  {1, "RED"},  {6, "RED"},  {10, "RED"}, {11, "INT"}, {13, "INT"}, {15, "INT"},
               {16, "NOR"}, {23, "NOR"}, {25, "NOR"}, {26, "OUT"}, {30, "OUT"}, {-1, "OUT"}};
  for (const auto& c : cases) EXPECT_STREQ(PaymentTaxCode(c.rate), c.code) << c.rate;
}

}  // namespace
}  // namespace varnel
