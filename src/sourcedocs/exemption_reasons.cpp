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

ExemptionReasons::ExemptionReasons(PosDatabase& database)
    : m_q_isencaoprod(database, kQ_isencaoprod), m_q_norma(database, kQ_norma) {}

std::string ExemptionReasons::Reason(std::string_view line_code, std::int64_t product_code) {
  const std::string code = line_code.empty() ? ProductCode(product_code) : std::string(line_code);
  return Norm(code);
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

std::string ExemptionReasons::Norm(const std::string& exemption_code) {
  const auto known = m_norms.find(exemption_code);
  if (known != m_norms.end()) return known->second;
  PosQuery& q_norma = m_q_norma;
  q_norma.BindText("codigo", exemption_code);
  q_norma.Open();
  std::string reason = q_norma.Eof() ? std::string() : XmlText(q_norma.AsText("norma"), kReasonLength);
  q_norma.Close();
  return m_norms.emplace(exemption_code, std::move(reason)).first->second;
}

}  // namespace varnel
