// Internal document codes and the sides of document types; see the header.
#include "verify/document_type_checks.h"

#include <string_view>

#include "base/value_routines.h"

namespace varnel::verify {

namespace {

// The side a type's documents are written on, or None when the type may
// stand on either (receipts, stock movements, the less common working
// documents).
DocumentSide ExpectedSide(SectionId section, std::string_view type) {
  if (section == SectionId::SalesInvoices) {
    if (type == "NC" || type == "TD" || type == "DA") return DocumentSide::Debit;
    if (type == "FT" || type == "FS" || type == "FR" || type == "ND" || type == "VD" || type == "TV" ||
        type == "AA") {
      return DocumentSide::Credit;
    }
  }
  if (section == SectionId::WorkingDocuments) {
    for (const std::string_view credit : {"CM", "CC", "FC", "FO", "NE", "OU", "OR", "PF", "DC", "RP", "CS", "LD"}) {
      if (type == credit) return DocumentSide::Credit;
    }
  }
  return DocumentSide::None;
}

}  // namespace

void DocumentTypeChecks::EndDocument(SectionId section, const std::string& number, const std::string& type,
                                     DocumentSide side) {
  CheckCode(section, number, section == SectionId::Payments ? std::string() : type);
  const DocumentSide expected = ExpectedSide(section, type);
  if (expected == DocumentSide::None || side == DocumentSide::None || side == expected) return;
  Gathered& gathered = m_wrong_side[type];
  if (gathered.count++ == 0) {
    gathered.section = section;
    gathered.first_document = number;
  }
}

void DocumentTypeChecks::CheckCode(SectionId section, const std::string& number, const std::string& type) {
  const std::size_t blank = number.find(' ');
  if (blank == std::string::npos || blank == 0) return;  // the schema refuses such a number
  const std::string_view code(number.data(), blank);
  const auto found = m_codes.find(code);
  if (found == m_codes.end()) {
    m_codes.emplace(std::string(code), CodeUse{section, type, number});
    return;
  }
  CodeUse& use = found->second;
  if (use.reported || (use.section == section && use.type == type)) return;
  use.reported = true;
  const std::string where = use.section != section
                                ? std::string(" em duas secções: ") + SectionName(use.section) + " (" +
                                      use.first_document + ") e " + SectionName(section) + " (" + number + ")"
                                : " em documentos de dois tipos: " + use.type + " (" + use.first_document + ") e " +
                                      type + " (" + number + ")";
  m_findings.Add(FindingKind::DocumentCode, FindingSeverity::Error, SectionName(section), number,
                 "O código interno de documento " + std::string(code) + " é usado" + where +
                     "; cada código interno numera um só tipo de documento");
}

void DocumentTypeChecks::Finish() {
  for (const auto& [type, gathered] : m_wrong_side) {
    const bool debit_expected = ExpectedSide(gathered.section, type) == DocumentSide::Debit;
    m_findings.Add(FindingKind::DocumentSide, FindingSeverity::Warning, SectionName(gathered.section),
                   gathered.first_document,
                   CountText(gathered.count, "documento", "documentos") + " do tipo " + type + " com as linhas a " +
                       (debit_expected ? "crédito" : "débito") + ", quando o tipo se escreve a " +
                       (debit_expected ? "débito" : "crédito") + " (o primeiro, " + gathered.first_document + ")");
  }
}

}  // namespace varnel::verify
