// The Line elements of one Invoice from the sale lines in vendas: order
// references, product, quantity and unit price, the amount as a debit or a
// credit by its sign, the tax, the exemption reason and the discount.
// Withholding lines (product code -999) are summed, never written. The sums
// add for sales and subtract for credit notes.
#pragma once

#include <cstdint>

#include "base/currency.h"

namespace varnel {

class ExportRun;
class ExemptionReasons;
struct InvoiceDocument;
struct InvoiceSums;

// Opens the line query for the document and writes its lines at the
// writer's level (one inside "<Invoice>"), adding to sums. Returns false
// when the document has no line row at all (the caller writes the
// placeholder line). Takes the abort exit when the abort flag stops the
// line loop. The line query is left open for the caller to close.
bool WriteInvoiceLines(ExportRun& run, const InvoiceDocument& document, ExemptionReasons& exemptions,
                       InvoiceSums& sums);

}  // namespace varnel
