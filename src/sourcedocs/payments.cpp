// The Payments section: one Payment per receipt ("RC") of the period, with
// one Line per VAT rate of each document the receipt settles and totals from
// the receipt's incidences. Written only when the period has a receipt. The
// control totals add up the lines written for the receipts not annulled.
//
// The receipt query (q_docRC, streamed) stays open until the section goes;
// the settlement rows, signed numbers and exemption texts are opened and
// closed around each use. Payment lines classify the VAT rate by their own
// ranges (rate 10 is RED here, INT on invoice lines). A receipt without a
// customer names the final consumer 1, the customer every file lists, as
// invoices and working documents do. In 1.04_01 a receipt outside the cash
// VAT scheme (RG) writes its lines without Tax and exemption (the schema
// keeps Tax for RC receipts): each line carries the amount settled with its
// VAT (the incidence's Total), and DocumentTotals have no TaxPayable, their
// NetTotal and GrossTotal both the amount settled, so the totals still add
// up from the lines. A cash VAT receipt's line of rate 0 takes the
// TaxExemptionCode its norm's text maps to.
#include <string>

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"
#include "sourcedocs/document_line.h"
#include "sourcedocs/document_numbering.h"
#include "sourcedocs/payments.h"
#include "sourcedocs/receipt_incidences.h"
#include "sourcedocs/source_documents.h"

namespace varnel {

const char* PaymentTaxCode(std::int64_t rate) {
  if (rate == 0) return "ISE";
  if (rate >= 1 && rate <= 10) return "RED";
  if (rate >= 11 && rate <= 15) return "INT";
  if (rate >= 16 && rate <= 25) return "NOR";
  return "OUT";
}

namespace {

constexpr const char* kDefaultExemptionReason = "Produto isento de IVA com base no Decreto-Lei 346/85";

void WriteHeader(SectionContext& context, const PosQuery& receipt) {
  XmlLineWriter& out = context.writer();
  const std::string entry_date = DateTimeText(receipt.AsDateTime("datahora"));
  WriteDocumentNumber(context, "PaymentRefNo",
                      DocumentNumber(receipt.AsText("saftsign"), "RC", context.series(), receipt.AsInteger("numero")));
  out.WriteElement("TransactionDate", DateText(receipt.AsDateTime("data")));
  out.WriteLine(receipt.AsInteger("CashVATScheme") == 1 ? "<PaymentType>RC</PaymentType>"
                                                        : "<PaymentType>RG</PaymentType>");
  out.WriteBlock("DocumentStatus", [&] {
    out.WriteLine(receipt.AsBoolean("anulado") ? "<PaymentStatus>A</PaymentStatus>"
                                               : "<PaymentStatus>N</PaymentStatus>");
    out.WriteElement("PaymentStatusDate", entry_date);
    out.WriteLine("<SourceID>0</SourceID>");
    out.WriteLine("<SourcePayment>P</SourcePayment>");
  });
  out.WriteLine("<SourceID>0</SourceID>");
  out.WriteElement("SystemEntryDate", entry_date);
  out.WriteElement("CustomerID", CustomerReference(receipt.AsInteger("cliente"), receipt.AsText("cliente")));
}

// DocumentTotals from every incidence of the receipt, made absolute; without
// tax on the lines, the amount settled with its VAT is the net total too.
void WriteTotals(XmlLineWriter& out, const TIncidencias& incidences, bool with_tax) {
  Currency net_sum;
  Currency gross_sum;
  for (const TIncidencia& incidence : incidences) {
    net_sum += incidence.Incidencia;
    gross_sum += incidence.Total;
  }
  if (!with_tax) {
    WriteDocumentTotals(out, Currency(), gross_sum.Abs(), gross_sum.Abs());
    return;
  }
  const Currency tax = gross_sum - net_sum;
  WriteDocumentTotals(out, tax.Abs(), net_sum.Abs(), gross_sum.Abs());
}

}  // namespace

struct PaymentsSection::Queries {
  explicit Queries(PosDatabase& database)
      : q_docRC(database, kQ_docRC),
        q_countRC(database, kQ_countRC),
        q_RCLines(database, kQ_RCLines),
        q_getSaftSign(database, kQ_getSaftSign),
        q_getnorma(database, kQ_getnorma),
        incidences(database) {}

  // OriginatingON and InvoiceDate of the settled document.
  SourceDocumentId SourceDocument(SeriesIndex series, const SettledDocument& settled) {
    q_getSaftSign.BindText("doc", settled.code);
    q_getSaftSign.BindInteger("numero", settled.number);
    q_getSaftSign.Open();
    const bool found = !q_getSaftSign.Eof();
    const std::string signed_number = found ? q_getSaftSign.AsText("saftsign") : std::string();
    const DateTime invoice_date = found ? q_getSaftSign.AsDateTime("data") : DateTime();
    q_getSaftSign.Close();
    return {XmlEscape(DocumentNumber(signed_number, settled.code, series, settled.number)), DateText(invoice_date)};
  }

