// BillingAddress and SelfBillingIndicator of customer and supplier records.
#include "masterfiles/billing_address.h"

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/pos_database.h"

namespace varnel {

void WriteRecordAddress(XmlLineWriter& out, std::string_view address_detail, std::string_view city,
                        const PosQuery& row) {
  out.WriteBlock("BillingAddress", [&] {
    out.WriteElement("AddressDetail", address_detail);
    out.WriteElement("City", city);
    // A part that passes its rule holds only characters of an integer reading;
    // escaping it changes nothing and keeps the line safe all the same.
    out.WriteElement("PostalCode", XmlEscape(PostalCode4(row.AsText("codpostal"))) + "-" +
                                       XmlEscape(PostalCode3(row.AsText("codpostal1"))));
    out.WriteLine("<Country>PT</Country>");
  });
  out.WriteLine("<SelfBillingIndicator>0</SelfBillingIndicator>");
}

}  // namespace varnel
