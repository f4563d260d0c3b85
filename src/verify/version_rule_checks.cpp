// The version's own rules beyond its schema; see the header for the list.
// Dates are compared as their "YYYY-MM-DD" texts, which order as the days do.
#include "verify/version_rule_checks.h"

#include "base/ascii_text.h"
#include "base/atcud_series_code.h"
#include "base/value_routines.h"

namespace varnel::verify {

namespace {

constexpr std::string_view kAtcudRequiredFrom = "2023-01-01";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Trimmed(std::string_view text) { return std::string(TrimWhiteSpace(text)); }

// The last day a retired document type was valid, or nothing.
std::optional<std::string_view> LastValidDay(SectionId section, std::string_view type) {
  if (section == SectionId::SalesInvoices &&
      (type == "TV" || type == "VD" || type == "TD" || type == "AA" || type == "DA")) {
    return "2012-12-31";
  }
  if (section == SectionId::WorkingDocuments && type == "DC") return "2017-06-30";
  return std::nullopt;
}

}  // namespace

VersionRuleChecks::VersionRuleChecks(const SchemaVersion& version, FindingList& findings)
    : m_version(version), m_findings(findings) {}

void VersionRuleChecks::StartDocument() { m_atcud.reset(); }

void VersionRuleChecks::Value(Element element, std::string_view text) {
  if (element == Element::ATCUD) m_atcud = Trimmed(text);
}

void VersionRuleChecks::EndDocument(const DocumentFacts& document) {
  const char* section = SectionName(document.section);
  if (m_version.atcud) CheckAtcud(document);
  const auto last_day = LastValidDay(document.section, document.type);
  if (last_day && document.date.size() >= 10 && document.date > *last_day) {
    Gather(m_retired_types, document.type, section, document.number);
  }
  if (m_version.credit_note_references && document.section == SectionId::SalesInvoices && document.type == "NC" &&
      !document.has_references) {
    Gather(m_unreferenced_credit_notes, document.type, section, document.number);
  }
}

void VersionRuleChecks::CheckAtcud(const DocumentFacts& facts) {
  if (!m_atcud) return;  // the schema reports a missing ATCUD
  const char* section = SectionName(facts.section);
  const std::string& document = facts.number;
  const std::string& date = facts.date;
  const auto parts = SplitDocumentSeries(document);
  // A number without type, series and sequence (which the schema refuses)
  // still names its series by the text before its "/".
  const std::string series = parts ? std::string(parts->type) + " " + std::string(parts->series)
                                   : Trimmed(document.substr(0, document.rfind('/')));
  if (*m_atcud == "0") {
    if (date >= kAtcudRequiredFrom) Gather(m_series_without_code, series, section, document);
    return;
  }
  const std::size_t dash = m_atcud->rfind('-');
  const std::string code = dash == std::string::npos ? *m_atcud : m_atcud->substr(0, dash);
  const std::string number = dash == std::string::npos ? std::string() : m_atcud->substr(dash + 1);
  if (dash == std::string::npos || !IsValidValidationCode(code) || number.empty() ||
      number.find_first_not_of("0123456789") != std::string::npos) {
    m_findings.Add(FindingKind::Atcud, FindingSeverity::Error, section, document,
                   "ATCUD " + Quoted(*m_atcud) +
                       " não tem a forma \"código de validação-número\" (código de pelo menos 8 letras ou algarismos)");
    return;
  }
  if (parts && number != parts->sequence) {
    m_findings.Add(FindingKind::Atcud, FindingSeverity::Error, section, document,
                   "ATCUD " + Quoted(*m_atcud) + ": o número " + number + " difere do número do documento " +
                       std::string(parts->sequence));
  }
  const auto [known, inserted] = m_series_codes.emplace(series, code);
  if (!inserted && known->second != code) {
    m_findings.Add(FindingKind::Atcud, FindingSeverity::Error, section, document,
                   "ATCUD " + Quoted(*m_atcud) + ": a série " + series + " já usou o código de validação " +
                       known->second + "; cada série tem um só código");
  }
}

void VersionRuleChecks::Gather(std::map<std::string, Gathered>& into, const std::string& key, const char* section,
                               const std::string& document) {
  Gathered& gathered = into[key];
  if (gathered.count++ == 0) {
    gathered.section = section;
    gathered.first_document = document;
  }
}

void VersionRuleChecks::Finish() {
  for (const auto& [series, gathered] : m_series_without_code) {
    m_findings.Add(FindingKind::Atcud, FindingSeverity::Error, gathered.section, gathered.first_document,
                   CountText(gathered.count, "documento", "documentos") + " da série " + series +
                       " datados de 2023 em diante com ATCUD \"0\": desde 1 de janeiro de 2023 todos os "
                       "documentos levam ATCUD. Configure o código de validação da série " +
                       series + " (Varnel.ini, secção [ATCUD], chave \"" + series + "\")");
  }
  for (const auto& [type, gathered] : m_retired_types) {
    const std::string last_day(type == "DC" ? "2017-06-30" : "2012-12-31");
    m_findings.Add(FindingKind::DocumentType, FindingSeverity::Warning, gathered.section, gathered.first_document,
                   CountText(gathered.count, "documento", "documentos") + " do tipo " + type + " com data posterior a " +
                       last_day + ", quando o tipo deixou de ser válido; o tipo vem do documento do ponto de venda");
  }
  for (const auto& [type, gathered] : m_unreferenced_credit_notes) {
    m_findings.Add(FindingKind::CreditNoteReference, FindingSeverity::Warning, gathered.section,
                   gathered.first_document,
                   CountText(gathered.count, "nota de crédito", "notas de crédito") +
                       " sem References em nenhuma linha: cada nota de crédito indica o documento que retifica "
                       "(a primeira, " + gathered.first_document + ")");
  }
}

}  // namespace varnel::verify
