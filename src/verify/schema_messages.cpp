// Gathering and reporting the schema validator's messages.
#include "verify/schema_messages.h"

#include "base/utf8.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace varnel::verify {

std::string OneLine(const char* message) {
  const std::string_view raw = message != nullptr ? message : "";
  // libxml2 quotes the file's raw bytes in some messages ("Couldn't find
  // end of Start Tag ..."): what is not UTF-8 becomes "?", so a report
  // stays valid text.
  std::string text;
  text.reserve(raw.size());
  for (std::size_t at = 0; at < raw.size();) {
    char32_t code_point = 0;
    const std::size_t length = DecodeUtf8(raw, at, code_point);
    if (length == 0) {
      text += '?';
      ++at;
      continue;
    }
    if (code_point < 0x20) {
      text += ' ';
    } else {
      text.append(raw.substr(at, length));
    }
    at += length;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

SchemaMessages::SchemaMessages(const SchemaVersion* version) : m_version(version) {
  if (version != nullptr) m_namespace_text = "{" + std::string(version->namespace_uri) + "}";
}

void SchemaMessages::Collect(const xmlError& error, int line) {
  std::string message = OneLine(error.message);
  if (!m_namespace_text.empty()) {
    for (std::size_t at = message.find(m_namespace_text); at != std::string::npos;
         at = message.find(m_namespace_text, at)) {
      message.erase(at, m_namespace_text.size());
    }
  }
  const auto names_one_of = [&message](std::span<const std::string_view> names) {
    return std::any_of(names.begin(), names.end(),
                       [&message](std::string_view name) { return message.find(name) != std::string::npos; });
  };
  if (m_version != nullptr) {
    if (names_one_of(m_version->customer_key_references)) {
      if (m_customer_keys++ == 0) m_first_customer_key = message;
      return;
    }
    if (names_one_of(m_version->supplier_key_references)) {
      if (m_supplier_keys++ == 0) m_first_supplier_key = message;
      return;
    }
    if (names_one_of(m_version->product_key_references)) {
      if (m_product_keys++ == 0) m_first_product_key = message;
      return;
    }
    if (names_one_of(m_version->document_number_keys)) {
      if (m_number_keys++ == 0) m_first_number_key = message;
      return;
    }
  }
  const std::size_t seen = ++m_per_code[error.code];
  if (seen > kListedPerCode) {
    if (seen == kListedPerCode + 1) m_first_omitted[error.code] = message;
    return;
  }
  m_listed.push_back(
      Listed{error.level == XML_ERR_WARNING ? FindingSeverity::Warning : FindingSeverity::Error, line, message});
}

void SchemaMessages::Report(FindingList& findings, const ContentChecks& checks, bool file_read_to_end) const {
  const std::string label = m_version != nullptr ? std::string(m_version->label) : "";
  for (const Listed& listed : m_listed) {
    findings.Add(FindingKind::Schema, listed.severity, "Ficheiro", "",
                 "Linha " + std::to_string(listed.line) + ": não cumpre o esquema " + label + ": " + listed.message);
  }
  for (const auto& [code, count] : m_per_code) {
    if (count <= kListedPerCode) continue;
    findings.Add(FindingKind::Schema, FindingSeverity::Error, "Ficheiro", "",
                 "Mais " + std::to_string(count - kListedPerCode) +
                     " mensagens do esquema como esta: " + m_first_omitted.at(code));
  }
  if (!m_failure.empty()) {
    findings.Add(FindingKind::Schema, FindingSeverity::Error, "Ficheiro", "", m_failure);
  }
  if (!file_read_to_end) return;
  if (checks.summarized()) {
    findings.Add(FindingKind::SchemaKeyReference, FindingSeverity::Note, "MasterFiles", "",
                 "Ficheiro do tipo Resumido, sem lista de produtos: as " +
                     std::to_string(m_product_keys > 0 ? m_product_keys : checks.product_code_lines()) +
                     " referências ProductCode das linhas não têm produto correspondente, como o tipo prevê");
  } else if (m_product_keys > 0 && checks.product_reference_findings() == 0) {
    findings.Add(FindingKind::SchemaKeyReference, FindingSeverity::Error, "Ficheiro", "",
                 std::to_string(m_product_keys) + " referências ProductCode falham no esquema: " + m_first_product_key);
  }
  // The schema's own count of what the checks report document by document;
  // should they ever disagree, the schema's word is kept.
  if (m_customer_keys > 0 && checks.customer_reference_findings() == 0) {
    findings.Add(FindingKind::SchemaKeyReference, FindingSeverity::Error, "Ficheiro", "",
                 std::to_string(m_customer_keys) + " referências CustomerID falham no esquema: " +
                     m_first_customer_key);
  }
  if (m_supplier_keys > 0 && checks.supplier_reference_findings() == 0) {
    findings.Add(FindingKind::SchemaKeyReference, FindingSeverity::Error, "Ficheiro", "",
                 std::to_string(m_supplier_keys) + " referências SupplierID falham no esquema: " +
                     m_first_supplier_key);
  }
  if (m_number_keys > 0 && checks.duplicate_number_findings() == 0) {
    findings.Add(FindingKind::SchemaKeyReference, FindingSeverity::Error, "Ficheiro", "",
                 std::to_string(m_number_keys) + " números de documento repetidos segundo o esquema: " +
                     m_first_number_key);
  }
}

}  // namespace varnel::verify
