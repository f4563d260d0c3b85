// The WorkingDocuments section: the table-consultation documents ("CM") of
// the period, one WorkDocument of type "DC" each, with every sale line (the
// -999 lines included), their exemption reasons and the document totals as
// stored, signs unchanged. The section is always written; with no
// consultation it holds only its control totals.
//
// The consultation query (q_consultas, the variant of the run's schema
// generation, streamed) is opened by the sales invoices' opening and read
// here from its first row to its last; the section opens it itself when the
// sales section did not. Every text read from the database is escaped.
#include <string>

#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "sourcedocs/document_numbering.h"
#include "sourcedocs/exemption_reasons.h"
#include "sourcedocs/line_rules.h"
#include "sourcedocs/source_documents.h"

namespace varnel::working_documents {

namespace {

// The consultation query of the run's generation, bound to the period and
// streamed; not opened.
PosQuery& PrepareDocumentQuery(ExportRun& run) {
  PosQuery& q_consultas = run.query("q_consultas");
  q_consultas.SetSql(run.generation() == SchemaGeneration::Current ? kQ_consultas_new : kQ_consultas_old);
  q_consultas.SetForwardOnly(true);
  q_consultas.BindDateTime("datai", run.periodStart());
  q_consultas.BindDateTime("dataf", run.periodEnd());
  return q_consultas;
}

// CustomerID: the customer when its code is 1 or more, otherwise the final
// consumer 1.
std::string CustomerId(const PosQuery& document) {
  if (document.AsInteger("cliente") >= 1) return XmlEscape(document.AsText("cliente"));
  return "1";
}

void WriteControlTotals(ExportRun& run, PosQuery& q_consultas) {
  PosQuery& q_totcm = run.query("q_totcm");
  q_totcm.SetSql(kQ_totcm);
  q_totcm.BindDateTime("datai", run.periodStart());
  q_totcm.BindDateTime("dataf", run.periodEnd());
  q_totcm.Open();
  Currency total_credit;
  Currency total_debit;
  if (q_totcm.Locate("tipo", {LocateValue(std::string("CRE"))})) total_credit = q_totcm.AsCurrency("valor");
  if (q_totcm.Locate("tipo", {LocateValue(std::string("DEB"))})) total_debit = q_totcm.AsCurrency("valor");
  q_totcm.Close();

  XmlLineWriter& out = run.writer();
  out.WriteElement("NumberOfEntries", IntText(q_consultas.RowCount()));
  out.WriteElement("TotalDebit", CurrText(total_debit));
  out.WriteElement("TotalCredit", CurrText(total_credit));
}

void WriteHeader(ExportRun& run, const PosQuery& document) {
  XmlLineWriter& out = run.writer();
  const ExportRequest& request = run.request();
  const std::string signed_number = document.AsText("saftsign");
  const DateTime data = document.AsDateTime("data");
  const std::string entry_date = DateTimeText(document.AsDateTime("datahora"));
  const std::string source_id = XmlEscape(document.AsText("emp"));

  out.WriteLine("<WorkDocument>");
  out.Indent();
  out.WriteElement("DocumentNumber",
                   XmlEscape(DocumentNumber(signed_number, "CM", request.fserienum, document.AsInteger("numero"))));
  out.WriteLine("<DocumentStatus>");
  out.Indent();
  out.WriteLine(document.AsBoolean("anulado") ? "<WorkStatus>A</WorkStatus>" : "<WorkStatus>N</WorkStatus>");
  out.WriteElement("WorkStatusDate", entry_date);
  out.WriteElement("SourceID", source_id);
  out.WriteLine("<SourceBilling>P</SourceBilling>");
  out.Outdent();
  out.WriteLine("</DocumentStatus>");
  WriteSignature(out, run.generation(), signed_number, request.fserienum, document.AsText("hash"),
                 document.AsText("hashcontrol"));
  out.WriteElement("Period", IntText(data.Month()));
  out.WriteElement("WorkDate", DateText(data));
  out.WriteLine("<WorkType>DC</WorkType>");
  out.WriteElement("SourceID", source_id);
  out.WriteElement("SystemEntryDate", entry_date);
  out.WriteElement("CustomerID", CustomerId(document));
}

// One Line for the current row of q_venCM; returns its signed amount.
Currency WriteLine(ExportRun& run, const PosQuery& line, int line_number, const std::string& tax_point_date,
                   ExemptionReasons& exemptions) {
  XmlLineWriter& out = run.writer();
  const double qtd = line.AsFloat("qtd");
  const Currency valor = line.AsCurrency("valor");
  const std::int64_t iva = line.AsInteger("iva");
  const std::string description = XmlText(line.AsText("descricao"), 50);

  out.WriteLine("<Line>");
  out.Indent();
  out.WriteElement("LineNumber", IntText(line_number));
  out.WriteElement("ProductCode", XmlEscape(line.AsText("codigo")));
  out.WriteElement("ProductDescription", description);
  out.WriteElement("Quantity", CurrText(LineQuantity(qtd)));
  out.WriteElement("UnitOfMeasure", XmlEscape(line.AsText("unidade")));
  out.WriteElement("UnitPrice", CurrText(LineUnitPrice(line.AsFloat("valor"), qtd, line.AsCurrency("punit"), iva)));
  out.WriteElement("TaxPointDate", tax_point_date);
  out.WriteElement("Description", description);
  if (valor < Currency()) {
    out.WriteElement("DebitAmount", CurrText(-valor));
  } else {
    out.WriteElement("CreditAmount", CurrText(valor));
  }
  out.WriteLine("<Tax>");
  out.Indent();
  out.WriteLine("<TaxType>IVA</TaxType>");
  WriteTaxRegion(out, run.request().taxCountryRegion);
  WriteTaxCode(out, iva);
  out.WriteElement("TaxPercentage", XmlEscape(line.AsText("iva")));
  out.Outdent();
  out.WriteLine("</Tax>");
  if (iva == 0) {
    out.WriteElement("TaxExemptionReason", exemptions.Reason(line.AsText("isencao"), line.AsInteger("codigo")));
  }
  const Currency desconto = line.AsCurrency("desconto");
  if (desconto != Currency()) out.WriteElement("SettlementAmount", CurrText(Round2(desconto.Abs())));
  out.Outdent();
  out.WriteLine("</Line>");
  return valor;
}

void WriteTotals(XmlLineWriter& out, Currency total, Currency net_sum) {
  out.WriteLine("<DocumentTotals>");
  out.Indent();
  out.WriteElement("TaxPayable", CurrText(Round2(total - net_sum)));
  out.WriteElement("NetTotal", CurrText(net_sum));
  out.WriteElement("GrossTotal", CurrText(Round2(total)));
  out.Outdent();
  out.WriteLine("</DocumentTotals>");
}

// One WorkDocument, from "<WorkDocument>" to "</WorkDocument>". The line loop
// stops at the abort flag; the totals and the closing tag are still written.
void WriteWorkDocument(ExportRun& run, const PosQuery& document, ExemptionReasons& exemptions) {
  XmlLineWriter& out = run.writer();
  WriteHeader(run, document);

  const std::string tax_point_date = DateText(document.AsDateTime("data"));
  PosQuery& q_venCM = run.query("q_venCM");
  q_venCM.SetSql(kQ_venCM);
  q_venCM.BindText("doc", document.AsText("doc"));
  q_venCM.BindInteger("numero", document.AsInteger("numero"));
  q_venCM.Open();
  if (q_venCM.IsEmpty()) {
    WritePlaceholderLineAndTotals(out, tax_point_date, true);  // always a credit here
  } else {
    Currency net_sum;
    int line_number = 0;
    for (; !run.aborted() && !q_venCM.Eof(); q_venCM.Next()) {
      net_sum += WriteLine(run, q_venCM, ++line_number, tax_point_date, exemptions);
    }
    WriteTotals(out, document.AsCurrency("total"), net_sum);
  }
  out.Outdent();
  out.WriteLine("</WorkDocument>");
  q_venCM.Close();
}

}  // namespace

int countDocuments(ExportRun& run) {
  PosQuery& q_consultas = PrepareDocumentQuery(run);
  q_consultas.Open();
  const int count = q_consultas.RowCount();
  q_consultas.Close();
  return count;
}

void OpenDocumentQuery(ExportRun& run) { PrepareDocumentQuery(run).Open(); }

void Write(ExportRun& run) {
  XmlLineWriter& out = run.writer();
  out.WriteLine("<WorkingDocuments>");
  out.Indent();
  run.showStage("Abertura de tabelas de documentos de consulta");

  PosQuery& q_consultas = run.query("q_consultas");
  if (!q_consultas.IsOpen()) OpenDocumentQuery(run);
  WriteControlTotals(run, q_consultas);
  run.reportProgress();

  ExemptionReasons exemptions(run);
  while (!run.aborted() && !q_consultas.Eof()) {
    WriteWorkDocument(run, q_consultas, exemptions);
    if (run.aborted()) run.abortExit();
    q_consultas.Next();
    run.documentDone();
  }

  q_consultas.Close();
  out.Outdent();
  out.WriteLine("</WorkingDocuments>");
}

}  // namespace varnel::working_documents
