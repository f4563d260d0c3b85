// The nineteen assertions of the 1.04_01 schema (the tax authority's
// revision of 2022-05-17), which libxml2 cannot run, checked in code as
// accounts, lines and receipts close. Each has its own message.
//   General ledger accounts, where the file has them:
//     1. TaxonomyCode exactly on the accounts of GroupingCategory GM;
//     2. no GroupingCode for GR and AR, a GroupingCode for GA, AA, GM and AM.
//   Lines of invoices (3-7), stock movements (8-9), working documents
//   (10-14) and receipts (15-18):
//     - TaxAmount 0 exactly with a TaxExemptionReason (not stock movements);
//     - TaxPercentage 0 exactly with a TaxExemptionReason;
//     - TaxExemptionReason and TaxExemptionCode together;
//     - a line with TaxBase has UnitPrice 0 (invoices, working documents);
//     - and its DebitAmount or CreditAmount 0 (invoices, working documents);
//     - every line of a cash VAT receipt (PaymentType RC) carries Tax.
//   Receipts:
//    19. a receipt of PaymentType RC carries Tax on a line; an RG receipt
//        may or may not (the 2016 wording, read literally, failed every RC
//        receipt, and a reading of it that refused Tax on RG receipts was
//        wrong too).
// A reason without its code repeats line after line: it is gathered per
// section and norm and reported once with its count.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "verify/audit_sections.h"
#include "verify/document_amounts.h"
#include "verify/finding_list.h"

namespace varnel::verify {

// One account of GeneralLedgerAccounts as read.
struct AccountState {
  std::string id;
  std::string grouping_category;
  bool has_grouping_code = false;
  bool has_taxonomy_code = false;
};

class SchemaAssertions {
 public:
  explicit SchemaAssertions(FindingList& findings) : m_findings(findings) {}

  void EndAccount(const AccountState& account);
  void StartDocument();
  void EndLine(SectionId section, const std::string& document, int line_number, const LineState& line);
  // payment_type is the receipt's PaymentType, "" elsewhere.
  void EndDocument(SectionId section, const std::string& document, const std::string& payment_type);
  // The gathered findings; once, at the end of the file.
  void Finish();

 private:
  struct Gathered {
    std::string first_document;
    std::uint64_t count = 0;
  };
  void Add(FindingKind kind, SectionId section, const std::string& document, std::string message) {
    m_findings.Add(kind, FindingSeverity::Error, SectionName(section), document, std::move(message));
  }
  void CheckExemption(SectionId section, const std::string& document, const std::string& line_name,
                      const LineState& line);
  void CheckTaxBase(SectionId section, const std::string& document, const std::string& line_name,
                    const LineState& line);

  FindingList& m_findings;
  // The open receipt.
  int m_lines_without_tax = 0;
  bool m_any_tax_type = false;
  std::map<std::pair<SectionId, std::string>, Gathered> m_norms_without_code;
};

}  // namespace varnel::verify
