// The operator's exemption code rules in Varnel.ini, section "Isencoes": one
// key per exemption code of the database or phrase of a norm, its value the
// tax authority's code ("M07L=M07", "Artigo 9.º do CIVA=M07"). They are laid
// over the shipped rules (base/exemption_codes.h) key by key.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "base/exemption_codes.h"

namespace varnel {

class ExemptionCodeSettings {
 public:
  static constexpr std::string_view kSection = "Isencoes";

  explicit ExemptionCodeSettings(std::filesystem::path directory = ".");

  // The section's rules in the file's order, values as written (callers
  // check them with IsExemptionCode). Missing file or section: none.
  std::vector<ExemptionCodeRule> Load() const;

 private:
  std::filesystem::path m_directory;
};

}  // namespace varnel
