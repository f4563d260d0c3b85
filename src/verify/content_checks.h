// The checks of an audit file's content, fed element by element as the
// reader streams the file: the master files' codes are gathered into sets,
// each document is checked when it closes (its totals against its lines, its
// references, dates and signature), each section's control totals when the
// section closes, and numbering and cross-references at the end. Nothing is
// kept per line; per document only its number, as a 32-bit integer of its
// series. The four document sections (SalesInvoices, MovementOfGoods,
// WorkingDocuments, Payments) share one document machinery; a document is
// the element that opened it, at its depth, so an element of the same name
// inside it (an invoice's DocumentTotals/Payment) neither opens nor closes one.
// When a signature chain is given, each closed document of SalesInvoices,
// MovementOfGoods and WorkingDocuments hands it the values its Hash signs,
// so the chain is checked from this same pass.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "verify/audit_file_verifier.h"
#include "verify/audit_sections.h"
#include "verify/decimal_amount.h"
#include "verify/document_amounts.h"
#include "verify/document_numbers.h"
#include "verify/document_type_checks.h"
#include "verify/element_names.h"
#include "verify/finding_list.h"
#include "verify/schema_assertions.h"
#include "verify/schema_versions.h"
#include "verify/section_totals.h"
#include "verify/version_rule_checks.h"

namespace varnel::verify {

class QueuedSignatureChain;

class ContentChecks {
 public:
  // version may be null (a namespace no version has): then the rules of the
  // first known version apply. signatures, when given, gets the signed
  // documents and the Header's certificate number as they are read; it must
  // outlive the checks.
  ContentChecks(const SchemaVersion* version, FindingList& findings, VerificationSummary& summary,
                QueuedSignatureChain* signatures = nullptr);

  void StartElement(Element element);
  void EndElement();
  // Text of the innermost element; may come in several pieces.
  void Text(std::string_view text);
  bool WantsText() const { return m_collect_text; }

  // Documents (invoices, stock movements, working documents, payments)
  // closed so far.
  int documents() const { return m_documents; }

  // The end-of-file checks: numbering, references to documents, the
  // summary. Call once, only when the whole file was read.
  void Finish(const VerificationOptions& options);

  // Whether the file lists no products while its lines name product codes:
  // the Resumido type.
  bool summarized() const { return !m_has_products && m_product_code_lines > 0; }
  std::uint64_t product_code_lines() const { return m_product_code_lines; }
  std::size_t customer_reference_findings() const { return m_customer_reference_findings; }
  std::size_t supplier_reference_findings() const { return m_supplier_reference_findings; }
  std::size_t product_reference_findings() const { return m_product_reference_findings; }
  std::size_t duplicate_number_findings() const { return m_duplicate_number_findings; }

 private:
  struct DocumentState {
    bool active = false;
    std::size_t depth = 0;  // the element stack's size with the document's own element on top
    std::string number;
    std::string status;
    std::string type;
    std::string customer;
    std::string supplier;
    bool has_customer = false;
    bool has_supplier = false;
    std::string hash;
    bool has_hash = false;
    bool has_hash_control = false;
    // For the signature chain: HashControl as written (absent: nothing),
    // DocumentStatus/SourceBilling and DocumentTotals/GrossTotal as written.
    std::optional<std::string> hash_control;
    std::string source_billing;
    std::string gross_total;
    bool has_status_date = false;
    std::string date;
    std::string system_entry;
    DocumentAmounts amounts;
    DecimalAmount quantity;  // the lines' Quantity
    bool has_references = false;
    std::vector<std::string> missing_taxes;  // reported once each per document
    std::vector<std::string> missing_products;
    int lines = 0;
  };
  using VatKey = std::tuple<std::string, std::string, std::string>;
  struct VatSums {
    DecimalAmount taxable;
    DecimalAmount vat;
  };

