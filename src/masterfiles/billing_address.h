// The part a customer record and a supplier record share: their
// BillingAddress with its lines one level in, and the SelfBillingIndicator
// after it. The address detail and town come in already cut, escaped and
// defaulted (their rules differ between customers and suppliers); the postal
// code is built here from the row's two parts.
#pragma once

#include <string_view>

namespace varnel {

class PosQuery;
class XmlLineWriter;

void WriteRecordAddress(XmlLineWriter& out, std::string_view address_detail, std::string_view city,
                        const PosQuery& row);

}  // namespace varnel
