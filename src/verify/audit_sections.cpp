// The names of the audit file's sections and of their documents' dates.
#include "verify/audit_sections.h"

namespace varnel::verify {

const char* SectionName(SectionId section) {
  switch (section) {
    case SectionId::Header: return "Header";
    case SectionId::MasterFiles: return "MasterFiles";
    case SectionId::SalesInvoices: return "SalesInvoices";
    case SectionId::MovementOfGoods: return "MovementOfGoods";
    case SectionId::WorkingDocuments: return "WorkingDocuments";
    case SectionId::Payments: return "Payments";
    case SectionId::None: break;
  }
  return "Ficheiro";
}

const char* DateName(SectionId section) {
  switch (section) {
    case SectionId::SalesInvoices: return "InvoiceDate";
    case SectionId::MovementOfGoods: return "MovementDate";
    case SectionId::WorkingDocuments: return "WorkDate";
    default: return "TransactionDate";
  }
}

const char* StatusDateName(SectionId section) {
  switch (section) {
    case SectionId::SalesInvoices: return "InvoiceStatusDate";
    case SectionId::MovementOfGoods: return "MovementStatusDate";
    case SectionId::WorkingDocuments: return "WorkStatusDate";
    default: return "PaymentStatusDate";
  }
}

}  // namespace varnel::verify
