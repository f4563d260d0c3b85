// What a document's number and type must agree on across the whole file:
//   - an internal document code (the number's text before its blank: "FT"
//     of "FT A/15") names one document type in one section; a code seen
//     with a second type, or in a second section, is one error per code
//     (a receipt's PaymentType, RC or RG, is its VAT scheme, not a type);
//   - the side a document's lines sum to suits its type: credit notes,
//     return tickets and asset returns (NC, TD, DA) on the debit side, the
//     other sales and the working documents on the credit side; documents
//     of a type on the other side are one warning per type with their count.
// Memory: one entry per internal code and per type.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "verify/audit_sections.h"
#include "verify/document_amounts.h"
#include "verify/finding_list.h"

namespace varnel::verify {

class DocumentTypeChecks {
 public:
  explicit DocumentTypeChecks(FindingList& findings) : m_findings(findings) {}

  void EndDocument(SectionId section, const std::string& number, const std::string& type, DocumentSide side);
  // The gathered findings; once, at the end of the file.
  void Finish();

 private:
  struct CodeUse {
    SectionId section;
    std::string type;
    std::string first_document;
    bool reported = false;
  };
  struct Gathered {
    SectionId section;
    std::string first_document;
    std::uint64_t count = 0;
  };
  void CheckCode(SectionId section, const std::string& number, const std::string& type);

  FindingList& m_findings;
  std::map<std::string, CodeUse, std::less<>> m_codes;
  std::map<std::string, Gathered> m_wrong_side;  // type -> documents
};

}  // namespace varnel::verify
