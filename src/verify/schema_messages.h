// libxml2's schema validity messages of one verification, gathered where
// they arise (the reader's pass or the schema's own thread) and turned into
// findings at the end: each message with its line, at most ten of the same
// libxml2 code and then their count; the key references that the content
// checks cover document by document are counted, not listed twice, and the
// Resumido type's ProductCode references become one note.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <libxml/xmlerror.h>

#include "verify/content_checks.h"
#include "verify/finding_list.h"
#include "verify/schema_versions.h"

namespace varnel::verify {

class SchemaMessages {
 public:
  static constexpr std::size_t kListedPerCode = 10;

  explicit SchemaMessages(const SchemaVersion* version);

  // A message of the schema validator; line is used when libxml2 gives none.
  void Collect(const xmlError& error, int line);
  // The validation itself could not run to the end (a message for the
  // report), e.g. the schema's thread failed.
  void SetFailure(std::string message) { m_failure = std::move(message); }

  // Adds the findings: the listed messages, the counts of the rest, and the
  // comparison of the key reference counts with what the checks found.
  void Report(FindingList& findings, const ContentChecks& checks, bool file_read_to_end) const;

 private:
  struct Listed {
    FindingSeverity severity;
    int line;
    std::string message;
  };
  const SchemaVersion* m_version;
  std::string m_namespace_text;  // "{namespace}", cut from libxml2's element names
  std::vector<Listed> m_listed;
  std::map<int, std::size_t> m_per_code;
  std::map<int, std::string> m_first_omitted;
  std::size_t m_customer_keys = 0;
  std::size_t m_supplier_keys = 0;
  std::size_t m_product_keys = 0;
  std::size_t m_number_keys = 0;
  std::string m_first_customer_key;
  std::string m_first_supplier_key;
  std::string m_first_product_key;
  std::string m_first_number_key;
  std::string m_failure;
};

// libxml2's message text on one line, without its final line break, its
// control characters blanks and any byte that is not UTF-8 "?".
std::string OneLine(const char* message);

}  // namespace varnel::verify
