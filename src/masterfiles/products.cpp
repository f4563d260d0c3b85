// The Product elements of MasterFiles, written for the "Normal" SAF-T type
// only: the fixed minimum-consumption product (ProductCode 0), then one element
// per row of the product query: every code sold in the period (with the
// product table's description and family where they exist, else the sale
// line's description and family 0) united with every code of the product
// table. Codes 0 and below and the withholding code -999 are never written.
// The abort flag is tested before every row; the query is closed on both paths.
#include "export/export_run.h"
#include "export/value_routines.h"
#include "export/xml_line_writer.h"
#include "masterfiles/master_files.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

void WriteMinimumConsumption(XmlLineWriter& out) {
  out.WriteLine("<Product>");
  out.Indent();
  out.WriteLine("<ProductType>P</ProductType>");
  out.WriteLine("<ProductCode>0</ProductCode>");
  out.WriteLine("<ProductGroup>0</ProductGroup>");
  out.WriteLine("<ProductDescription>Consumo Minimo</ProductDescription>");
  out.WriteLine("<ProductNumberCode>0</ProductNumberCode>");
  out.Outdent();
  out.WriteLine("</Product>");
}

void WriteProductRecord(XmlLineWriter& out, const PosQuery& q_prod) {
  const std::string code = XmlEscape(q_prod.AsText("codigo"));
  out.WriteLine("<Product>");
  out.Indent();
  out.WriteLine("<ProductType>P</ProductType>");
  out.WriteElement("ProductCode", code);
  // A NULL family gives an empty group; the description takes no default and
  // keeps its blanks.
  out.WriteElement("ProductGroup", XmlEscape(q_prod.AsText("familia")));
  out.WriteElement("ProductDescription", XmlText(q_prod.AsText("descricao"), 50));
  out.WriteElement("ProductNumberCode", code);
  out.Outdent();
  out.WriteLine("</Product>");
}

}  // namespace

void WriteProducts(ExportRun& run) {
  XmlLineWriter& out = run.writer();
  WriteMinimumConsumption(out);

  PosQuery& q_prod = run.query("q_prod");
  q_prod.SetSql(kQ_prod);
  q_prod.BindDateTime("datai", run.periodStart());
  q_prod.BindDateTime("dataf", run.periodEnd());
  q_prod.Open();
  while (!run.aborted() && !q_prod.Eof()) {
    WriteProductRecord(out, q_prod);
    q_prod.Next();
  }
  q_prod.Close();
}

}  // namespace varnel
