// The Supplier elements of MasterFiles: the fixed anonymous supplier
// (SupplierID 0), then one element per supplier record with a code above 0, in
// code order. The abort flag is tested before every record, the first
// included; the query is closed on both paths and the writer ends at level 2.
// Suppliers differ from customers on purpose: a blank taxpayer number gives
// 999999990, a blank name "Nao definido", and the town is escaped but not cut
// and defaults to "Desconhecido".
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/billing_address.h"
#include "masterfiles/master_files.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"

namespace varnel {

namespace {

// Like the final consumer, the anonymous supplier keeps its address lines at
// the level of "<BillingAddress>".
void WriteAnonymousSupplier(XmlLineWriter& out) {
  out.WriteBlock("Supplier", [&] {
    out.WriteLine("<SupplierID>0</SupplierID>");
    out.WriteLine("<AccountID>Desconhecido</AccountID>");
    out.WriteLine("<SupplierTaxID>999999990</SupplierTaxID>");
    out.WriteLine("<CompanyName>Fornecedor Desconhecido</CompanyName>");
    out.WriteLine("<BillingAddress>");
    out.WriteLine("<AddressDetail>Desconhecido</AddressDetail>");
    out.WriteLine("<City>Desconhecido</City>");
    out.WriteLine("<PostalCode>0000-000</PostalCode>");
    out.WriteLine("<Country>PT</Country>");
    out.WriteLine("</BillingAddress>");
    out.WriteLine("<SelfBillingIndicator>0</SelfBillingIndicator>");
  });
}

// A blank number stands for "no number": the anonymous one. Otherwise the
// number is cut, escaped and freed of its blanks (U+0020 only, so a tab
// stays), and written as typed, not checked.
std::string SupplierTaxId(const std::string& contribuinte, std::size_t length) {
  if (TrimBlanks(contribuinte).empty()) return "999999990";
  return RemoveSpaces(XmlText(contribuinte, length));
}

void WriteSupplierRecord(XmlLineWriter& out, const PosQuery& q_forn, const AuditFileRules& rules) {
  out.WriteBlock("Supplier", [&] {
    out.WriteElement("SupplierID", XmlEscape(q_forn.AsText("codigo")));
    out.WriteLine("<AccountID>Desconhecido</AccountID>");
    out.WriteElement("SupplierTaxID", SupplierTaxId(q_forn.AsText("contribuinte"), rules.tax_id_length));
    out.WriteElement("CompanyName", OrDefault(XmlText(q_forn.AsText("nome"), 50), "Nao definido"));
    // The town is escaped but not cut, unlike a customer's.
    WriteRecordAddress(out, OrDefault(XmlText(q_forn.AsText("morada"), rules.record_address_length), "Desconhecido"),
                       OrDefault(XmlEscape(q_forn.AsText("localidade")), "Desconhecido"), q_forn);
  });
}

}  // namespace

void WriteSuppliers(SectionContext& context) {
  XmlLineWriter& out = context.writer();
  WriteAnonymousSupplier(out);

  PosQuery q_forn(context.database(), kQ_forn);
  q_forn.Open();
  while (!context.aborted() && !q_forn.Eof()) {
    WriteSupplierRecord(out, q_forn, context.fileRules());
    q_forn.Next();
  }
  q_forn.Close();
}

}  // namespace varnel
