// The Customer elements of MasterFiles: the fixed final consumer (CustomerID
// 1), then one element per customer record with a code above 1, in code
// order. The abort flag is tested before every record, the first included;
// the query is closed on both paths and the writer ends at level 2. Every text
// read from the database is cut where the schema limits it, escaped, and only
// then defaulted, so a value made of blanks takes its default.
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/billing_address.h"
#include "masterfiles/master_files.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"

namespace varnel {

namespace {

// The final consumer keeps its address lines at the level of
// "<BillingAddress>" itself, as the point-of-sale product always wrote it.
void WriteFinalConsumer(XmlLineWriter& out) {
  out.WriteBlock("Customer", [&] {
    out.WriteLine("<CustomerID>1</CustomerID>");
    out.WriteLine("<AccountID>Desconhecido</AccountID>");
    out.WriteLine("<CustomerTaxID>999999990</CustomerTaxID>");
    out.WriteLine("<CompanyName>Consumidor final</CompanyName>");
    out.WriteLine("<BillingAddress>");
    out.WriteLine("<AddressDetail>Desconhecido</AddressDetail>");
    out.WriteLine("<City>Desconhecido</City>");
    out.WriteLine("<PostalCode>0000-000</PostalCode>");
    out.WriteLine("<Country>PT</Country>");
    out.WriteLine("</BillingAddress>");
    out.WriteLine("<SelfBillingIndicator>0</SelfBillingIndicator>");
  });
}

void WriteCustomerRecord(XmlLineWriter& out, const PosQuery& q_cli, const AuditFileRules& rules) {
  out.WriteBlock("Customer", [&] {
    out.WriteElement("CustomerID", XmlEscape(q_cli.AsText("codigo")));
    out.WriteLine("<AccountID>Desconhecido</AccountID>");
    // Escaped first, blanks removed after, defaulted last: a number of blanks
    // only becomes "Desconhecido". The number is written as typed, not checked.
    out.WriteElement("CustomerTaxID",
                     OrDefault(RemoveSpaces(XmlText(q_cli.AsText("contribuinte"), rules.tax_id_length)), "Desconhecido"));
    out.WriteElement("CompanyName", OrDefault(XmlText(q_cli.AsText("nome"), 50), "Consumidor final"));
    WriteRecordAddress(out, OrDefault(XmlText(q_cli.AsText("morada"), rules.record_address_length), "Desconhecido"),
                       OrDefault(XmlText(q_cli.AsText("localidade"), 50), "?"), q_cli);
  });
}

}  // namespace

void WriteCustomers(SectionContext& context) {
  XmlLineWriter& out = context.writer();
  WriteFinalConsumer(out);

  PosQuery q_cli(context.database(), kQ_cli);
  q_cli.Open();
  while (!context.aborted() && !q_cli.Eof()) {
    WriteCustomerRecord(out, q_cli, context.fileRules());
    q_cli.Next();
  }
  q_cli.Close();
}

}  // namespace varnel
