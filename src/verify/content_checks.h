// The checks of an audit file's content, fed element by element as the
// reader streams the file: the master files' codes are gathered into sets,
// each document is checked when it closes (its totals against its lines, its
// references, dates and signature), each section's control totals when the
// section closes, and numbering and cross-references at the end. Nothing is
// kept per line; per document only its number, as a 32-bit integer of its
// series.
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
#include "verify/decimal_amount.h"
#include "verify/document_numbers.h"
#include "verify/element_names.h"
#include "verify/finding_list.h"
#include "verify/schema_versions.h"
#include "verify/version_rule_checks.h"

namespace varnel::verify {

enum class SectionId { None, Header, MasterFiles, SalesInvoices, MovementOfGoods, WorkingDocuments, Payments };

const char* SectionName(SectionId section);

class ContentChecks {
 public:
  // version may be null (a namespace no version has): then the rules of the
  // first known version apply.
  ContentChecks(const SchemaVersion* version, FindingList& findings, VerificationSummary& summary);

  void StartElement(Element element);
  void EndElement();
  // Text of the innermost element; may come in several pieces.
  void Text(std::string_view text);
  bool WantsText() const { return m_collect_text; }

  // Documents (invoices, working documents, payments) closed so far.
  int documents() const { return m_documents; }

  // The end-of-file checks: numbering, references to documents, the
  // summary. Call once, only when the whole file was read.
  void Finish(const VerificationOptions& options);

  // Whether the file lists no products while its lines name product codes:
  // the Resumido type.
  bool summarized() const { return !m_has_products && m_product_code_lines > 0; }
  std::uint64_t product_code_lines() const { return m_product_code_lines; }
  std::size_t customer_reference_findings() const { return m_customer_reference_findings; }
  std::size_t product_reference_findings() const { return m_product_reference_findings; }
  std::size_t duplicate_number_findings() const { return m_duplicate_number_findings; }

 private:
  struct SectionState {
    std::optional<DecimalAmount> declared_debit;
    std::optional<DecimalAmount> declared_credit;
    std::string declared_entries;  // the text as written
    bool has_entries = false;
    std::uint64_t documents = 0;
    DecimalAmount debit;
    DecimalAmount credit;
  };
  struct LineState {
    std::optional<DecimalAmount> debit;
    std::optional<DecimalAmount> credit;
    bool has_tax = false;
    std::string tax_type;
    std::string tax_region;
    std::string tax_code;
    std::optional<DecimalAmount> tax_percentage;
    std::optional<DecimalAmount> tax_amount;
    bool unreadable_tax = false;
  };
  struct DocumentState {
    bool active = false;
    std::string number;
    std::string status;
    std::string type;
    std::string customer;
    std::string hash;
    bool has_hash = false;
    bool has_hash_control = false;
    bool has_status_date = false;
    std::string date;
    std::string system_entry;
    DecimalAmount debit;
    DecimalAmount credit;
    DecimalAmount tax;  // lines' tax, credit lines positive
    std::optional<DecimalAmount> tax_payable;
    std::optional<DecimalAmount> net_total;
    std::optional<DecimalAmount> gross_total;
    std::vector<std::string> missing_taxes;    // reported once each per document
    std::vector<std::string> missing_products;
    int lines = 0;
  };
  using VatKey = std::tuple<std::string, std::string, std::string>;
  struct VatSums {
    DecimalAmount taxable;
    DecimalAmount vat;
  };

  Element Up(std::size_t levels) const;
  void EndValue(Element element, Element parent);
  void EndContainer(Element element);
  void HeaderValue(Element element);
  void MasterValue(Element element, Element parent);
  void DocumentValue(Element element, Element parent);
  void LineValue(Element element, Element parent);
  void StartDocument();
  void EndLine();
  void EndDocument();
  void EndSection(SectionId section);
  void CheckTaxpayer(const std::string& number, const std::string& country, const char* what,
                     const std::string& code, bool company);
  void ReportNumbering(SectionId section, const DocumentNumberIndex& index);
  void ReportReferencesToDocuments();
  void Add(FindingKind kind, FindingSeverity severity, std::string message);
  void AddForDocument(FindingKind kind, FindingSeverity severity, std::string message);
  SectionState& CurrentSectionState();
  DocumentNumberIndex* CurrentIndex();
  std::optional<DecimalAmount> Amount(const char* element_name);

  const SchemaVersion* m_version;
  FindingList& m_findings;
  VerificationSummary& m_summary;
  VersionRuleChecks m_version_rules;

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

  // SourceDocuments
  SectionState m_sales;
  SectionState m_working;
  SectionState m_payments;
  DocumentNumberIndex m_invoice_numbers;
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
  std::size_t m_product_reference_findings = 0;
  std::size_t m_duplicate_number_findings = 0;
  std::uint64_t m_unnumbered_documents = 0;
};

}  // namespace varnel::verify
