// The Payments section: one Payment per receipt ("RC") of the period, with
// one Line per VAT rate of each document the receipt settles and totals from
// the receipt's incidences. Written only when the period has a receipt.
//
// The receipt query (q_docRC, streamed) stays open to the run's end, which
// closes it; the settlement rows, signed numbers and exemption texts are
// opened and closed around each use. Payment lines classify the VAT rate by
// their own ranges (rate 10 is RED here, INT on invoice lines). A receipt
// without a customer names the final consumer 1, the customer every file
// lists, as invoices and working documents do.
#include <string>

#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
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

namespace payments {

namespace {

constexpr const char* kDefaultExemptionReason = "Produto isento de IVA com base no Decreto-Lei 346/85";

std::string CustomerId(const PosQuery& receipt) {
  if (receipt.AsInteger("cliente") >= 1) return XmlEscape(receipt.AsText("cliente"));
  return "1";
}

void WriteHeader(ExportRun& run, const PosQuery& receipt) {
  XmlLineWriter& out = run.writer();
  const std::string entry_date = DateTimeText(receipt.AsDateTime("datahora"));
  out.WriteLine("<Payment>");
  out.Indent();
  out.WriteElement("PaymentRefNo", XmlEscape(DocumentNumber(receipt.AsText("saftsign"), "RC",
                                                            run.request().fserienum, receipt.AsInteger("numero"))));
  out.WriteElement("TransactionDate", DateText(receipt.AsDateTime("data")));
  out.WriteLine(receipt.AsInteger("CashVATScheme") == 1 ? "<PaymentType>RC</PaymentType>"
                                                        : "<PaymentType>RG</PaymentType>");
  out.WriteLine("<DocumentStatus>");
  out.Indent();
  out.WriteLine(receipt.AsBoolean("anulado") ? "<PaymentStatus>A</PaymentStatus>" : "<PaymentStatus>N</PaymentStatus>");
  out.WriteElement("PaymentStatusDate", entry_date);
  out.WriteLine("<SourceID>0</SourceID>");
  out.WriteLine("<SourcePayment>P</SourcePayment>");
  out.Outdent();
  out.WriteLine("</DocumentStatus>");
  out.WriteLine("<SourceID>0</SourceID>");
  out.WriteElement("SystemEntryDate", entry_date);
  out.WriteElement("CustomerID", CustomerId(receipt));
}

// OriginatingON and InvoiceDate of the settled document.
void WriteSourceDocumentId(ExportRun& run, const SettledDocument& settled) {
  XmlLineWriter& out = run.writer();
  out.WriteLine("<SourceDocumentID>");
  out.Indent();
  PosQuery& q_getSaftSign = run.query("q_getSaftSign");
  q_getSaftSign.SetSql(kQ_getSaftSign);
  q_getSaftSign.BindText("doc", settled.code);
  q_getSaftSign.BindInteger("numero", settled.number);
  q_getSaftSign.Open();
  const bool found = !q_getSaftSign.Eof();
  const std::string signed_number = found ? q_getSaftSign.AsText("saftsign") : std::string();
  const DateTime invoice_date = found ? q_getSaftSign.AsDateTime("data") : DateTime();
  out.WriteElement("OriginatingON", XmlEscape(DocumentNumber(signed_number, settled.code, run.request().fserienum,
                                                             settled.number)));
  out.WriteElement("InvoiceDate", DateText(invoice_date));
  q_getSaftSign.Close();
  out.Outdent();
  out.WriteLine("</SourceDocumentID>");
}

// The exemption text of the settled document itself (its own exemption
// code), or the fixed text when it has none that is known.
std::string SettledExemptionReason(ExportRun& run, const SettledDocument& settled) {
  PosQuery& q_getnorma = run.query("q_getnorma");
  q_getnorma.SetSql(kQ_getnorma);
  q_getnorma.BindText("doc", settled.code);
  q_getnorma.BindInteger("numero", settled.number);
  q_getnorma.Open();
  const std::string reason = q_getnorma.Eof() ? std::string(kDefaultExemptionReason)
                                              : XmlText(q_getnorma.AsText("norma"), 60);
  q_getnorma.Close();
  return reason;
}

void WriteLine(ExportRun& run, const SettledDocument& settled, const TIncidencia& incidence, int line_number) {
  XmlLineWriter& out = run.writer();
  out.WriteLine("<Line>");
  out.Indent();
  out.WriteElement("LineNumber", IntText(line_number));
  WriteSourceDocumentId(run, settled);
  if (incidence.Incidencia < Currency()) {
    out.WriteElement("DebitAmount", CurrText(incidence.Incidencia.Abs()));
  } else {
    out.WriteElement("CreditAmount", CurrText(incidence.Incidencia));
  }
  out.WriteLine("<Tax>");
  out.Indent();
  out.WriteLine("<TaxType>IVA</TaxType>");
  WriteTaxRegion(out, run.request().taxCountryRegion);
  out.WriteElement("TaxCode", PaymentTaxCode(incidence.Taxa));
  out.WriteElement("TaxPercentage", IntText(incidence.Taxa));
  out.Outdent();
  out.WriteLine("</Tax>");
  if (incidence.Taxa == 0) out.WriteElement("TaxExemptionReason", SettledExemptionReason(run, settled));
  out.Outdent();
  out.WriteLine("</Line>");
}

// One Line per incidence of every settled document, numbered across them.
// Stops at the abort flag before a settlement row.
void WriteLines(ExportRun& run, ReceiptIncidenceCalculator& incidences, std::int64_t receipt_number) {
  PosQuery& q_RCLines = run.query("q_RCLines");
  q_RCLines.SetSql(kQ_RCLines);
  q_RCLines.BindInteger("numero", receipt_number);
  q_RCLines.Open();
  int line_number = 0;
  for (; !run.aborted() && !q_RCLines.Eof(); q_RCLines.Next()) {
    const SettledDocument settled = SettledDocumentOf(q_RCLines.AsInteger("FA"), q_RCLines.AsInteger("NC"));
    for (const TIncidencia& incidence :
         incidences.SettledDocumentIncidences(receipt_number, settled.code, settled.number)) {
      WriteLine(run, settled, incidence, ++line_number);
    }
  }
  q_RCLines.Close();
}

// DocumentTotals from every incidence of the receipt, made absolute, and the
// end of the Payment.
void WriteTotals(ExportRun& run, ReceiptIncidenceCalculator& incidences, std::int64_t receipt_number) {
  XmlLineWriter& out = run.writer();
  out.WriteLine("<DocumentTotals>");
  out.Indent();
  Currency net_sum;
  Currency gross_sum;
  for (const TIncidencia& incidence : incidences.ReceiptIncidences(receipt_number)) {
    net_sum += incidence.Incidencia;
    gross_sum += incidence.Total;
  }
  const Currency tax = gross_sum - net_sum;
  out.WriteElement("TaxPayable", CurrText(tax.Abs()));
  out.WriteElement("NetTotal", CurrText(net_sum.Abs()));
  out.WriteElement("GrossTotal", CurrText(gross_sum.Abs()));
  out.Outdent();
  out.WriteLine("</DocumentTotals>");
  out.Outdent();
  out.WriteLine("</Payment>");
}

int CountReceipts(ExportRun& run) {
  PosQuery& q_countRC = run.query("q_countRC");
  q_countRC.SetSql(kQ_countRC);
  q_countRC.BindDateTime("datai", run.periodStart());
  q_countRC.BindDateTime("dataf", run.periodEnd());
  q_countRC.Open();
  const std::int64_t count = q_countRC.Eof() ? 0 : q_countRC.AsInteger("nrecs");
  q_countRC.Close();
  return static_cast<int>(count);
}

}  // namespace

int countDocuments(ExportRun& run) { return CountReceipts(run); }

void Write(ExportRun& run) {
  PosQuery& q_docRC = run.query("q_docRC");
  q_docRC.SetSql(kQ_docRC);
  q_docRC.SetForwardOnly(true);
  q_docRC.BindDateTime("datai", run.periodStart());
  q_docRC.BindDateTime("dataf", run.periodEnd());
  q_docRC.Open();
  if (q_docRC.IsEmpty()) return;

  run.showStage("Abertura de tabelas de recibos");
  XmlLineWriter& out = run.writer();
  out.WriteLine("<Payments>");
  out.Indent();
  out.WriteElement("NumberOfEntries", IntText(CountReceipts(run)));
  ReceiptIncidenceCalculator incidences(run.database());
  const ReceiptTotals totals = incidences.ReceiptPeriodTotals(run.periodStart(), run.periodEnd());
  out.WriteElement("TotalDebit", CurrText(Round2(totals.Debit.Abs())));
  out.WriteElement("TotalCredit", CurrText(Round2(totals.Credit)));
  run.reportProgress();

  while (!run.aborted() && !q_docRC.Eof()) {
    const std::int64_t receipt_number = q_docRC.AsInteger("numero");
    WriteHeader(run, q_docRC);
    WriteLines(run, incidences, receipt_number);
    if (run.aborted()) run.abortExit();
    WriteTotals(run, incidences, receipt_number);
    q_docRC.Next();
    run.documentDone();
  }

  out.Outdent();
  out.WriteLine("</Payments>");
}

}  // namespace payments
}  // namespace varnel
