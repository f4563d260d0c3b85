// The exemption reason of a line without VAT: the legal norm of the line's
// exemption code, or of its product's code when the line has none, cut to 60
// characters and escaped; empty when no norm is found. Codes and norms are
// read once per section and kept, so a product sold on many lines costs one
// look-up of each kind.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace varnel {

class ExportRun;

class ExemptionReasons {
 public:
  explicit ExemptionReasons(ExportRun& run) : m_run(run) {}

  // The TaxExemptionReason text, ready to write.
  std::string Reason(std::string_view line_code, std::int64_t product_code);

 private:
  std::string ProductCode(std::int64_t product_code);
  std::string Norm(const std::string& exemption_code);

  ExportRun& m_run;
  std::map<std::int64_t, std::string> m_product_codes;
  std::map<std::string, std::string, std::less<>> m_norms;
};

}  // namespace varnel
