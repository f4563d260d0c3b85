// The end of every Invoice: DocumentTotals from the stored total and the
// sums of the lines, WithholdingTax when there was withholding, or for a
// document without line rows the placeholder line with zero totals.
#pragma once

#include "base/currency.h"
#include "section/audit_file_rules.h"

namespace varnel {

class XmlLineWriter;
struct InvoiceDocument;
struct InvoiceSums;

struct DocumentTotalsValues {
  Currency tax_payable;  // whole cents
  Currency net_total;    // as summed, up to four decimals
  Currency gross_total;  // whole cents
};

// T total, N net, W withholding. Sales: T - N - W, N, T - W; credit notes,
// whose lines, withholding and total carry the opposite signs:
// -T - W - N, N, -T - W. Exact arithmetic, whole cents (halves away from
// zero) applied once to the final tax and gross values.
DocumentTotalsValues ComputeDocumentTotals(Currency total, const InvoiceSums& sums, bool credit_note);

// DocumentTotals, then WithholdingTax when the withholding sum is not 0.
void WriteInvoiceTotals(XmlLineWriter& out, const InvoiceDocument& document, const InvoiceSums& sums);

// The Line and DocumentTotals of a document without line rows.
void WritePlaceholderLine(XmlLineWriter& out, const InvoiceDocument& document, const AuditFileRules& rules);

}  // namespace varnel
