// Quantity and unit price of a document line, and the placeholder line. The unit
// price passes through long double exactly in the order the rule states
// (punit in ten-thousandths ÷ divisor ÷ 10000, then back to ten-thousandths).
#include "sourcedocs/line_rules.h"

#include <cmath>

#include "base/xml_line_writer.h"


namespace varnel {

Currency LineQuantity(double qtd) { return Currency::FromFloat(std::fabs(static_cast<long double>(qtd))); }

Currency LineUnitPrice(double valor, double qtd, Currency punit, std::int64_t iva) {
  if (qtd != 0.0) {
    const long double price = static_cast<long double>(valor) / static_cast<long double>(qtd);
    return Currency::FromFloat(std::fabs(price));
  }
  const long double divisor = (static_cast<long double>(iva) + 100.0L) / 100.0L;
  const long double price = static_cast<long double>(punit.raw()) / divisor / Currency::kScale;
  return Currency::FromFloat(std::fabs(price));
}

void WritePlaceholderLineAndTotals(XmlLineWriter& out, std::string_view tax_point_date, bool credit) {
  out.WriteLine("<Line>");
  out.Indent();
  out.WriteLine("<LineNumber>1</LineNumber>");
  out.WriteLine("<ProductCode>0</ProductCode>");
  out.WriteLine("<ProductDescription>?</ProductDescription>");
  out.WriteLine("<Quantity>1</Quantity>");
  out.WriteLine("<UnitOfMeasure>?</UnitOfMeasure>");
  out.WriteLine("<UnitPrice>0</UnitPrice>");
  out.WriteElement("TaxPointDate", tax_point_date);
  out.WriteLine("<Description>?</Description>");
  out.WriteLine(credit ? "<CreditAmount>0</CreditAmount>" : "<DebitAmount>0</DebitAmount>");
  out.WriteLine("<Tax>");
  out.Indent();
  out.WriteLine("<TaxType>IVA</TaxType>");
  out.WriteLine("<TaxCountryRegion>PT</TaxCountryRegion>");
  out.WriteLine("<TaxCode>ISE</TaxCode>");
  out.WriteLine("<TaxPercentage>0</TaxPercentage>");
  out.Outdent();
  out.WriteLine("</Tax>");
  out.Outdent();
  out.WriteLine("</Line>");
  out.WriteLine("<DocumentTotals>");
  out.Indent();
  out.WriteLine("<TaxPayable>0</TaxPayable>");
  out.WriteLine("<NetTotal>0</NetTotal>");
  out.WriteLine("<GrossTotal>0</GrossTotal>");
  out.Outdent();
  out.WriteLine("</DocumentTotals>");
}

}  // namespace varnel
