// The control totals a document section declares before its documents, and
// what its documents add up to, compared when the section closes:
//   - NumberOfEntries: every document, annulled ones included;
//   - TotalDebit, TotalCredit: the DebitAmount and CreditAmount of the lines
//     of the documents not annulled;
//   - in MovementOfGoods, NumberOfMovementLines and TotalQuantityIssued: the
//     lines and their Quantity, of the documents not annulled.
// A total matches when it equals the sum, or the sum rounded half away from
// zero to the decimals the total is written with (two at least). Documents
// of status F (billed by another document) may be left out of the sums as
// annulled ones are: either reading is accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "verify/audit_sections.h"
#include "verify/decimal_amount.h"
#include "verify/element_names.h"
#include "verify/finding_list.h"

namespace varnel::verify {

class SectionTotals {
 public:
  // A declared total as written; an unreadable amount counts as absent (the
  // caller reports it).
  void Declare(Element element, std::string_view text);
  void AddDocument(std::string_view status, DecimalAmount debit, DecimalAmount credit, std::uint64_t lines,
                   DecimalAmount quantity);
  std::uint64_t documents() const { return m_documents; }
  void Check(SectionId section, FindingList& findings) const;

 private:
  struct Declared {
    bool present = false;
    std::string text;
    std::optional<DecimalAmount> value;
    int decimals = 0;
  };
  struct Sums {
    DecimalAmount debit;
    DecimalAmount credit;
    DecimalAmount quantity;
    std::uint64_t lines = 0;
  };
  void CheckAmount(const char* name, const Declared& declared, DecimalAmount counted, DecimalAmount billed,
                   const char* what, SectionId section, FindingList& findings) const;
  void CheckCount(const char* name, const Declared& declared, std::uint64_t counted, std::uint64_t billed,
                  const char* what, SectionId section, FindingList& findings) const;

  Declared m_entries;
  Declared m_debit;
  Declared m_credit;
  Declared m_movement_lines;
  Declared m_quantity;
  std::uint64_t m_documents = 0;
  Sums m_counted;  // documents not annulled
  Sums m_billed;   // of those, the ones of status F
};

}  // namespace varnel::verify