  // The exemption text of the settled document itself (its own exemption
  // code), or the fixed text when it has none that is known; with code
  // rules, the code of that norm's text.
  ExemptionReasons::Exemption Exemption(const SettledDocument& settled,
                                        const std::vector<ExemptionCodeRule>* code_rules) {
    q_getnorma.BindText("doc", settled.code);
    q_getnorma.BindInteger("numero", settled.number);
    q_getnorma.Open();
    const std::string norm = q_getnorma.Eof() ? std::string(kDefaultExemptionReason) : q_getnorma.AsText("norma");
    q_getnorma.Close();
    ExemptionReasons::Exemption exemption{XmlText(norm, 60), std::nullopt};
    if (code_rules) exemption.code = FindExemptionCode(*code_rules, "", norm);
    return exemption;
  }

  int CountReceipts() {
    q_countRC.Open();
    const std::int64_t count = q_countRC.Eof() ? 0 : q_countRC.AsInteger("nrecs");
    q_countRC.Close();
    return static_cast<int>(count);
  }

  PosQuery q_docRC;
  PosQuery q_countRC;
  PosQuery q_RCLines;
  PosQuery q_getSaftSign;
  PosQuery q_getnorma;
  ReceiptIncidenceCalculator incidences;
};

PaymentsSection::PaymentsSection(SectionContext& context)
    : m_context(context), m_queries(std::make_unique<Queries>(context.database())) {
  m_queries->q_docRC.SetForwardOnly(true);
  for (PosQuery* query : {&m_queries->q_docRC, &m_queries->q_countRC}) {
    query->BindDateTime("datai", context.periodStart());
    query->BindDateTime("dataf", context.periodEnd());
  }
}

PaymentsSection::~PaymentsSection() = default;

int PaymentsSection::countDocuments() { return m_queries->CountReceipts(); }

// One Line per incidence of every settled document, numbered across them.
// Stops at the abort flag before a settlement row.
void PaymentsSection::WriteLines(std::int64_t receipt_number, bool with_tax, LineSums& sums) {
  XmlLineWriter& out = m_context.writer();
  const std::vector<ExemptionCodeRule>* code_rules = ExemptionCodeRules(m_context);
  PosQuery& q_RCLines = m_queries->q_RCLines;
  q_RCLines.BindInteger("numero", receipt_number);
  q_RCLines.Open();
  int line_number = 0;
  for (; !m_context.aborted() && !q_RCLines.Eof(); q_RCLines.Next()) {
    const SettledDocument settled = SettledDocumentOf(q_RCLines.AsInteger("FA"), q_RCLines.AsInteger("NC"));
    for (const TIncidencia& incidence :
         m_queries->incidences.SettledDocumentIncidences(receipt_number, settled.code, settled.number)) {
      DocumentLine line;
      line.number = ++line_number;
      line.source_document = m_queries->SourceDocument(m_context.series(), settled);
      line.amount = with_tax ? incidence.Incidencia : incidence.Total;
      if (with_tax) {
        line.tax = LineTax{m_context.taxRegion(), PaymentTaxCode(incidence.Taxa), IntText(incidence.Taxa)};
        if (incidence.Taxa == 0) {
          ExemptionReasons::Exemption exemption = m_queries->Exemption(settled, code_rules);
          line.exemption_reason = std::move(exemption.reason);
          line.exemption_code = std::move(exemption.code);
        }
      }
      WriteDocumentLine(out, line, sums);
    }
  }
  q_RCLines.Close();
}

// One Payment; it counts in the control totals with the lines written, also
// when the abort exit cuts it short.
void PaymentsSection::WritePayment(ControlTotals& totals) {
  XmlLineWriter& out = m_context.writer();
  const PosQuery& receipt = m_queries->q_docRC;
  const std::int64_t receipt_number = receipt.AsInteger("numero");
  const bool annulled = receipt.AsBoolean("anulado");
  const bool with_tax =
      receipt.AsInteger("CashVATScheme") == 1 || !m_context.fileRules().payment_tax_only_for_cash_vat;
  LineSums sums;
  try {
    out.WriteBlock("Payment", [&] {
      WriteHeader(m_context, receipt);
      WriteLines(receipt_number, with_tax, sums);
      if (m_context.aborted()) m_context.abortExit();
      WriteTotals(out, m_queries->incidences.ReceiptIncidences(receipt_number), with_tax);
    });
  } catch (const AbortExit&) {
    totals.AddDocument(sums, annulled);
    throw;
  }
  totals.AddDocument(sums, annulled);
}

void PaymentsSection::Write() {
  PosQuery& q_docRC = m_queries->q_docRC;
  q_docRC.Open();
  if (q_docRC.IsEmpty()) return;

  m_context.showStage("Abertura de tabelas de recibos");
  XmlLineWriter& out = m_context.writer();
  out.WriteBlock("Payments", [&] {
    ControlTotals totals;
    WriteTotalledDocuments(out, totals, [&] {
      m_context.reportProgress();
      while (!m_context.aborted() && !q_docRC.Eof()) {
        WritePayment(totals);
        q_docRC.Next();
        m_context.documentDone();
      }
    });
  });
}

}  // namespace varnel
