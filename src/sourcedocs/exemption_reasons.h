// The exemption reason of a line without VAT: the legal norm of the line's
// exemption code, or of its product's code when the line has none, cut to 60
// characters and escaped; empty when no norm is found. Codes and norms are
// read once per section and kept, so a product sold on many lines costs one
// look-up of each kind. The object owns its two queries (q_isencaoprod and
// q_norma), each opened and closed within one look-up.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "posdb/pos_database.h"

namespace varnel {

class ExemptionReasons {
 public:
  explicit ExemptionReasons(PosDatabase& database);

  // The TaxExemptionReason text, ready to write.
  std::string Reason(std::string_view line_code, std::int64_t product_code);

 private:
  std::string ProductCode(std::int64_t product_code);
  std::string Norm(const std::string& exemption_code);

  PosQuery m_q_isencaoprod;
  PosQuery m_q_norma;
  std::map<std::int64_t, std::string> m_product_codes;
  std::map<std::string, std::string, std::less<>> m_norms;
};

}  // namespace varnel
