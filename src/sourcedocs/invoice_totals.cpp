// Invoice totals and withholding. A credit note's placeholder line is a
// credit of 0 and any other document's a debit of 0; its region is always
// PT, whatever region the lines use.
#include "sourcedocs/invoice_totals.h"

#include "sourcedocs/line_rules.h"

#include "base/date_time.h"
#include "base/xml_line_writer.h"
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

void WriteDocumentTotals(XmlLineWriter& out, const InvoiceDocument& document, const InvoiceSums& sums) {
  const DocumentTotalsValues values = ComputeDocumentTotals(document.total, sums, document.is_credit_note());
  out.WriteLine("<DocumentTotals>");
  out.Indent();
  out.WriteElement("TaxPayable", CurrText(values.tax_payable));
  out.WriteElement("NetTotal", CurrText(values.net_total));
  out.WriteElement("GrossTotal", CurrText(values.gross_total));
  out.Outdent();
  out.WriteLine("</DocumentTotals>");
  if (sums.withholding == Currency()) return;
  out.WriteLine("<WithholdingTax>");
  out.Indent();
  out.WriteLine("<WithholdingTaxType>IRS</WithholdingTaxType>");
  out.WriteElement("WithholdingTaxAmount", CurrText(-sums.withholding));
  out.Outdent();
  out.WriteLine("</WithholdingTax>");
}

void WritePlaceholderLine(XmlLineWriter& out, const InvoiceDocument& document) {
  // A credit note's placeholder carries a credit, any other document's a debit.
  WritePlaceholderLineAndTotals(out, DateText(document.data), document.is_credit_note());
}

}  // namespace varnel
