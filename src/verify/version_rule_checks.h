// The rules a SAF-T (PT) version adds that its schema copy cannot check,
// fed by the content checks as each line and document closes. For 1.04_01:
//   - every document's ATCUD: "0" or "<validation code>-<sequence number>",
//     the number the document's own, one code per series; "0" on a document
//     dated from 1 January 2023 is an error naming the series to configure;
//   - a line's TaxExemptionReason and TaxExemptionCode exactly when its rate
//     is 0, both together; a reason without a code names the norm to map;
//   - Tax on payment lines only for PaymentType RC (and always there);
//   - document types no longer valid on the document's date (TV and VD after
//     2012, DC after June 2017) as warnings: the type comes from the
//     point-of-sale document, not from the export.
// Findings that would repeat document after document (a series without its
// code, a norm without its code, a retired type) are gathered and reported
// once each at the end with their count and first document.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "verify/decimal_amount.h"
#include "verify/element_names.h"
#include "verify/finding_list.h"
#include "verify/schema_versions.h"

namespace varnel::verify {

class VersionRuleChecks {
 public:
  VersionRuleChecks(const SchemaVersion& version, FindingList& findings);

  // Whether the version has any rule here; when not, nothing need be fed.
  bool active() const { return m_active; }

  void StartDocument();
  // A value inside the open document: its ATCUD, a line's exemption.
  void Value(Element element, Element parent, std::string_view text);
  // A line closed: whether it had Tax and its rate (TaxPercentage, else
  // TaxAmount), when readable.
  void EndLine(const char* section, const std::string& document, int line_number, bool has_tax,
               std::optional<DecimalAmount> rate);
  // A document closed: its number, its InvoiceType / WorkType / PaymentType
  // and its date ("YYYY-MM-DD").
  void EndDocument(const char* section, const std::string& document, const std::string& type,
                   const std::string& date);
  // The gathered findings. Call once, at the end of the file.
  void Finish();

 private:
  struct Gathered {
    std::string section;
    std::string first_document;
    std::uint64_t count = 0;
  };
  void CheckAtcud(const char* section, const std::string& document, const std::string& date);
  void CheckRetiredType(const char* section, const std::string& document, const std::string& type,
                        const std::string& date);
  static void Gather(std::map<std::string, Gathered>& into, const std::string& key, const char* section,
                     const std::string& document);

  const SchemaVersion& m_version;
  FindingList& m_findings;
  bool m_active;

  // The open document and line.
  std::optional<std::string> m_atcud;
  std::optional<std::string> m_reason;
  std::optional<std::string> m_code;
  int m_lines_with_tax = 0;
  int m_lines = 0;

  std::map<std::string, std::string> m_series_codes;        // "FT A" -> the first validation code seen
  std::map<std::string, Gathered> m_series_without_code;    // "FT A" -> documents from 2023 with "0"
  std::map<std::string, Gathered> m_norms_without_code;     // the reason's text -> lines
  std::map<std::string, Gathered> m_retired_types;          // "TV" -> documents
};

}  // namespace varnel::verify
