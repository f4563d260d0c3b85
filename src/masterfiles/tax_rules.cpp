// The tax-region and tax-code rules.
#include "masterfiles/tax_rules.h"

#include "base/xml_line_writer.h"

namespace varnel {

void WriteTaxRegion(XmlLineWriter& writer, int tax_region_index) {
  switch (tax_region_index) {
    case 0: writer.WriteLine("<TaxCountryRegion>PT</TaxCountryRegion>"); break;
    case 1: writer.WriteLine("<TaxCountryRegion>PT-MA</TaxCountryRegion>"); break;
    case 2: writer.WriteLine("<TaxCountryRegion>PT-AC</TaxCountryRegion>"); break;
    default: break;  // no region chosen: no line at all
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