  Element Up(std::size_t levels) const;
  // How deep below the open document the closing value's parent stands: 0
  // when the value is the document's own child.
  std::size_t DocumentLevel() const { return m_stack.size() - m_document.depth; }
  void EndValue(Element element, Element parent);
  void EndContainer(Element element);
  void SectionValue(Element element);
  void HeaderValue(Element element);
  void MasterValue(Element element, Element parent);
  void RecordValue(Element element, Element parent);
  void DocumentValue(Element element);
  void DocumentPartValue(Element element, Element parent);
  void LineValue(Element element);
  void LineAmountValue(Element element);
  void ProductReference();
  void LinePartValue(Element element, Element parent);
  void StartDocument();
  void EndLine();
  void LineTaxReferenceAndSummary(const LineState& line, const LineTax& tax);
  void EndDocument();
  void CheckCounterpart(const DocumentState& d);
  void CheckDates(const DocumentState& d);
  void CheckSignature(const DocumentState& d);
  void HandToSignatureChain(DocumentState& d);
  void EndSection(SectionId section);
  void CheckTaxpayer(const std::string& number, const std::string& country, const char* what,
                     const std::string& code, bool company);
  void ReportNumbering(SectionId section, const DocumentNumberIndex& index);
  void ReportReferencesToDocuments();
  bool IsInFile(const std::string& series, std::uint32_t number) const;
  void Add(FindingKind kind, FindingSeverity severity, std::string message);
  void AddForDocument(FindingKind kind, FindingSeverity severity, std::string message);
  SectionTotals* CurrentTotals();
  DocumentNumberIndex* CurrentIndex();
  // The collected text as an amount; an unreadable one is reported (for the
  // open document when there is one).
  std::optional<DecimalAmount> Amount(const char* element_name);

  const SchemaVersion* m_version;
  FindingList& m_findings;
  VerificationSummary& m_summary;
  QueuedSignatureChain* m_signatures;
  VersionRuleChecks m_version_rules;
  SchemaAssertions m_assertions;
  DocumentTypeChecks m_type_checks;

  std::vector<Element> m_stack;
  std::string m_text;
  bool m_collect_text = false;
  SectionId m_section = SectionId::None;
  int m_documents = 0;

  // Header
  std::optional<int> m_start_date;
  std::optional<int> m_end_date;
  std::string m_start_text;
  std::string m_end_text;

  // MasterFiles
  std::unordered_set<std::string> m_customers;
  std::unordered_set<std::string> m_products;
  std::unordered_set<std::string> m_suppliers;
  std::set<std::string, std::less<>> m_tax_entries;  // "type|region|code"
  bool m_has_products = false;
  std::string m_code;  // CustomerID / SupplierID of the open record
  std::string m_tax_id;
  std::string m_country;
  std::string m_entry_type;
  std::string m_entry_region;
  std::string m_entry_code;
  AccountState m_account;

  // SourceDocuments
  SectionTotals m_sales;
  SectionTotals m_movements;
  SectionTotals m_working;
  SectionTotals m_payments;
  DocumentNumberIndex m_invoice_numbers;
  DocumentNumberIndex m_movement_numbers;
  DocumentNumberIndex m_work_numbers;
  DocumentNumberIndex m_payment_numbers;
  DocumentState m_document;
  LineState m_line;
  std::map<VatKey, VatSums> m_vat;
  std::uint64_t m_product_code_lines = 0;

  // References to other documents, resolved at the end: the order
  // references per section of the referring document, as series and number.
  std::map<std::pair<SectionId, std::string>, std::vector<std::uint32_t>, std::less<>> m_order_references;
  std::map<SectionId, std::vector<std::string>> m_unreadable_order_references;  // first few texts
  std::map<SectionId, std::uint64_t> m_unreadable_order_reference_count;
  std::uint64_t m_payment_references_absent = 0;
  std::vector<std::string> m_payment_reference_examples;

  std::size_t m_customer_reference_findings = 0;
  std::size_t m_supplier_reference_findings = 0;
  std::size_t m_product_reference_findings = 0;
  std::size_t m_duplicate_number_findings = 0;
  std::uint64_t m_unnumbered_documents = 0;
};

}  // namespace varnel::verify
