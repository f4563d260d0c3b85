// The VAT split of what receipts settle. A settlement row names the receipt,
// the settled invoice or credit note and the amount settled, but not how it
// divides among VAT rates; these computations scale the settled document's
// per-rate sums by the settled share. Pure functions of the database: they
// open and close their own queries and write nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "export/currency.h"
#include "export/date_time.h"

namespace varnel {

class PosDatabase;
class PosQuery;

struct TIncidencia {
  std::int32_t Taxa = 0;  // VAT rate in whole percent
  Currency Incidencia;    // tax-exclusive amount settled at this rate
  Currency Total;         // VAT-inclusive amount settled at this rate
};
using TIncidencias = std::vector<TIncidencia>;

struct ReceiptTotals {
  Currency Credit;
  Currency Debit;
};

// Holds the prepared queries of the computations for the length of a run.
class ReceiptIncidenceCalculator {
 public:
  explicit ReceiptIncidenceCalculator(PosDatabase& database);
  ~ReceiptIncidenceCalculator();
  ReceiptIncidenceCalculator(const ReceiptIncidenceCalculator&) = delete;
  ReceiptIncidenceCalculator& operator=(const ReceiptIncidenceCalculator&) = delete;

  TIncidencias ReceiptIncidences(std::int32_t receipt_number);
  TIncidencias SettledDocumentIncidences(std::int32_t receipt_number, std::string_view document_code,
                                         std::int32_t document_number);
  ReceiptTotals ReceiptPeriodTotals(DateTime first_day, DateTime last_day);

  // Closes every query the calculator holds open (none between calls).
  void CloseAll();

 private:
  struct Queries;
  std::int64_t SettledShare(std::string_view document_code, std::int64_t document_number,
                            Currency settled);
  void AppendIncidences(TIncidencias& out, std::string_view document_code,
                        std::int64_t document_number, std::int64_t share);
  PosDatabase& m_database;
  std::unique_ptr<Queries> m_queries;
};

}  // namespace varnel
