// The TaxTable element of MasterFiles: one TaxTableEntry per VAT rate of the
// iva table, in rate order, each with the tax-region and tax-code rules'
// lines. The description is always the rate and "%" (the table's own text is
// not used). When the abort flag stops the loop the TaxTable is left open at
// level 3 for the run's abort exit; otherwise "</TaxTable>" closes it at
// level 2. The query is closed on both paths.
#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/master_files.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

void WriteTaxTableEntry(XmlLineWriter& out, const PosQuery& q_iva, int tax_region_index) {
  const std::int64_t rate = q_iva.AsInteger("codigo");  // NULL reads as 0
  out.WriteLine("<TaxTableEntry>");
  out.Indent();
  out.WriteLine("<TaxType>IVA</TaxType>");
  WriteTaxRegion(out, tax_region_index);
  WriteTaxCode(out, rate);
  out.WriteElement("Description", IntText(rate) + "%");
  out.WriteElement("TaxPercentage", XmlEscape(q_iva.AsText("codigo")));  // NULL gives ""
  out.Outdent();
  out.WriteLine("</TaxTableEntry>");
}

}  // namespace

void WriteTaxTable(ExportRun& run) {
  XmlLineWriter& out = run.writer();
  out.WriteLine("<TaxTable>");
  out.Indent();

  PosQuery& q_iva = run.query("q_iva");
  q_iva.SetSql(kQ_iva);
  q_iva.Open();
  while (!run.aborted() && !q_iva.Eof()) {
    WriteTaxTableEntry(out, q_iva, run.request().taxCountryRegion);
    q_iva.Next();
  }
  q_iva.Close();
  if (run.aborted()) return;  // the run's abort exit writes the tail from level 3

  out.Outdent();
  out.WriteLine("</TaxTable>");
}

}  // namespace varnel
