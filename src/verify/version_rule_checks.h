// The rules a SAF-T (PT) version adds beyond its schema, fed by the content
// checks as each document closes:
//   - (1.04_01) every document's ATCUD: "0" or "<validation code>-<sequence
//     number>", the number the document's own, one code per series; "0" on
//     a document dated from 1 January 2023 is an error naming the series to
//     configure;
//   - (1.04_01) a credit note refers to the document it corrects: credit
//     notes without References on any line are one warning with their count;
//   - (both versions) document types no longer valid on the document's date
//     (TV, VD, TD, AA and DA after 2012, DC after June 2017) as warnings:
//     the type comes from the point-of-sale document, not from the export.
// Findings that would repeat document after document (a series without its
// code, a retired type, credit notes without references) are gathered and
// reported once each at the end with their count and first document.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "verify/audit_sections.h"
#include "verify/element_names.h"
#include "verify/finding_list.h"
#include "verify/schema_versions.h"

namespace varnel::verify {

// A closing document, as these rules need it.
struct DocumentFacts {
  SectionId section;
  const std::string& number;
  const std::string& type;  // InvoiceType, MovementType, WorkType or PaymentType
  const std::string& date;  // "YYYY-MM-DD"
  bool has_references;      // References on some line
};

class VersionRuleChecks {
 public:
  VersionRuleChecks(const SchemaVersion& version, FindingList& findings);

  void StartDocument();
  // A value directly inside the open document (its ATCUD).
  void Value(Element element, std::string_view text);
  void EndDocument(const DocumentFacts& document);
  // The gathered findings. Call once, at the end of the file.
  void Finish();

 private:
  struct Gathered {
    std::string section;
    std::string first_document;
    std::uint64_t count = 0;
  };
  void CheckAtcud(const DocumentFacts& document);
  static void Gather(std::map<std::string, Gathered>& into, const std::string& key, const char* section,
                     const std::string& document);

  const SchemaVersion& m_version;
  FindingList& m_findings;

  std::optional<std::string> m_atcud;  // of the open document

  std::map<std::string, std::string> m_series_codes;        // "FT A" -> the first validation code seen
  std::map<std::string, Gathered> m_series_without_code;    // "FT A" -> documents from 2023 with "0"
  std::map<std::string, Gathered> m_retired_types;          // "TV" -> documents
  std::map<std::string, Gathered> m_unreferenced_credit_notes;  // "NC" -> credit notes without References
};

}  // namespace varnel::verify
