// The invoices sold on credit and the receipts (RC) that settle them, and the
// refunds that receipts pay back. A receipt takes the oldest open invoice and
// now and then up to two more of the same customer, and writes one
// compensacoes row for each invoice and credit note it settles; an annulled
// receipt writes its rows but settles nothing. Refunds: goods of an invoice
// already paid come back, a credit note (NC) is issued for its dearest line,
// and a later receipt either pays the amount back on its own (a receipt on
// the debit side) or, when the customer has an invoice open, settles the
// invoice and the credit note together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "tools/demo_database.h"
#include "tools/demo_document.h"
#include "tools/demo_document_writer.h"
#include "tools/demo_random.h"

namespace varnel::demo {

struct OpenCreditNote {
  std::int64_t number;
  std::int64_t total_cents;  // negative
  std::int64_t net_raw;
};

struct OpenInvoice {
  std::int64_t number;
  Party party;
  std::int64_t day;
  std::int64_t total_cents;
  std::int64_t net_raw;
  std::int64_t remaining_cents;
  bool partly_settled = false;
  std::vector<OpenCreditNote> credit_notes;
  std::vector<SaleLine> lines;  // for a refund once it is paid
  bool refundable = false;      // paid in full it may be refunded (no withholding line)
};

// An invoice on credit, from its sale on:
//   1. open in full: a credit note for less than it is joins it (and is
//      settled with it); one for all of it closes it;
//   2. partly settled, after a receipt for its first half: a later receipt
//      settles the rest;
//   3. closed: settled in full, or credited in full; settled in full, and
//      with nothing credited, it may be refunded: 4. below.
// A refund's credit note, from its issue on:
//   4. due: a receipt event pays it back (5.) or settles it with an invoice
//      of the same customer still open in full (6.);
//   5. refunded by a receipt of its own, whose amounts are negative;
//   6. netted: one receipt settles both, its amount the difference.
class DemoReceipts {
 public:
  DemoReceipts(DemoRandom& random, DemoDocumentWriter& writer, DemoDatabaseSummary& summary);

  // An invoice just written on credit, open for its whole total.
  void AddOpenInvoice(const Document& invoice);
  // Whether the invoice of that number is open and nothing of it settled.
  bool IsOpenInFull(std::int64_t invoice_number) const;
  // The open invoice of that number with nothing of it settled, or nullptr;
  // valid until the next change of the open invoices.
  OpenInvoice* FindOpenInFull(std::int64_t invoice_number);
  // The invoice of that number is settled by other means (fully credited).
  void Close(std::int64_t invoice_number);

  // One receipt event writes one document: a refund's receipt when one is
  // due (now and then), else now and then a refund's credit note for a
  // paid invoice, else a receipt settling open invoices. False (and nothing
  // written) when there is nothing to do.
  bool WriteReceipt();

 private:
  // One compensacoes row of a receipt: the column is FA or NC.
  struct SettledRow {
    const char* column;
    std::int64_t number;
    std::int64_t cents;
  };
  struct DueRefund {
    std::int64_t note_number;
    Party party;
    std::int64_t total_cents;  // negative
    std::int64_t net_raw;      // negative
  };
  std::vector<std::size_t> ChooseInvoices(const Party& party);
  void SettleInvoice(std::size_t index, bool annulled, Document& receipt,
                     std::vector<SettledRow>& rows, std::vector<std::size_t>& settled);
  void WriteSettlement(Document& receipt, const std::vector<SettledRow>& rows);
  void RemovePaid(std::vector<std::size_t> settled);
  std::optional<std::size_t> InvoiceToNet(const Party& party) const;
  void WriteRefundReceipt();
  void WriteRefundCreditNote();

  DemoRandom& m_random;
  DemoDocumentWriter& m_writer;
  DemoDatabaseSummary& m_summary;
  std::deque<OpenInvoice> m_open_invoices;  // oldest first
  std::deque<OpenInvoice> m_paid_invoices;  // the last ones paid in full that may be refunded, oldest first
  std::deque<DueRefund> m_due_refunds;      // oldest first
};

}  // namespace varnel::demo
