// The VAT split of what receipts settle. A settlement row names the receipt,
// the settled invoice or credit note and the amount settled, but not how it
// divides among VAT rates; these computations scale the settled document's
// per-rate sums by the part of the document's total that the receipt
// settles, exactly: each amount × settled ÷ total in integer arithmetic,
// rounded once to the ten-thousandth (ties to even). When the document's
// per-rate totals add up to its stored total, the last rate takes what the
// rounding left over, so the document's incidences add up to the amount
// settled to the last ten-thousandth. Pure functions of the database: every
// query is opened and closed within one call, nothing is written and
// nothing is kept between calls; a value that does not fit 64 bits raises.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/date_time.h"

namespace varnel {

class PosDatabase;
class PosQuery;

struct TIncidencia {
  std::int32_t Taxa = 0;  // VAT rate in whole percent
  Currency Incidencia;    // tax-exclusive amount settled at this rate
  Currency Total;         // VAT-inclusive amount settled at this rate
};
// In the order the elements were appended; not sorted, not merged (two
// elements may carry the same rate).
using TIncidencias = std::vector<TIncidencia>;

// The document a settlement row settles: the invoice when FA is above 0,
// otherwise the credit note (a row naming both is taken as the invoice).
struct SettledDocument {
  std::string code;  // "FA" or "NC"
  std::int64_t number = 0;
};
SettledDocument SettledDocumentOf(std::int64_t fa, std::int64_t nc);

// The arithmetic of the split, in units of 0.0001.
namespace incidence_arithmetic {
// amount × settled ÷ document_total with a 128-bit product, rounded to the
// nearest ten-thousandth, ties to even; 0 when document_total is 0 (no
// division is made). Raises ConversionError when the result does not fit.
Currency Scaled(Currency amount, Currency settled, Currency document_total);
}  // namespace incidence_arithmetic

// Holds the prepared queries of the three computations, so each statement is
// prepared once per run; no query stays open between calls, and destroying
// the calculator closes whatever an error left open.
class ReceiptIncidenceCalculator {
 public:
  explicit ReceiptIncidenceCalculator(PosDatabase& database);
  ~ReceiptIncidenceCalculator();
  ReceiptIncidenceCalculator(const ReceiptIncidenceCalculator&) = delete;
  ReceiptIncidenceCalculator& operator=(const ReceiptIncidenceCalculator&) = delete;

  // The incidences of every document the receipt settles, settlement row by
  // settlement row (empty when it has none).
  TIncidencias ReceiptIncidences(std::int64_t receipt_number);
  // The incidences of one document settled by the receipt; the amount
  // settled is looked up by FA for the code "FA" and by NC otherwise.
  TIncidencias SettledDocumentIncidences(std::int64_t receipt_number, std::string_view document_code,
                                         std::int64_t document_number);

 private:
  struct Queries;
  Currency DocumentTotal(std::string_view document_code, std::int64_t document_number);
  void AppendIncidences(TIncidencias& out, std::string_view document_code, std::int64_t document_number,
                        Currency settled, Currency document_total);

  std::unique_ptr<Queries> m_queries;
};

}  // namespace varnel
