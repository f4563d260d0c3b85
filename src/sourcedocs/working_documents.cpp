// The WorkingDocuments section: the table-consultation documents ("CM") of
// the period, one WorkDocument of type "DC" each, with every sale line (the
// -999 lines included), their exemption reasons and the document totals as
// stored, signs unchanged. The section is always written; with no
// consultation it holds only its control totals, which add up the lines
// written for the consultations that are not annulled.
//
// The consultation query (q_consultas, the variant of the run's schema
// generation, streamed) is opened with the sales invoices' tables and read
// here from its first row to its last; the section opens it itself when the
// sales section did not. Every text read from the database is escaped.
#include <string>

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"
#include "sourcedocs/document_line.h"
#include "sourcedocs/document_numbering.h"
#include "sourcedocs/line_rules.h"
#include "sourcedocs/source_documents.h"

namespace varnel {

namespace {

void WriteDocumentHeader(SectionContext& context, const PosQuery& document) {
  XmlLineWriter& out = context.writer();
  const std::string signed_number = document.AsText("saftsign");
  const DateTime data = document.AsDateTime("data");
  const std::string entry_date = DateTimeText(document.AsDateTime("datahora"));
  const std::string source_id = XmlEscape(document.AsText("emp"));

  WriteDocumentNumber(context, "DocumentNumber",
                      DocumentNumber(signed_number, "CM", context.series(), document.AsInteger("numero")));
  out.WriteBlock("DocumentStatus", [&] {
    out.WriteLine(document.AsBoolean("anulado") ? "<WorkStatus>A</WorkStatus>" : "<WorkStatus>N</WorkStatus>");
    out.WriteElement("WorkStatusDate", entry_date);
    out.WriteElement("SourceID", source_id);
    out.WriteLine("<SourceBilling>P</SourceBilling>");
  });
  WriteSignature(out, context.generation(), signed_number, context.series(), document.AsText("hash"),
                 document.AsText("hashcontrol"), context.fileRules());
  out.WriteElement("Period", IntText(data.Month()));
  out.WriteElement("WorkDate", DateText(data));
  out.WriteElement("WorkType", context.fileRules().consultation_work_type);
  out.WriteElement("SourceID", source_id);
  out.WriteElement("SystemEntryDate", entry_date);
  out.WriteElement("CustomerID", CustomerReference(document.AsInteger("cliente"), document.AsText("cliente")));
}

}  // namespace

WorkingDocumentsSection::WorkingDocumentsSection(SectionContext& context)
    : m_context(context),
      m_q_consultas(context.database(),
                    context.generation() == SchemaGeneration::Current ? kQ_consultas_new : kQ_consultas_old),
      m_q_venCM(context.database(), kQ_venCM) {
  m_q_consultas.SetForwardOnly(true);
  m_q_consultas.BindDateTime("datai", context.periodStart());
  m_q_consultas.BindDateTime("dataf", context.periodEnd());
}

int WorkingDocumentsSection::countDocuments() {
  m_q_consultas.Open();
  const int count = m_q_consultas.RowCount();
  m_q_consultas.Close();
  return count;
}

void WorkingDocumentsSection::OpenDocumentQuery() { m_q_consultas.Open(); }

// The lines of the current document from q_venCM, then its totals as
// stored. The line loop stops at the abort flag; the totals are still
// written.
void WorkingDocumentsSection::WriteLines(const std::string& tax_point_date, ExemptionReasons& exemptions,
                                         LineSums& sums) {
  XmlLineWriter& out = m_context.writer();
  Currency net_sum;
  int line_number = 0;
  for (; !m_context.aborted() && !m_q_venCM.Eof(); m_q_venCM.Next()) {
    const DocumentLine line =
        SaleLine(m_q_venCM, ++line_number, tax_point_date, m_context.taxRegion(), exemptions, m_context.fileRules());
    WriteDocumentLine(out, line, sums);
    net_sum += line.amount;
  }
  const Currency total = m_q_consultas.AsCurrency("total");
  WriteDocumentTotals(out, Round2(total - net_sum), net_sum, Round2(total));
}

// One WorkDocument, from "<WorkDocument>" to "</WorkDocument>"; it counts in
// the control totals with the lines written.
void WorkingDocumentsSection::WriteWorkDocument(ExemptionReasons& exemptions, ControlTotals& totals) {
  XmlLineWriter& out = m_context.writer();
  LineSums sums;
  out.WriteBlock("WorkDocument", [&] {
    WriteDocumentHeader(m_context, m_q_consultas);
    const std::string tax_point_date = DateText(m_q_consultas.AsDateTime("data"));
    m_q_venCM.BindText("doc", m_q_consultas.AsText("doc"));
    m_q_venCM.BindInteger("numero", m_q_consultas.AsInteger("numero"));
    m_q_venCM.Open();
    if (m_q_venCM.IsEmpty()) {
      WritePlaceholderLineAndTotals(out, tax_point_date, AmountSide::Credit,  // always a credit here
                                    m_context.fileRules());
    } else {
      WriteLines(tax_point_date, exemptions, sums);
    }
  });
  totals.AddDocument(sums, m_q_consultas.AsBoolean("anulado"));
  m_q_venCM.Close();
}

void WorkingDocumentsSection::Write() {
  XmlLineWriter& out = m_context.writer();
  out.WriteBlock("WorkingDocuments", [&] {
    m_context.showStage("Abertura de tabelas de documentos de consulta");
    if (!m_q_consultas.IsOpen()) OpenDocumentQuery();
    ControlTotals totals;
    WriteTotalledDocuments(out, totals, [&] {
      m_context.reportProgress();
      ExemptionReasons exemptions(m_context.database(), ExemptionCodeRules(m_context));
      while (!m_context.aborted() && !m_q_consultas.Eof()) {
        WriteWorkDocument(exemptions, totals);
        if (m_context.aborted()) m_context.abortExit();
        m_q_consultas.Next();
        m_context.documentDone();
      }
    });
    m_q_consultas.Close();
  });
}

}  // namespace varnel
