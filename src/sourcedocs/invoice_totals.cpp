// Invoice totals and withholding. A credit note's placeholder line is a
// credit of 0 and any other document's a debit of 0; its region is always
// PT, whatever region the lines use.
#include "sourcedocs/invoice_totals.h"

#include "base/date_time.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "sourcedocs/document_line.h"
#include "sourcedocs/invoice_document.h"

namespace varnel {

DocumentTotalsValues ComputeDocumentTotals(Currency total, const InvoiceSums& sums, bool credit_note) {
  const Currency signed_total = credit_note ? -total : total;
  DocumentTotalsValues values;
  values.tax_payable = Round2(signed_total - sums.withholding - sums.net);
  values.net_total = sums.net;
  values.gross_total = Round2(signed_total - sums.withholding);
  return values;
}

void WriteInvoiceTotals(XmlLineWriter& out, const InvoiceDocument& document, const InvoiceSums& sums) {
  const DocumentTotalsValues values = ComputeDocumentTotals(document.total, sums, document.is_credit_note());
  WriteDocumentTotals(out, values.tax_payable, values.net_total, values.gross_total);
  if (sums.withholding == Currency()) return;
  out.WriteBlock("WithholdingTax", [&] {
    out.WriteLine("<WithholdingTaxType>IRS</WithholdingTaxType>");
    out.WriteElement("WithholdingTaxAmount", CurrText(-sums.withholding));
  });
}

void WritePlaceholderLine(XmlLineWriter& out, const InvoiceDocument& document, const AuditFileRules& rules) {
  // A credit note's placeholder carries a credit, any other document's a debit.
  WritePlaceholderLineAndTotals(out, DateText(document.data),
                                document.is_credit_note() ? AmountSide::Credit : AmountSide::Debit, rules);
}

}  // namespace varnel
