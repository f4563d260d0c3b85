// The one Line writer, the DocumentTotals block and the customer reference.
#include "sourcedocs/document_line.h"

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/tax_rules.h"

namespace varnel {

namespace {

void WriteProduct(XmlLineWriter& out, const LineProduct& product) {
  out.WriteElement("ProductCode", product.code);
  out.WriteElement("ProductDescription", product.description);
  out.WriteElement("Quantity", CurrText(product.quantity));
  out.WriteElement("UnitOfMeasure", product.unit_of_measure);
  out.WriteElement("UnitPrice", CurrText(product.unit_price));
  out.WriteElement("TaxPointDate", product.tax_point_date);
  out.WriteElement("Description", product.description);
}

// Debit or credit by the amount's sign, whatever the document type.
void WriteAmount(XmlLineWriter& out, Currency amount, AmountSide side, LineSums& sums) {
  const bool debit = side == AmountSide::Debit || (side == AmountSide::BySign && amount < Currency());
  if (side == AmountSide::BySign && debit) amount = -amount;
  out.WriteElement(debit ? "DebitAmount" : "CreditAmount", CurrText(amount));
  (debit ? sums.debit : sums.credit) += amount;
}

void WriteTax(XmlLineWriter& out, const LineTax& tax) {
  out.WriteBlock("Tax", [&] {
    out.WriteLine("<TaxType>IVA</TaxType>");
    WriteTaxRegion(out, tax.region);
    out.WriteElement("TaxCode", tax.code);
    out.WriteElement("TaxPercentage", tax.percentage);
  });
}

}  // namespace

void WriteDocumentLine(XmlLineWriter& out, const DocumentLine& line, LineSums& sums) {
  out.WriteBlock("Line", [&] {
    out.WriteElement("LineNumber", IntText(line.number));
    if (line.order_references) WriteOrderReferences(out, *line.order_references);
    if (line.source_document) {
      out.WriteBlock("SourceDocumentID", [&] {
        out.WriteElement("OriginatingON", line.source_document->originating_on);
        out.WriteElement("InvoiceDate", line.source_document->invoice_date);
      });
    }
    if (line.product) WriteProduct(out, *line.product);
    WriteAmount(out, line.amount, line.side, sums);
    if (line.tax) WriteTax(out, *line.tax);
    if (line.exemption_reason) out.WriteElement("TaxExemptionReason", *line.exemption_reason);
    if (line.exemption_code) out.WriteElement("TaxExemptionCode", *line.exemption_code);
    if (line.settlement != Currency()) out.WriteElement("SettlementAmount", CurrText(Round2(line.settlement.Abs())));
  });
}

void WriteDocumentTotals(XmlLineWriter& out, Currency tax_payable, Currency net_total, Currency gross_total) {
  out.WriteBlock("DocumentTotals", [&] {
    out.WriteElement("TaxPayable", CurrText(tax_payable));
    out.WriteElement("NetTotal", CurrText(net_total));
    out.WriteElement("GrossTotal", CurrText(gross_total));
  });
}

void WritePlaceholderLineAndTotals(XmlLineWriter& out, std::string_view tax_point_date, AmountSide side,
                                   const AuditFileRules& rules) {
  DocumentLine line;
  line.number = 1;
  line.product = LineProduct{"0", DescriptionText(rules, "?", 50), Currency::FromInteger(1), "?", Currency(),
                             std::string(tax_point_date)};
  line.side = side;
  line.tax = LineTax{TaxRegion::Continente, TaxCodeOf(0), "0"};
  if (rules.exemption_code) {
    line.exemption_reason = XmlEscape(kNotTaxedReason);
    line.exemption_code = "M99";
  }
  LineSums zero;
  WriteDocumentLine(out, line, zero);
  WriteDocumentTotals(out, Currency(), Currency(), Currency());
}

std::string CustomerReference(std::int64_t customer_code, std::string_view customer_text) {
  if (customer_code >= 1) return XmlEscape(customer_text);
  return "1";
}

}  // namespace varnel
