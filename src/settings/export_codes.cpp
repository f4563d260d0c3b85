#include "settings/export_codes.h"

#include <string>

#include "settings/atcud_codes.h"
#include "settings/exemption_code_settings.h"

namespace varnel {

namespace {

std::vector<AtcudSeriesCode> CheckedAtcudCodes(const std::filesystem::path& directory) {
  std::vector<AtcudSeriesCode> codes = AtcudCodes(directory).Load();
  for (const AtcudSeriesCode& entry : codes) {
    if (!IsValidValidationCode(entry.code)) {
      throw SettingsValueError("Código de validação inválido em Varnel.ini, secção [ATCUD], chave \"" + entry.type +
                               " " + entry.series + "\": \"" + entry.code +
                               "\". Um código de validação tem pelo menos 8 letras ou algarismos.");
    }
  }
  return codes;
}

std::vector<ExemptionCodeRule> CheckedExemptionCodes(const std::filesystem::path& directory) {
  const std::vector<ExemptionCodeRule> overrides = ExemptionCodeSettings(directory).Load();
  for (const ExemptionCodeRule& rule : overrides) {
    if (!IsExemptionCode(rule.code)) {
      throw SettingsValueError("Código de isenção inválido em Varnel.ini, secção [Isencoes], chave \"" + rule.key +
                               "\": \"" + rule.code + "\". Um código de isenção é M seguido de dois algarismos (M07).");
    }
  }
  return WithOverrides(DefaultExemptionCodeRules(), overrides);
}

}  // namespace

ExportCodes LoadExportCodes(const std::filesystem::path& directory) {
  return {CheckedAtcudCodes(directory), CheckedExemptionCodes(directory)};
}

}  // namespace varnel
