// OrderReferences of a sale. The compensation query is ordered by doc,
// numero, data and ref, so a sale's rows stand together and in date order:
// one locate finds the first, and the rows are read until the sale changes.
// Rows are grouped by day; a day's references are joined by ";".
#include "sourcedocs/invoice_order_references.h"

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/pos_database.h"

namespace varnel {

std::vector<OrderReference> FindOrderReferences(PosQuery& q_comp, std::string_view doc,
                                                std::string_view trimmed_doc, std::int64_t numero) {
  std::vector<OrderReference> references;
  if (!q_comp.Locate("doc;numero", {LocateValue(std::string(doc)), LocateValue(numero)})) return references;

  DateTime group_date;
  std::string group_text;
  while (!q_comp.Eof() && q_comp.AsText("doc") == trimmed_doc && q_comp.AsInteger("numero") == numero) {
    const DateTime day = q_comp.AsDateTime("data").DatePart();
    if (day != group_date.DatePart()) {
      if (!group_text.empty()) references.push_back({XmlEscape(group_text), group_date});
      group_text.clear();
      group_date = day;
    }
    if (!group_text.empty()) group_text += ';';
    group_text += q_comp.AsText("ref") + " /" + q_comp.AsText("refnum");
    q_comp.Next();
  }
  // The last day's group. (A located row always starts a group; a row that
  // the locate matched but whose code differs in letter case or blanks
  // starts none, and an empty reference dated 1899 would be no reference.)
  if (!group_text.empty()) references.push_back({XmlEscape(group_text), group_date});
  return references;
}

void WriteOrderReferences(XmlLineWriter& out, const std::vector<OrderReference>& references) {
  for (const OrderReference& reference : references) {
    out.WriteBlock("OrderReferences", [&] {
      out.WriteElement("OriginatingON", reference.originating_on);
      out.WriteElement("OrderDate", DateText(reference.order_date));
    });
  }
}

}  // namespace varnel
