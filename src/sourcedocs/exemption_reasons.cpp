// Exemption reasons through q_isencaoprod (product's code) and q_norma (the
// code's norm), each looked up by its table's key. The line's own code is
// used as read, not trimmed.
#include "sourcedocs/exemption_reasons.h"

#include "base/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

constexpr std::size_t kReasonLength = 60;

}  // namespace

ExemptionReasons::ExemptionReasons(PosDatabase& database, const std::vector<ExemptionCodeRule>* code_rules)
    : m_code_rules(code_rules), m_q_isencaoprod(database, kQ_isencaoprod), m_q_norma(database, kQ_norma) {}

ExemptionReasons::Exemption ExemptionReasons::Find(std::string_view line_code, std::int64_t product_code) {
  const std::string code = line_code.empty() ? ProductCode(product_code) : std::string(line_code);
  return OfCode(code);
}

std::string ExemptionReasons::ProductCode(std::int64_t product_code) {
  const auto known = m_product_codes.find(product_code);
  if (known != m_product_codes.end()) return known->second;
  PosQuery& q_isencaoprod = m_q_isencaoprod;
  q_isencaoprod.BindInteger("codigo", product_code);
  q_isencaoprod.Open();
  std::string code = q_isencaoprod.Eof() ? std::string() : q_isencaoprod.AsText("isencao");
  q_isencaoprod.Close();
  return m_product_codes.emplace(product_code, std::move(code)).first->second;
}

const ExemptionReasons::Exemption& ExemptionReasons::OfCode(const std::string& exemption_code) {
  const auto known = m_exemptions.find(exemption_code);
  if (known != m_exemptions.end()) return known->second;
  PosQuery& q_norma = m_q_norma;
  q_norma.BindText("codigo", exemption_code);
  q_norma.Open();
  const std::string norm = q_norma.Eof() ? std::string() : q_norma.AsText("norma");
  q_norma.Close();
  Exemption exemption;
  if (!norm.empty()) exemption.reason = XmlText(norm, kReasonLength);
  if (m_code_rules) exemption.code = FindExemptionCode(*m_code_rules, exemption_code, norm);
  return m_exemptions.emplace(exemption_code, std::move(exemption)).first->second;
}

}  // namespace varnel
