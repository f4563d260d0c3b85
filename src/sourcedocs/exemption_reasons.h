// The exemption reason of a line without VAT: the legal norm of the line's
// exemption code, or of its product's code when the line has none, cut to 60
// characters and escaped; empty when no norm is found. With exemption code
// rules (1.04_01), also its TaxExemptionCode: the exemption code itself
// when it has the form "Mnn", else the rule for the code or the norm. Codes and norms are
// read once per section and kept, so a product sold on many lines costs one
// look-up of each kind. The object owns its two queries (q_isencaoprod and
// q_norma), each opened and closed within one look-up.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/exemption_codes.h"
#include "posdb/pos_database.h"

namespace varnel {

class ExemptionReasons {
 public:
  // code_rules null: no TaxExemptionCode is looked for (1.03_01). The rules
  // must outlive the object.
  explicit ExemptionReasons(PosDatabase& database, const std::vector<ExemptionCodeRule>* code_rules = nullptr);

  struct Exemption {
    std::string reason;               // TaxExemptionReason, ready to write
    std::optional<std::string> code;  // TaxExemptionCode; none without rules or when none fits
  };
  Exemption Find(std::string_view line_code, std::int64_t product_code);

  // The TaxExemptionReason text, ready to write.
  std::string Reason(std::string_view line_code, std::int64_t product_code) {
    return Find(line_code, product_code).reason;
  }

 private:
  std::string ProductCode(std::int64_t product_code);
  const Exemption& OfCode(const std::string& exemption_code);

  const std::vector<ExemptionCodeRule>* m_code_rules;
  PosQuery m_q_isencaoprod;
  PosQuery m_q_norma;
  std::map<std::int64_t, std::string> m_product_codes;
  std::map<std::string, Exemption, std::less<>> m_exemptions;
};

}  // namespace varnel
