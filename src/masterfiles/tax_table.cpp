// The TaxTable element of MasterFiles: one TaxTableEntry per VAT rate of the
// iva table, in rate order, each with the tax-region and tax-code rules'
// lines. The description is always the rate and "%" (the table's own text is
// not used). When the abort flag stops the loop the section takes the abort
// exit with the TaxTable left open at level 3; otherwise "</TaxTable>" closes
// it at level 2. The query is closed on both paths.
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/master_files.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"

namespace varnel {

namespace {

void WriteTaxTableEntry(XmlLineWriter& out, const PosQuery& q_iva, TaxRegion region) {
  const std::int64_t rate = q_iva.AsInteger("codigo");  // NULL reads as 0
  out.WriteBlock("TaxTableEntry", [&] {
    out.WriteLine("<TaxType>IVA</TaxType>");
    WriteTaxRegion(out, region);
    WriteTaxCode(out, rate);
    out.WriteElement("Description", IntText(rate) + "%");
    out.WriteElement("TaxPercentage", XmlEscape(q_iva.AsText("codigo")));  // NULL gives ""
  });
}

}  // namespace

void WriteTaxTable(SectionContext& context) {
  XmlLineWriter& out = context.writer();
  out.WriteBlock("TaxTable", [&] {
    PosQuery q_iva(context.database(), kQ_iva);
    q_iva.Open();
    while (!context.aborted() && !q_iva.Eof()) {
      WriteTaxTableEntry(out, q_iva, context.taxRegion());
      q_iva.Next();
    }
    q_iva.Close();
    // The abort exit leaves the TaxTable open at level 3 for the run's tail.
    if (context.aborted()) context.abortExit();
  });
}

}  // namespace varnel
