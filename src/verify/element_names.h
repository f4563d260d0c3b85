// The elements of an audit file the checks look at, as small numbers, and the
// look-up from libxml2's element names to them. libxml2 interns every name in
// the reader's dictionary, so after the first sight of a name the look-up is
// a pointer comparison in a small table rather than a string comparison.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace varnel::verify {

// X(name, holds_value): holds_value when the element's text is read.
#define VARNEL_AUDIT_ELEMENTS(X)                                                                        \
  X(AuditFile, false) X(Header, false) X(MasterFiles, false) X(Customer, false) X(Supplier, false)     \
  X(Product, false) X(TaxTable, false) X(TaxTableEntry, false) X(BillingAddress, false)                \
  X(GeneralLedgerAccounts, false) X(Account, false) X(SourceDocuments, false) X(SalesInvoices, false)  \
  X(MovementOfGoods, false) X(WorkingDocuments, false) X(Payments, false) X(Invoice, false)            \
  X(StockMovement, false) X(WorkDocument, false) X(Payment, false) X(DocumentStatus, false)            \
  X(Line, false) X(OrderReferences, false) X(References, false) X(SourceDocumentID, false)             \
  X(Tax, false) X(DocumentTotals, false) X(Settlement, false) X(Currency, false)                       \
  X(WithholdingTax, false)                                                                              \
  X(AuditFileVersion, true) X(TaxRegistrationNumber, true) X(StartDate, true) X(EndDate, true)         \
  X(CustomerID, true) X(CustomerTaxID, true) X(Country, true) X(SupplierID, true)                      \
  X(SupplierTaxID, true) X(ProductCode, true) X(TaxType, true) X(TaxCountryRegion, true)               \
  X(TaxCode, true) X(TaxPercentage, true) X(TaxAmount, true) X(NumberOfEntries, true)                  \
  X(TotalDebit, true) X(TotalCredit, true) X(NumberOfMovementLines, true)                              \
  X(TotalQuantityIssued, true) X(InvoiceNo, true) X(DocumentNumber, true) X(PaymentRefNo, true)        \
  X(InvoiceStatus, true) X(MovementStatus, true) X(WorkStatus, true) X(PaymentStatus, true)            \
  X(InvoiceStatusDate, true) X(MovementStatusDate, true) X(WorkStatusDate, true)                       \
  X(PaymentStatusDate, true) X(Hash, true) X(HashControl, true) X(InvoiceDate, true)                   \
  X(MovementDate, true) X(WorkDate, true) X(TransactionDate, true) X(InvoiceType, true)                \
  X(MovementType, true) X(WorkType, true) X(PaymentType, true) X(SystemEntryDate, true)                \
  X(OriginatingON, true) X(Quantity, true) X(UnitPrice, true) X(TaxBase, true)                         \
  X(DebitAmount, true) X(CreditAmount, true) X(SettlementAmount, true) X(TaxPayable, true)             \
  X(NetTotal, true) X(GrossTotal, true) X(CurrencyAmount, true) X(ExchangeRate, true)                  \
  X(WithholdingTaxAmount, true) X(ATCUD, true) X(TaxExemptionReason, true) X(TaxExemptionCode, true)   \
  X(AccountID, true) X(GroupingCategory, true) X(GroupingCode, true) X(TaxonomyCode, true)          \
  X(SoftwareCertificateNumber, true) X(SourceBilling, true)

enum class Element : std::uint8_t {
  Other,
#define VARNEL_ELEMENT_ENUM(name, value) name,
  VARNEL_AUDIT_ELEMENTS(VARNEL_ELEMENT_ENUM)
#undef VARNEL_ELEMENT_ENUM
};

// Whether the checks read the text of the element.
bool HoldsValue(Element element);

// Maps element names to Elements; names are remembered by their address, so
// the table must not outlive the reader whose dictionary holds them.
class ElementNames {
 public:
  Element Find(const unsigned char* local_name);

 private:
  std::unordered_map<const unsigned char*, Element> m_seen;
};

}  // namespace varnel::verify
