// The invoices sold on credit and the receipts (RC) that settle them. A
// receipt takes the oldest open invoice and now and then up to two more of
// the same customer, and writes one compensacoes row for each invoice and
// credit note it settles; an annulled receipt writes its rows but settles
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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
};

// An invoice on credit, from its sale on:
//   1. open in full: a credit note for less than it is joins it (and is
//      settled with it); one for all of it closes it;
//   2. partly settled, after a receipt for its first half: a later receipt
//      settles the rest;
//   3. closed: settled in full, or credited in full.
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

  // Writes one receipt; false (and nothing written) with no open invoice.
  bool WriteReceipt();

 private:
  // One compensacoes row of a receipt: the column is FA or NC.
  struct SettledRow {
    const char* column;
    std::int64_t number;
    std::int64_t cents;
  };
  std::vector<std::size_t> ChooseInvoices(const Party& party);
  void SettleInvoice(std::size_t index, bool annulled, Document& receipt,
                     std::vector<SettledRow>& rows, std::vector<std::size_t>& settled);

  DemoRandom& m_random;
  DemoDocumentWriter& m_writer;
  DemoDatabaseSummary& m_summary;
  std::deque<OpenInvoice> m_open_invoices;  // oldest first
};

}  // namespace varnel::demo
