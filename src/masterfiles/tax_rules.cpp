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

void WriteTaxCode(XmlLineWriter& writer, std::int64_t rate) {
  if (rate == 0) {
    writer.WriteLine("<TaxCode>ISE</TaxCode>");
  } else if (rate < 10) {
    writer.WriteLine("<TaxCode>RED</TaxCode>");
  } else if (rate < 16) {
    writer.WriteLine("<TaxCode>INT</TaxCode>");
  } else {
    writer.WriteLine("<TaxCode>NOR</TaxCode>");
  }
}

}  // namespace varnel
