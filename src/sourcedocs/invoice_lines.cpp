// Invoice lines. The OrderReferences of a document are looked up once, at
// its first written line, and the same elements are written on every line.
// Rows whose doc differs from the document's only by trailing blanks belong
// to it, as the database's own comparison in the line query decided.
#include "sourcedocs/invoice_lines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "base/xml_line_writer.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"
#include "sourcedocs/document_line.h"
#include "sourcedocs/invoice_document.h"
#include "sourcedocs/invoice_order_references.h"
#include "sourcedocs/line_rules.h"

namespace varnel {

namespace {

constexpr std::int64_t kWithholdingProduct = -999;

std::string_view WithoutTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool SameDocument(std::string_view row_doc, std::string_view document_doc) {
  return WithoutTrailingSpaces(row_doc) == WithoutTrailingSpaces(document_doc);
}

}  // namespace

InvoiceLines::InvoiceLines(SectionContext& context) : m_context(context), m_q_ven(context.database(), kQ_ven) {}

bool InvoiceLines::Write(const InvoiceDocument& document, PosQuery& q_comp, ExemptionReasons& exemptions,
                         InvoiceSums& sums) {
  sums.net = Currency();
  m_q_ven.BindText("doc", document.doc);
  m_q_ven.BindInteger("numero", document.numero);
  m_q_ven.Open();
  if (m_q_ven.IsEmpty()) {
    m_q_ven.Close();
    return false;  // the placeholder is written before the abort flag is looked at
  }
  WriteRows(document, q_comp, exemptions, sums);
  m_q_ven.Close();
  if (m_context.aborted()) m_context.abortExit();
  return true;
}

void InvoiceLines::WriteRows(const InvoiceDocument& document, PosQuery& q_comp, ExemptionReasons& exemptions,
                             InvoiceSums& sums) {
  XmlLineWriter& out = m_context.writer();
  const bool credit_note = document.is_credit_note();
  const std::string tax_point_date = DateText(document.data);
  std::optional<std::vector<OrderReference>> order_references;
  int line_number = 0;
  PosQuery& q_ven = m_q_ven;
  while (!m_context.aborted() && !q_ven.Eof() && SameDocument(q_ven.AsText("doc"), document.doc) &&
         q_ven.AsInteger("numero") == document.numero) {
    const bool withholding = q_ven.AsInteger("codigo") == kWithholdingProduct;
    Currency& sum = withholding ? sums.withholding : sums.net;
    Currency amount;
    if (withholding) {
      amount = q_ven.AsCurrency("valor");
    } else {
      if (!order_references) {
        order_references = FindOrderReferences(q_comp, q_ven.AsText("doc"), document.trimmed_doc,
                                               q_ven.AsInteger("numero"));
      }
      DocumentLine line =
          SaleLine(q_ven, ++line_number, tax_point_date, m_context.taxRegion(), exemptions, m_context.fileRules());
      line.order_references = &*order_references;
      WriteDocumentLine(out, line, sums.written);
      amount = line.amount;
    }
    if (credit_note) {
      sum -= amount;
    } else {
      sum += amount;
    }
    q_ven.Next();
  }
}

}  // namespace varnel
