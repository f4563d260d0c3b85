// The arithmetic of the receipt VAT split with the numbers a settlement
// produces: each amount scaled by the amount settled over the document's
// total, exactly and rounded once, ties to even; the settled document of a
// row; and the payment tax codes.
#include <gtest/gtest.h>

#include <limits>

#include "base/errors.h"
#include "sourcedocs/payments.h"
#include "sourcedocs/receipt_incidences.h"

namespace varnel {
namespace {

using namespace incidence_arithmetic;

Currency Amount(std::int64_t raw) { return Currency::FromRaw(raw); }

TEST(ReceiptArithmetic, ScaledByTheAmountSettledOverTheTotal) {
  const struct {
    std::int64_t amount, settled, total, expected;
    const char* what;
  } cases[] = {
      {813000, 500000, 1000000, 406500, "81.30 at half of 100.00: 40.65"},
      {1000000, 500000, 1000000, 500000, "the whole rate at half: 50.00"},
      {243900, 100000, 300000, 81300, "24.39 at 10 of 30: 8.13, not 8.1292 of a share rounded first"},
      {1030000, 520000, 1030000, 520000, "52 of 103: 52, not 52.0047"},
      {837400, 520000, 1030000, 422765, "83.74 at 52 of 103: 42.276504... -> 42.2765"},
      {1, 1, 2, 0, "0.00005 -> 0, ties to even"},
      {3, 1, 2, 2, "0.00015 -> 0.0002"},
      {5, 1, 2, 2, "0.00025 -> 0.0002"},
      {-3, 1, 2, -2, "negative halves to even too"},
      {813000, -500000, 1000000, -406500, "a debit settles a negative part"},
      {813000, 500000, -1000000, -406500, "a negative total"},
      {-813000, -500000, -1000000, -406500, "every sign negative"},
      {813000, 500000, 0, 0, "no division by a zero total"},
      {9007199254740993, 3, 3, 9007199254740993, "beyond a double's 53 bits, exact"},
      {std::numeric_limits<std::int64_t>::max(), 7, 7, std::numeric_limits<std::int64_t>::max(),
       "the 128-bit product holds the largest amount"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Scaled(Amount(c.amount), Amount(c.settled), Amount(c.total)), Amount(c.expected)) << c.what;
  }
}

TEST(ReceiptArithmetic, ValuesBeyondSixtyFourBitsRaise) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_THROW(Scaled(Amount(kMax), Amount(2), Amount(1)), ConversionError);
  EXPECT_THROW(Scaled(Amount(kMax), Amount(kMax), Amount(-1)), ConversionError);
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
