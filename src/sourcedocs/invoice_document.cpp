// Reading one row of the sales document query into an InvoiceDocument.
#include "sourcedocs/invoice_document.h"

#include "base/value_routines.h"
#include "posdb/pos_database.h"

namespace varnel {

InvoiceDocument ReadInvoiceDocument(const PosQuery& q_doc) {
  InvoiceDocument document;
  document.doc = q_doc.AsText("doc");
  document.trimmed_doc = TrimBlanks(document.doc);
  document.numero = q_doc.AsInteger("numero");
  document.data = q_doc.AsDateTime("data");
  document.datahora = q_doc.AsDateTime("datahora");
  document.cliente = q_doc.AsInteger("cliente");
  document.cliente_text = q_doc.AsText("cliente");
  document.total = q_doc.AsCurrency("total");
  document.anulado = q_doc.AsBoolean("anulado");
  document.hash = q_doc.AsText("hash");
  document.hashcontrol = q_doc.AsText("hashcontrol");
  document.signed_number = q_doc.AsText("saftsign");
  document.emp = q_doc.AsText("emp");
  document.cash_vat_scheme = q_doc.AsInteger("CashVATScheme");
  document.type = MapDocumentType(document.trimmed_doc);
  return document;
}

}  // namespace varnel
