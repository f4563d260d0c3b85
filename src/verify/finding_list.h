// The findings of one verification as they are made, with a cap per kind of
// finding: a file broken in every document gives the first findings of each
// kind and one closing line with how many more there were, so a report never
// grows with the file.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "verify/audit_file_verifier.h"

namespace varnel::verify {

// The kinds of finding, each capped on its own.
enum class FindingKind {
  Bytes,
  LineEnds,
  Encoding,
  WellFormed,
  Schema,
  SchemaKeyReference,
  Version,
  ControlTotals,
  DocumentTotals,
  Incoherent,
  Currency,
  Amounts,
  MasterDuplicate,
  CustomerReference,
  SupplierReference,
  ProductReference,
  TaxReference,
  PaymentReference,
  OrderReference,
  TaxpayerNumber,
  Numbering,
  SeriesSummary,
  Dates,
  Signature,
  Atcud,
  Exemption,
  Assertion,
  PaymentTax,
  DocumentType,
  DocumentCode,
  DocumentSide,
  CreditNoteReference,
  Summary,
  kCount
};

class FindingList {
 public:
  static constexpr std::size_t kMaxPerKind = 50;

  void Add(FindingKind kind, FindingSeverity severity, std::string section, std::string document,
           std::string message);
  // Appends, for every kind that went past its cap, one finding with the
  // number left out; then hands the findings over.
  std::vector<Finding> Take();
  std::size_t Count(FindingKind kind) const { return m_counts[static_cast<std::size_t>(kind)]; }

 private:
  struct Omitted {
    FindingSeverity severity;
    std::string section;
  };
  std::vector<Finding> m_findings;
  std::array<std::size_t, static_cast<std::size_t>(FindingKind::kCount)> m_counts{};
  std::array<Omitted, static_cast<std::size_t>(FindingKind::kCount)> m_omitted{};
};

}  // namespace varnel::verify
