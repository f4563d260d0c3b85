// Builds the headless export's request from the settings files and the
// command line, as the window would from its fields: a stored region or
// series outside its list's choices leaves the list with nothing chosen (-1).
#include "cli/request_defaults.h"

#include "settings/atcud_codes.h"
#include "settings/exemption_code_settings.h"
#include "settings/series_option.h"
#include "settings/settings_store.h"
#include "base/value_routines.h"

namespace varnel {

namespace {

int ListIndex(int value, int last_choice) { return value >= 0 && value <= last_choice ? value : -1; }

// "Código de validação inválido ... chave "FT A": ..." for the first code of
// the wrong form, so the operator knows which line of the file to mend.
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

ExportRequest RequestFromFiles(const std::filesystem::path& directory, const CommandLine& line, DateTime today) {
  ExportRequest request;
  request.company = SettingsStore(directory).Load();
  Company& company = request.company;
  company.estabelecimento = CharacterPrefix(company.estabelecimento, kEstablishmentLength);  // the field's limit
  company.taxCountryRegion = line.region.value_or(ListIndex(company.taxCountryRegion, 2));
  request.fserienum = line.series ? SeriesIndex(*line.series) : SeriesIndex::ListChoice(ReadSeriesOption(directory));
  const Period period = PreviousMonth(today);
  request.datai = line.from.value_or(period.first);
  request.dataf = line.to.value_or(period.last);
  request.ficheiro = line.output;
  request.saftType = line.saft_type;
  request.verify = !line.no_verify;
  request.saftVersion = line.saft_version.value_or(DefaultSaftVersion(request.datai));
  if (request.saftVersion == SaftVersion::k1_04_01) {
    request.atcudCodes = CheckedAtcudCodes(directory);
    request.exemptionCodes = CheckedExemptionCodes(directory);
  }
  return request;
}

}  // namespace varnel
