// The Line elements of one Invoice from the sale lines in vendas: order
// references, product, quantity and unit price, the amount as a debit or a
// credit by its sign, the tax, the exemption reason and the discount.
// Withholding lines (product code -999) are summed, never written. The sums
// add for sales and subtract for credit notes. The line query q_ven belongs
// to this object: prepared once per run, re-run and closed per document.
#pragma once

#include <cstdint>

#include "base/currency.h"
#include "posdb/pos_database.h"

namespace varnel {

class ExemptionReasons;
class SectionContext;
struct InvoiceDocument;
struct InvoiceSums;

class InvoiceLines {
 public:
  explicit InvoiceLines(SectionContext& context);

  // Writes the document's lines at the writer's level (one inside
  // "<Invoice>"), adding to sums; the order references come from q_comp,
  // the section's open compensation query. Returns false when the document
  // has no line row at all (the caller writes the placeholder line). Takes
  // the abort exit when the abort flag stops the line loop.
  bool Write(const InvoiceDocument& document, PosQuery& q_comp, ExemptionReasons& exemptions, InvoiceSums& sums);

 private:
  void WriteRows(const InvoiceDocument& document, PosQuery& q_comp, ExemptionReasons& exemptions,
                 InvoiceSums& sums);

  SectionContext& m_context;
  PosQuery m_q_ven;
};

}  // namespace varnel
