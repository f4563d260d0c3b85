// The SalesInvoices section: its control totals, the period's sales
// documents (TK, VD, FA, FS, FT, NC; annulled ones included, those paid
// with pagamento 6 left out) and one Invoice per document.
//
// The section, in order:
//   1. control totals: q_tot, over the same documents the section lists but
//      without the annulled ones and without withholding lines;
//   2. opening: q_comp, q_doc (streamed) and the working documents' query
//      are opened and stay open; the run's end closes them on every ending;
//   3. NumberOfEntries, TotalDebit, TotalCredit, then the progress text;
//   4. the document loop: abort flag tested before every document; each
//      Invoice is header, lines (or the placeholder), totals, "</Invoice>",
//      then the progress step shared with the later sections;
//   5. "</SalesInvoices>".
// Inside a document the abort flag leads to the run's abort exit (after the
// line loop, and again before "</Invoice>").
#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "sourcedocs/invoice_document.h"
#include "sourcedocs/exemption_reasons.h"
#include "sourcedocs/invoice_header.h"
#include "sourcedocs/invoice_lines.h"
#include "sourcedocs/invoice_totals.h"
#include "sourcedocs/source_documents.h"

namespace varnel::sales_invoices {

namespace {

struct ControlTotals {
  Currency debit;
  Currency credit;
};

// The document query of the run's generation, streamed, bound to the period.
PosQuery& DocumentQuery(ExportRun& run) {
  PosQuery& q_doc = run.query("q_doc");
  q_doc.SetSql(run.generation() == SchemaGeneration::Current ? kQ_doc_new : kQ_doc_old);
  q_doc.SetForwardOnly(true);
  q_doc.BindDateTime("datai", run.periodStart());
  q_doc.BindDateTime("dataf", run.periodEnd());
  return q_doc;
}

// The first "CRD" and the first "DEB" row; a missing row or a null counts 0.
ControlTotals ReadControlTotals(ExportRun& run) {
  PosQuery& q_tot = run.query("q_tot");
  q_tot.SetSql(kQ_tot);
  q_tot.BindDateTime("datai", run.periodStart());
  q_tot.BindDateTime("dataf", run.periodEnd());
  q_tot.Open();
  ControlTotals totals;
  bool credit_found = false;
  bool debit_found = false;
  for (; !q_tot.Eof(); q_tot.Next()) {
    const std::string type = q_tot.AsText("dtype");
    if (type == "CRD" && !credit_found) {
      totals.credit += q_tot.AsCurrency("valor");
      credit_found = true;
    } else if (type == "DEB" && !debit_found) {
      totals.debit += q_tot.AsCurrency("valor");
      debit_found = true;
    }
  }
  q_tot.Close();
  return totals;
}

void OpenCompensations(ExportRun& run) {
  PosQuery& q_comp = run.query("q_comp");
  q_comp.SetSql(run.generation() == SchemaGeneration::Current ? kQ_comp_new : kQ_comp_old);
  q_comp.BindDateTime("datai", run.periodStart());
  q_comp.BindDateTime("dataf", run.periodEnd());
  q_comp.Open();
}

// One Invoice, from "<Invoice>" to the progress step after "</Invoice>".
void WriteInvoice(ExportRun& run, PosQuery& q_doc, ExemptionReasons& exemptions) {
  XmlLineWriter& out = run.writer();
  InvoiceSums sums;
  out.WriteLine("<Invoice>");
  out.Indent();
  const InvoiceDocument document = ReadInvoiceDocument(q_doc);
  WriteInvoiceHeader(run, document);
  if (WriteInvoiceLines(run, document, exemptions, sums)) {
    WriteDocumentTotals(out, document, sums);
  } else {
    WritePlaceholderLine(out, document);
  }
  run.query("q_ven").Close();
  if (run.aborted()) run.abortExit();
  out.Outdent();
  out.WriteLine("</Invoice>");
  q_doc.Next();
  run.documentDone();
}

}  // namespace

int countDocuments(ExportRun& run) {
  PosQuery& q_doc = DocumentQuery(run);
  q_doc.Open();
  const int count = q_doc.RowCount();
  q_doc.Close();
  return count;
}

void Write(ExportRun& run) {
  XmlLineWriter& out = run.writer();
  const ControlTotals totals = ReadControlTotals(run);

  OpenCompensations(run);
  PosQuery& q_doc = DocumentQuery(run);
  q_doc.Open();
  working_documents::OpenDocumentQuery(run);

  out.WriteElement("NumberOfEntries", IntText(q_doc.RowCount()));
  out.WriteElement("TotalDebit", CurrText(totals.debit));
  out.WriteElement("TotalCredit", CurrText(totals.credit));
  run.reportProgress();

  ExemptionReasons exemptions(run);
  while (!run.aborted() && !q_doc.Eof()) WriteInvoice(run, q_doc, exemptions);

  out.Outdent();
  out.WriteLine("</SalesInvoices>");
}

}  // namespace varnel::sales_invoices
