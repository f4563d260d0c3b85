// The sections of an audit file the verifier tells apart, and for each
// document section the names its documents use: the element of a document,
// of its date and of its status date. Findings name a section by the
// element's own name ("SalesInvoices"), or "Ficheiro" outside them.
#pragma once

namespace varnel::verify {

enum class SectionId { None, Header, MasterFiles, SalesInvoices, MovementOfGoods, WorkingDocuments, Payments };

const char* SectionName(SectionId section);
// "InvoiceDate", "MovementDate", "WorkDate", "TransactionDate".
const char* DateName(SectionId section);
// "InvoiceStatusDate", "MovementStatusDate", "WorkStatusDate", "PaymentStatusDate".
const char* StatusDateName(SectionId section);

}  // namespace varnel::verify
