// The SalesInvoices section: its control totals, the period's sales
// documents (TK, VD, FA, FS, FT, NC; annulled ones included, those paid
// with pagamento 6 left out) and one Invoice per document.
//
// The section, in order:
//   1. the stage text;
//   2. opening: q_comp, q_doc (streamed) and the working documents' query
//      are opened and stay open until the sections go;
//   3. the progress text, then the document loop, written aside while the
//      control totals add up: abort flag tested before every document; each
//      Invoice is header, lines (or the placeholder), totals, "</Invoice>",
//      then the progress step shared with the later sections;
//   4. NumberOfEntries, TotalDebit, TotalCredit, then the documents;
//   5. "</SalesInvoices>".
// Inside a document the abort flag leads to the abort exit (after the line
// loop, and again before "</Invoice>").
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"
#include "sourcedocs/control_totals.h"
#include "sourcedocs/invoice_document.h"
#include "sourcedocs/invoice_header.h"
#include "sourcedocs/invoice_totals.h"
#include "sourcedocs/source_documents.h"

namespace varnel {

const std::vector<ExemptionCodeRule>* ExemptionCodeRules(const SectionContext& context) {
  return context.fileRules().exemption_code ? &context.request().exemptionCodes : nullptr;
}

namespace {

void BindPeriod(PosQuery& query, const SectionContext& context) {
  query.BindDateTime("datai", context.periodStart());
  query.BindDateTime("dataf", context.periodEnd());
}

bool Current(const SectionContext& context) { return context.generation() == SchemaGeneration::Current; }

}  // namespace

SalesInvoicesSection::SalesInvoicesSection(SectionContext& context)
    : m_context(context),
      m_q_comp(context.database(), Current(context) ? kQ_comp_new : kQ_comp_old),
      m_q_doc(context.database(), Current(context) ? kQ_doc_new : kQ_doc_old),
      m_lines(context) {
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
    m_q_comp.Open();
    m_q_doc.Open();
    following.OpenDocumentQuery();

    ControlTotals totals;
    WriteTotalledDocuments(out, totals, [&] {
      m_context.reportProgress();
      ExemptionReasons exemptions(m_context.database(), ExemptionCodeRules(m_context));
      while (!m_context.aborted() && !m_q_doc.Eof()) WriteInvoice(exemptions, totals);
    });
  });
}

// One Invoice, from "<Invoice>" to the progress step after "</Invoice>".
// A document the abort exit cuts short still counts with the lines it has
// in the file.
void SalesInvoicesSection::WriteInvoice(ExemptionReasons& exemptions, ControlTotals& totals) {
  XmlLineWriter& out = m_context.writer();
  InvoiceSums sums;
  bool annulled = false;
  try {
    out.WriteBlock("Invoice", [&] {
      const InvoiceDocument document = ReadInvoiceDocument(m_q_doc);
      annulled = document.anulado;
      WriteInvoiceHeader(m_context, document);
      if (m_lines.Write(document, m_q_comp, exemptions, sums)) {
        WriteInvoiceTotals(out, document, sums);
      } else {
        WritePlaceholderLine(out, document, m_context.fileRules());
      }
      if (m_context.aborted()) m_context.abortExit();
    });
  } catch (const AbortExit&) {
    totals.AddDocument(sums.written, annulled);
    throw;
  }
  totals.AddDocument(sums.written, annulled);
  m_q_doc.Next();
  m_context.documentDone();
}

}  // namespace varnel
