// The SalesInvoices section: its control totals, the period's sales
// documents (TK, VD, FA, FS, FT, NC; annulled ones included, those paid
// with pagamento 6 left out) and one Invoice per document.
//
// The section, in order:
//   1. the stage text, then control totals: q_tot, over the same documents
//      the section lists but without the annulled ones and without
//      withholding lines;
//   2. opening: q_comp, q_doc (streamed) and the working documents' query
//      are opened and stay open until the sections go;
//   3. NumberOfEntries, TotalDebit, TotalCredit, then the progress text;
//   4. the document loop: abort flag tested before every document; each
//      Invoice is header, lines (or the placeholder), totals, "</Invoice>",
//      then the progress step shared with the later sections;
//   5. "</SalesInvoices>".
// Inside a document the abort flag leads to the abort exit (after the line
// loop, and again before "</Invoice>").
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"
#include "sourcedocs/invoice_document.h"
#include "sourcedocs/invoice_header.h"
#include "sourcedocs/invoice_totals.h"
#include "sourcedocs/source_documents.h"

namespace varnel {

namespace {

struct ControlTotals {
  Currency debit;
  Currency credit;
};

void BindPeriod(PosQuery& query, const SectionContext& context) {
  query.BindDateTime("datai", context.periodStart());
  query.BindDateTime("dataf", context.periodEnd());
}

bool Current(const SectionContext& context) { return context.generation() == SchemaGeneration::Current; }

// The first "CRD" and the first "DEB" row; a missing row or a null counts 0.
ControlTotals ReadControlTotals(PosQuery& q_tot) {
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

}  // namespace

SalesInvoicesSection::SalesInvoicesSection(SectionContext& context)
    : m_context(context),
      m_q_tot(context.database(), kQ_tot),
      m_q_comp(context.database(), Current(context) ? kQ_comp_new : kQ_comp_old),
      m_q_doc(context.database(), Current(context) ? kQ_doc_new : kQ_doc_old),
      m_lines(context) {
  BindPeriod(m_q_tot, context);
  BindPeriod(m_q_comp, context);
  m_q_doc.SetForwardOnly(true);
  BindPeriod(m_q_doc, context);
}

int SalesInvoicesSection::countDocuments() {
  m_q_doc.Open();
  const int count = m_q_doc.RowCount();
  m_q_doc.Close();
  return count;
}

void SalesInvoicesSection::Write(WorkingDocumentsSection& following) {
  XmlLineWriter& out = m_context.writer();
  out.WriteBlock("SalesInvoices", [&] {
    m_context.showStage("Abertura de tabelas de vendas");
    const ControlTotals totals = ReadControlTotals(m_q_tot);
    m_q_comp.Open();
    m_q_doc.Open();
    following.OpenDocumentQuery();

    out.WriteElement("NumberOfEntries", IntText(m_q_doc.RowCount()));
    out.WriteElement("TotalDebit", CurrText(totals.debit));
    out.WriteElement("TotalCredit", CurrText(totals.credit));
    m_context.reportProgress();

    ExemptionReasons exemptions(m_context.database());
    while (!m_context.aborted() && !m_q_doc.Eof()) WriteInvoice(exemptions);
  });
}

// One Invoice, from "<Invoice>" to the progress step after "</Invoice>".
void SalesInvoicesSection::WriteInvoice(ExemptionReasons& exemptions) {
  XmlLineWriter& out = m_context.writer();
  out.WriteBlock("Invoice", [&] {
    InvoiceSums sums;
    const InvoiceDocument document = ReadInvoiceDocument(m_q_doc);
    WriteInvoiceHeader(m_context, document);
    if (m_lines.Write(document, m_q_comp, exemptions, sums)) {
      WriteInvoiceTotals(out, document, sums);
    } else {
      WritePlaceholderLine(out, document);
    }
    if (m_context.aborted()) m_context.abortExit();
  });
  m_q_doc.Next();
  m_context.documentDone();
}

}  // namespace varnel
