// The table consultations that a sale was made from, as the OrderReferences
// elements of its lines: one element per compensation day, listing every
// consultation linked that day ("CM /57;CM /58"), in date order. The
// compensation query stays open for the whole section; a document's rows are
// found with the query's indexed locate, so no search scans the query.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"

namespace varnel {

class PosQuery;
class XmlLineWriter;

struct OrderReference {
  std::string originating_on;  // escaped, ready to write
  DateTime order_date;         // the compensation day
};

// The elements for the sale doc/numero (doc as read from the line row; the
// rows must carry trimmed_doc). Empty when the query holds no row for it.
// Moves the compensation query's cursor.
std::vector<OrderReference> FindOrderReferences(PosQuery& q_comp, std::string_view doc,
                                                std::string_view trimmed_doc, std::int64_t numero);

// Five lines per element at the writer's level.
void WriteOrderReferences(XmlLineWriter& out, const std::vector<OrderReference>& references);

}  // namespace varnel
