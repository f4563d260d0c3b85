// The tax-region and tax-code rules.
#include "masterfiles/tax_rules.h"

#include "base/xml_line_writer.h"

namespace varnel {

void WriteTaxRegion(XmlLineWriter& writer, TaxRegion region) {
  switch (region) {
    case TaxRegion::Continente: writer.WriteLine("<TaxCountryRegion>PT</TaxCountryRegion>"); break;
    case TaxRegion::Madeira: writer.WriteLine("<TaxCountryRegion>PT-MA</TaxCountryRegion>"); break;
    case TaxRegion::Acores: writer.WriteLine("<TaxCountryRegion>PT-AC</TaxCountryRegion>"); break;
    case TaxRegion::NothingChosen: break;  // no line at all
  }
}

std::string_view TaxCodeOf(std::int64_t rate) {
  if (rate == 0) return "ISE";
  if (rate < 10) return "RED";
  if (rate < 16) return "INT";
  return "NOR";
}

void WriteTaxCode(XmlLineWriter& writer, std::int64_t rate) { writer.WriteElement("TaxCode", TaxCodeOf(rate)); }

}  // namespace varnel
