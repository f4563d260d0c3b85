// One sales document as the invoice loop reads it from the current row of the
// document query, and the two sums its lines keep. The row is read once,
// when the Invoice is opened, so the document query can stream (it moves on
// only after the Invoice is closed) and no column is read twice.
#pragma once

#include <cstdint>
#include <string>

#include "base/currency.h"
#include "base/date_time.h"
#include "sourcedocs/control_totals.h"
#include "sourcedocs/document_numbering.h"

namespace varnel {

class PosQuery;

struct InvoiceDocument {
  std::string doc;          // as read: bound to the line query as it stands
  std::string trimmed_doc;  // for the type mapping and the compensation rows
  std::int64_t numero = 0;
  DateTime data;
  DateTime datahora;
  std::int64_t cliente = 0;
  std::string cliente_text;
  Currency total;
  bool anulado = false;
  std::string hash;
  std::string hashcontrol;
  std::string signed_number;  // saftsign
  std::string emp;
  std::int64_t cash_vat_scheme = 0;
  DocumentType type;

  // Credit notes subtract their lines, withholding and total.
  bool is_credit_note() const { return type.number_prefix == "NC"; }
};

// Reads the current row of the document query (either generation's variant).
InvoiceDocument ReadInvoiceDocument(const PosQuery& q_doc);

// What the lines of one document leave for its totals.
struct InvoiceSums {
  Currency net;          // NetTotal: sale lines, sign by document type
  Currency withholding;  // the withholding lines (product code -999)
  LineSums written;      // the DebitAmount and CreditAmount written
};

}  // namespace varnel
