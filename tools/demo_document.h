// The documents of the demo period as the generator holds them before they
// are written: a sale line, the party a document names and a document with
// its lines, plus the few rules of amounts and payment the parts share.
// Amounts are whole cents (VAT included) or ten-thousandths (VAT excluded);
// they become floating point only when a row is bound, and every rounding
// halves away from zero.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/demo_random.h"

namespace varnel::demo {

inline constexpr int kPaymentOnCredit = 5;
inline constexpr int kPaymentLeftOut = 6;  // internal consumption: the exporter leaves it out

// numerator / denominator (denominator > 0), halves away from zero.
inline std::int64_t DivideRounded(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  std::int64_t remainder = numerator % denominator;
  if (2 * std::llabs(remainder) >= denominator) quotient += numerator < 0 ? -1 : 1;
  return quotient;
}

inline double FromCents(std::int64_t cents) { return static_cast<double>(cents) / 100.0; }
inline double FromTenThousandths(std::int64_t raw) { return static_cast<double>(raw) / 10000.0; }

struct SaleLine {
  int product = 0;
  std::string description;
  std::int64_t quantity_milli = 1000;  // thousandths
  std::int64_t unit_cents = 0;         // VAT included
  int vat = 0;
  std::int64_t discount_cents = 0;
  std::int64_t total_cents = 0;        // VAT included, after the discount
  std::int64_t net_raw = 0;            // ten-thousandths, VAT excluded
  std::string line_exemption;          // stored on the line (may be empty)
  std::string exemption;               // the line's or else its product's code
};

struct Party {
  std::int64_t customer = 0;
  std::optional<std::string> name;
  std::optional<std::string> address;
  std::optional<std::string> taxpayer;
};

struct Document {
  std::string code;
  std::int64_t number = 0;
  std::int64_t day = 0;
  int second = 0;
  Party party;
  std::vector<SaleLine> lines;
  bool annulled = false;
  int payment = 1;
  std::int64_t total_cents = 0;  // line totals, withholding included
  std::int64_t net_raw = 0;      // tax-exclusive amounts, withholding excluded
  bool has_withholding = false;
  // For receipts, which carry no lines: their amounts are set directly.
  std::optional<std::int64_t> receipt_total_cents;
  std::optional<std::int64_t> receipt_net_raw;
};

inline Document NewDocument(std::string code) {
  Document document;
  document.code = std::move(code);
  return document;
}

// How a document is paid: 1 cash, 2 debit card, 3 credit card, 4 cheque.
inline int PickPayment(DemoRandom& random) {
  static constexpr int kWeights[] = {45, 35, 15, 5};
  return static_cast<int>(random.Weighted(kWeights)) + 1;
}

}  // namespace varnel::demo
