// Keeps the open invoices and writes the receipts that settle them. A
// receipt's total is the sum of what it settles (credit notes negative) and
// its net amount each invoice's share of its own net, rounded to the
// ten-thousandth; a half settlement is rounded to whole euros. The draws of
// a receipt come in a fixed order: annulled, the other invoices, payment,
// then each invoice's half settlement, then its stamp and signature.
#include "tools/demo_receipts.h"

#include <algorithm>
#include <utility>

namespace varnel::demo {

DemoReceipts::DemoReceipts(DemoRandom& random, DemoDocumentWriter& writer,
                           DemoDatabaseSummary& summary)
    : m_random(random), m_writer(writer), m_summary(summary) {}

void DemoReceipts::AddOpenInvoice(const Document& invoice) {
  m_open_invoices.push_back({invoice.number, invoice.party, invoice.day, invoice.total_cents,
                             invoice.net_raw, invoice.total_cents, false, {}});
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
  m_writer.Emit(receipt);
  for (const SettledRow& row : rows) {
    m_writer.Settle({{"RC", receipt.number}, {row.column, row.number}}, row.cents, receipt.day);
    ++m_summary.settlements;
  }
  std::sort(settled.rbegin(), settled.rend());
  for (std::size_t index : settled) {
    m_open_invoices.erase(m_open_invoices.begin() + static_cast<std::ptrdiff_t>(index));
  }
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

}  // namespace varnel::demo
