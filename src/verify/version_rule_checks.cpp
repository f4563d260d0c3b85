// The version's own rules beyond its schema; see the header for the list.
// Dates are compared as their "YYYY-MM-DD" texts, which order as the days do.
#include "verify/version_rule_checks.h"

#include "base/atcud_series_code.h"

namespace varnel::verify {

namespace {

constexpr std::string_view kAtcudRequiredFrom = "2023-01-01";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// The last day a retired document type was valid, or nothing.
std::optional<std::string_view> LastValidDay(std::string_view type) {
  if (type == "TV" || type == "VD") return "2012-12-31";
  if (type == "DC") return "2017-06-30";
  return std::nullopt;
}

std::string Count(std::uint64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

VersionRuleChecks::VersionRuleChecks(const SchemaVersion& version, FindingList& findings)
    : m_version(version),
      m_findings(findings),
      m_active(version.atcud || version.exemption_codes || version.payment_tax_only_for_cash_vat ||
               version.retired_document_types) {}

void VersionRuleChecks::StartDocument() {
  m_atcud.reset();
  m_reason.reset();
  m_code.reset();
  m_lines_with_tax = 0;
  m_lines = 0;
}

void VersionRuleChecks::Value(Element element, Element parent, std::string_view text) {
  switch (element) {
    case Element::ATCUD:
      if (parent != Element::Line) m_atcud = Trimmed(text);
      break;
    case Element::TaxExemptionReason:
      if (parent == Element::Line) m_reason = Trimmed(text);
      break;
    case Element::TaxExemptionCode:
      if (parent == Element::Line) m_code = Trimmed(text);
      break;
    default: break;
  }
}

void VersionRuleChecks::EndLine(const char* section, const std::string& document, int line_number, bool has_tax,
                                std::optional<DecimalAmount> rate) {
  ++m_lines;
  if (has_tax) ++m_lines_with_tax;
  const std::optional<std::string> reason = std::move(m_reason);
  const std::optional<std::string> code = std::move(m_code);
  m_reason.reset();
  m_code.reset();
  if (!m_version.exemption_codes) return;
  const std::string line = "Linha " + std::to_string(line_number);
  if (rate && rate->IsZero() && !reason) {
    m_findings.Add(FindingKind::Exemption, FindingSeverity::Error, section, document,
                   line + " de taxa 0 sem TaxExemptionReason nem TaxExemptionCode");
  } else if (rate && !rate->IsZero() && reason) {
    m_findings.Add(FindingKind::Exemption, FindingSeverity::Error, section, document,
                   line + " com taxa " + rate->Text() + " e motivo de isenção " + Quoted(*reason) +
                       ": a isenção só cabe às linhas de taxa 0");
  }
  if (reason && !code) {
    Gather(m_norms_without_code, *reason, section, document);
  } else if (code && !reason) {
    m_findings.Add(FindingKind::Exemption, FindingSeverity::Error, section, document,
                   line + " com TaxExemptionCode " + Quoted(*code) + " sem TaxExemptionReason");
  }
}

void VersionRuleChecks::EndDocument(const char* section, const std::string& document, const std::string& type,
                                    const std::string& date) {
  if (m_version.atcud) CheckAtcud(section, document, date);
  if (m_version.payment_tax_only_for_cash_vat && std::string_view(section) == "Payments") {
    if (type == "RG" && m_lines_with_tax > 0) {
      m_findings.Add(FindingKind::PaymentTax, FindingSeverity::Error, section, document,
                     "Recibo RG com Tax em " + Count(static_cast<std::uint64_t>(m_lines_with_tax), "linha", "linhas") +
                         ": só os recibos do regime de IVA de caixa (RC) levam imposto");
    } else if (type == "RC" && m_lines_with_tax < m_lines) {
      m_findings.Add(FindingKind::PaymentTax, FindingSeverity::Error, section, document,
                     "Recibo RC (regime de IVA de caixa) com " +
                         Count(static_cast<std::uint64_t>(m_lines - m_lines_with_tax), "linha", "linhas") +
                         " sem Tax");
    }
  }
  if (m_version.retired_document_types) CheckRetiredType(section, document, type, date);
}

void VersionRuleChecks::CheckAtcud(const char* section, const std::string& document, const std::string& date) {
  if (!m_atcud) return;  // the schema reports a missing ATCUD
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

void VersionRuleChecks::CheckRetiredType(const char* section, const std::string& document, const std::string& type,
                                         const std::string& date) {
  const auto last_day = LastValidDay(type);
  if (last_day && date.size() >= 10 && date > *last_day) Gather(m_retired_types, type, section, document);
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
                   Count(gathered.count, "documento", "documentos") + " da série " + series +
                       " datados de 2023 em diante com ATCUD \"0\": desde 1 de janeiro de 2023 todos os "
                       "documentos levam ATCUD. Configure o código de validação da série " +
                       series + " (Varnel.ini, secção [ATCUD], chave \"" + series + "\")");
  }
  for (const auto& [norm, gathered] : m_norms_without_code) {
    m_findings.Add(FindingKind::Exemption, FindingSeverity::Error, gathered.section, gathered.first_document,
                   Count(gathered.count, "linha", "linhas") + " com o motivo de isenção " + Quoted(norm) +
                       " sem TaxExemptionCode: associe essa norma a um código M.. (Varnel.ini, secção [Isencoes], "
                       "\"norma=Mnn\")");
  }
  for (const auto& [type, gathered] : m_retired_types) {
    const std::string last_day(*LastValidDay(type));
    m_findings.Add(FindingKind::DocumentType, FindingSeverity::Warning, gathered.section, gathered.first_document,
                   Count(gathered.count, "documento", "documentos") + " do tipo " + type + " com data posterior a " +
                       last_day + ", quando o tipo deixou de ser válido; o tipo vem do documento do ponto de venda");
  }
}

}  // namespace varnel::verify
