// Invoice lines. The line query is prepared once per run and re-run per
// document. The OrderReferences of a document are looked up once, at its
// first written line, and the same elements are written on every line.
// Rows whose doc differs from the document's only by trailing blanks belong
// to it, as the database's own comparison in the line query decided.
#include "sourcedocs/invoice_lines.h"

#include "sourcedocs/line_rules.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "sourcedocs/invoice_document.h"
#include "sourcedocs/exemption_reasons.h"
#include "sourcedocs/invoice_order_references.h"

namespace varnel {

namespace {

constexpr std::int64_t kWithholdingProduct = -999;
constexpr std::size_t kDescriptionLength = 50;

std::string_view WithoutTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool SameDocument(std::string_view row_doc, std::string_view document_doc) {
  return WithoutTrailingSpaces(row_doc) == WithoutTrailingSpaces(document_doc);
}

class LineWriter {
 public:
  LineWriter(ExportRun& run, const InvoiceDocument& document, ExemptionReasons& exemptions)
      : m_run(run), m_out(run.writer()), m_document(document), m_exemptions(exemptions) {}

  // Writes the Line of the current row and returns its signed amount.
  Currency Write(const PosQuery& q_ven);

 private:
  const std::vector<OrderReference>& OrderReferences(const PosQuery& q_ven);

  ExportRun& m_run;
  XmlLineWriter& m_out;
  const InvoiceDocument& m_document;
  ExemptionReasons& m_exemptions;
  int m_line_counter = 0;
  std::optional<std::vector<OrderReference>> m_order_references;
};

const std::vector<OrderReference>& LineWriter::OrderReferences(const PosQuery& q_ven) {
  if (!m_order_references) {
    m_order_references = FindOrderReferences(m_run.query("q_comp"), q_ven.AsText("doc"), m_document.trimmed_doc,
                                             q_ven.AsInteger("numero"));
  }
  return *m_order_references;
}

Currency LineWriter::Write(const PosQuery& q_ven) {
  const Currency valor = q_ven.AsCurrency("valor");
  const std::int64_t iva = q_ven.AsInteger("iva");
  const Currency desconto = q_ven.AsCurrency("desconto");
  const double qtd = q_ven.AsFloat("qtd");
  const std::string description = XmlText(q_ven.AsText("descricao"), kDescriptionLength);

  ++m_line_counter;
  m_out.WriteLine("<Line>");
  m_out.Indent();
  m_out.WriteElement("LineNumber", IntText(m_line_counter));
  WriteOrderReferences(m_out, OrderReferences(q_ven));
  m_out.WriteElement("ProductCode", XmlEscape(q_ven.AsText("codigo")));
  m_out.WriteElement("ProductDescription", description);
  m_out.WriteElement("Quantity", CurrText(LineQuantity(qtd)));
  m_out.WriteElement("UnitOfMeasure", XmlEscape(q_ven.AsText("unidade")));
  m_out.WriteElement("UnitPrice",
                     CurrText(LineUnitPrice(q_ven.AsFloat("valor"), qtd, q_ven.AsCurrency("punit"), iva)));
  m_out.WriteElement("TaxPointDate", DateText(m_document.data));
  m_out.WriteElement("Description", description);
  // Debit or credit by the amount's sign, whatever the document type.
  if (valor < Currency()) {
    m_out.WriteElement("DebitAmount", CurrText(-valor));
  } else {
    m_out.WriteElement("CreditAmount", CurrText(valor));
  }
  m_out.WriteLine("<Tax>");
  m_out.Indent();
  m_out.WriteLine("<TaxType>IVA</TaxType>");
  WriteTaxRegion(m_out, m_run.request().taxCountryRegion);
  WriteTaxCode(m_out, iva);
  m_out.WriteElement("TaxPercentage", XmlEscape(q_ven.AsText("iva")));
  m_out.Outdent();
  m_out.WriteLine("</Tax>");
  if (iva == 0) {
    m_out.WriteElement("TaxExemptionReason",
                       m_exemptions.Reason(q_ven.AsText("isencao"), q_ven.AsInteger("codigo")));
  }
  if (desconto != Currency()) m_out.WriteElement("SettlementAmount", CurrText(Round2(desconto.Abs())));
  m_out.Outdent();
  m_out.WriteLine("</Line>");
  return valor;
}

}  // namespace

bool WriteInvoiceLines(ExportRun& run, const InvoiceDocument& document, ExemptionReasons& exemptions,
                       InvoiceSums& sums) {
  sums.net = Currency();
  PosQuery& q_ven = run.query("q_ven");
  q_ven.SetSql(kQ_ven);
  q_ven.BindText("doc", document.doc);
  q_ven.BindInteger("numero", document.numero);
  q_ven.Open();
  if (q_ven.IsEmpty()) return false;

  const bool credit_note = document.is_credit_note();
  LineWriter lines(run, document, exemptions);
  while (!run.aborted() && !q_ven.Eof() && SameDocument(q_ven.AsText("doc"), document.doc) &&
         q_ven.AsInteger("numero") == document.numero) {
    if (q_ven.AsInteger("codigo") == kWithholdingProduct) {
      const Currency withheld = q_ven.AsCurrency("valor");
      if (credit_note) {
        sums.withholding -= withheld;
      } else {
        sums.withholding += withheld;
      }
    } else {
      const Currency amount = lines.Write(q_ven);
      if (credit_note) {
        sums.net -= amount;
      } else {
        sums.net += amount;
      }
    }
    q_ven.Next();
  }
  if (run.aborted()) run.abortExit();
  return true;
}

}  // namespace varnel
