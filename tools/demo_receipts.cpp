// Keeps the open invoices, the paid ones that may be refunded and the
// refunds due, and writes the receipts and the refunds' credit notes. A
// receipt's total is the sum of what it settles (credit notes negative) and
// its net amount each invoice's share of its own net, rounded to the
// ten-thousandth; a half settlement is rounded to whole euros. The draws of
// a receipt event come in a fixed order: whether a refund is paid, whether
// one is issued; for a receipt then annulled, the other invoices, payment,
// each invoice's half settlement, then its stamp and signature.
#include "tools/demo_receipts.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "tools/demo_catalogue.h"

namespace varnel::demo {

namespace {

constexpr std::size_t kPaidInvoicesKept = 32;
constexpr int kRefundPaidPerMille = 500;    // a receipt event pays a refund due
constexpr int kRefundIssuedPerMille = 150;  // a receipt event issues a refund's credit note

// The line a customer brings back: the one of the highest rate, and of those
// the dearest; withholding lines aside.
const SaleLine* ReturnedLine(const std::vector<SaleLine>& lines) {
  const SaleLine* returned = nullptr;
  for (const SaleLine& line : lines) {
    if (line.product == kWithholdingProduct || line.total_cents <= 0) continue;
    const bool dearer =
        returned == nullptr || std::pair(line.vat, line.total_cents) > std::pair(returned->vat, returned->total_cents);
    if (dearer) returned = &line;
  }
  return returned;
}

}  // namespace

DemoReceipts::DemoReceipts(DemoRandom& random, DemoDocumentWriter& writer,
                           DemoDatabaseSummary& summary)
    : m_random(random), m_writer(writer), m_summary(summary) {}

void DemoReceipts::AddOpenInvoice(const Document& invoice) {
  OpenInvoice open{invoice.number, invoice.party, invoice.day, invoice.total_cents,
                   invoice.net_raw, invoice.total_cents, false, {}, invoice.lines,
                   !invoice.has_withholding};
  m_open_invoices.push_back(std::move(open));
}

bool DemoReceipts::IsOpenInFull(std::int64_t invoice_number) const {
  for (const OpenInvoice& invoice : m_open_invoices) {
    if (invoice.number == invoice_number) return !invoice.partly_settled;
  }
  return false;
}

OpenInvoice* DemoReceipts::FindOpenInFull(std::int64_t invoice_number) {
  OpenInvoice* open = nullptr;
  for (OpenInvoice& invoice : m_open_invoices) {
    if (invoice.number == invoice_number && !invoice.partly_settled) open = &invoice;
  }
  return open;
}

void DemoReceipts::Close(std::int64_t invoice_number) {
  std::erase_if(m_open_invoices,
                [&](const OpenInvoice& invoice) { return invoice.number == invoice_number; });
}

bool DemoReceipts::WriteReceipt() {
  if (!m_due_refunds.empty() && m_random.Chance(kRefundPaidPerMille)) {
    WriteRefundReceipt();
    return true;
  }
  if (!m_paid_invoices.empty() && m_random.Chance(kRefundIssuedPerMille)) {
    WriteRefundCreditNote();
    return true;
  }
  if (m_open_invoices.empty()) return false;
  const Party party = m_open_invoices.front().party;
  bool annulled = m_random.Chance(10);
  std::vector<std::size_t> chosen = ChooseInvoices(party);

  std::vector<SettledRow> rows;
  std::vector<std::size_t> settled;
  Document receipt = NewDocument("RC");
  receipt.party = party;
  receipt.payment = PickPayment(m_random);
  receipt.annulled = annulled;
  receipt.receipt_total_cents = 0;
  receipt.receipt_net_raw = 0;
  for (std::size_t index : chosen) SettleInvoice(index, annulled, receipt, rows, settled);
  WriteSettlement(receipt, rows);
  RemovePaid(std::move(settled));
  return true;
}

// The oldest open invoice, and up to two more of the same customer.
std::vector<std::size_t> DemoReceipts::ChooseInvoices(const Party& party) {
  std::vector<std::size_t> chosen{0};
  for (std::size_t i = 1; i < m_open_invoices.size() && i < 30 && chosen.size() < 3; ++i) {
    if (m_open_invoices[i].party.customer == party.customer && m_random.Chance(500)) {
      chosen.push_back(i);
    }
  }
  return chosen;
}

// Adds the open invoice at index (and its credit notes) to the receipt's
// rows and amounts; unless the receipt is annulled, marks it partly settled
// or lists it in settled for removal.
void DemoReceipts::SettleInvoice(std::size_t index, bool annulled, Document& receipt,
                                 std::vector<SettledRow>& rows, std::vector<std::size_t>& settled) {
  OpenInvoice& invoice = m_open_invoices[index];
  std::int64_t amount = invoice.remaining_cents;
  bool partial = invoice.credit_notes.empty() && !invoice.partly_settled &&
                 invoice.total_cents >= 2000 && m_random.Chance(150);
  if (partial) amount = DivideRounded(invoice.total_cents / 2, 100) * 100;
  rows.push_back({"FA", invoice.number, amount});
  *receipt.receipt_total_cents += amount;
  *receipt.receipt_net_raw += DivideRounded(amount * invoice.net_raw, invoice.total_cents);
  for (const OpenCreditNote& note : invoice.credit_notes) {
    rows.push_back({"NC", note.number, note.total_cents});
    *receipt.receipt_total_cents += note.total_cents;
    *receipt.receipt_net_raw += note.net_raw;
  }
  if (annulled) return;  // an annulled receipt settles nothing
  if (partial) {
    invoice.partly_settled = true;
    invoice.remaining_cents -= amount;
  } else {
    settled.push_back(index);
  }
}

// Writes the receipt and one compensacoes row for each document it settles.
void DemoReceipts::WriteSettlement(Document& receipt, const std::vector<SettledRow>& rows) {
  m_writer.Emit(receipt);
  for (const SettledRow& row : rows) {
    m_writer.Settle({{"RC", receipt.number}, {row.column, row.number}}, row.cents, receipt.day);
    ++m_summary.settlements;
  }
}

// Takes the invoices settled in full out of the open ones; those that may
// be refunded are kept among the last paid.
void DemoReceipts::RemovePaid(std::vector<std::size_t> settled) {
  std::sort(settled.rbegin(), settled.rend());
  for (std::size_t index : settled) {
    const auto at = m_open_invoices.begin() + static_cast<std::ptrdiff_t>(index);
    if (at->refundable && at->credit_notes.empty() && !at->partly_settled) {
      m_paid_invoices.push_back(std::move(*at));
      if (m_paid_invoices.size() > kPaidInvoicesKept) m_paid_invoices.pop_front();
    }
    m_open_invoices.erase(at);
  }
}

// A paid invoice's dearest line of its highest rate comes back: its credit
// note is issued, and the refund is due.
void DemoReceipts::WriteRefundCreditNote() {
  const auto at = m_paid_invoices.begin() + static_cast<std::ptrdiff_t>(m_random.Below(m_paid_invoices.size()));
  const OpenInvoice paid = std::move(*at);
  m_paid_invoices.erase(at);
  Document note = NewDocument("NC");
  note.party = paid.party;
  note.payment = PickPayment(m_random);
  if (const SaleLine* returned = ReturnedLine(paid.lines)) {
    SaleLine line = *returned;
    line.quantity_milli = -line.quantity_milli;
    line.discount_cents = -line.discount_cents;
    line.total_cents = -line.total_cents;
    line.net_raw = -line.net_raw;
    note.lines.push_back(std::move(line));
  }
  m_writer.Emit(note);
  m_due_refunds.push_back({note.number, note.party, note.total_cents, note.net_raw});
}

// The customer's invoice open in full with the least VAT in its total, to
// settle with a refund: the refund of a dearer rate then takes more VAT back
// than the invoice brings, and the receipt's net and VAT differ in sign.
std::optional<std::size_t> DemoReceipts::InvoiceToNet(const Party& party) const {
  std::optional<std::size_t> chosen;
  const auto vat_share_below = [](const OpenInvoice& a, const OpenInvoice& b) {
    // (total - net) / total of a below that of b, in whole ten-thousandths.
    const __int128 a_vat = static_cast<__int128>(a.total_cents) * 100 - a.net_raw;
    const __int128 b_vat = static_cast<__int128>(b.total_cents) * 100 - b.net_raw;
    return a_vat * b.total_cents < b_vat * a.total_cents;
  };
  for (std::size_t i = 0; i < m_open_invoices.size(); ++i) {
    const OpenInvoice& invoice = m_open_invoices[i];
    if (invoice.party.customer != party.customer || invoice.partly_settled || !invoice.credit_notes.empty() ||
        invoice.total_cents <= 0) {
      continue;
    }
    if (!chosen || vat_share_below(invoice, m_open_invoices[*chosen])) chosen = i;
  }
  return chosen;
}

// The oldest refund due is paid back: by a receipt of its own, or with an
// invoice of the same customer still open in full, by one receipt for both.
void DemoReceipts::WriteRefundReceipt() {
  const DueRefund refund = m_due_refunds.front();
  Document receipt = NewDocument("RC");
  receipt.party = refund.party;
  receipt.payment = PickPayment(m_random);
  receipt.annulled = m_random.Chance(10);
  receipt.receipt_total_cents = 0;
  receipt.receipt_net_raw = 0;
  std::vector<SettledRow> rows;
  std::vector<std::size_t> settled;
  if (const auto index = InvoiceToNet(refund.party)) SettleInvoice(*index, receipt.annulled, receipt, rows, settled);
  rows.push_back({"NC", refund.note_number, refund.total_cents});
  *receipt.receipt_total_cents += refund.total_cents;
  *receipt.receipt_net_raw += refund.net_raw;
  WriteSettlement(receipt, rows);
  if (receipt.annulled) return;  // still due
  m_due_refunds.pop_front();
  RemovePaid(std::move(settled));
}

}  // namespace varnel::demo
