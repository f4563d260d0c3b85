#include "settings/exemption_code_settings.h"

#include <string>
#include <utility>

#include "settings/profile_file.h"
#include "settings/settings_store.h"

namespace varnel {

ExemptionCodeSettings::ExemptionCodeSettings(std::filesystem::path directory) : m_directory(std::move(directory)) {}

std::vector<ExemptionCodeRule> ExemptionCodeSettings::Load() const {
  const ProfileFile file(m_directory, std::string(SettingsStore::kFileName));
  std::vector<ExemptionCodeRule> rules;
  for (auto& [key, value] : file.ReadSection(kSection)) rules.push_back({std::move(key), std::move(value)});
  return rules;
}

}  // namespace varnel
