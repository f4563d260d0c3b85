// Builds the headless export's request from the settings files and the
// command line, as the window would from its fields: a stored region or
// series outside its list's choices is nothing chosen.
#include "cli/request_defaults.h"

#include "settings/export_codes.h"
#include "settings/series_option.h"
#include "settings/settings_store.h"
#include "settings/signature_key_settings.h"
#include "base/value_routines.h"

namespace varnel {

namespace {

// Varnel.ini's keys with the command line's laid over them, version by version.
std::vector<SignatureKeyFile> PublicKeys(const std::filesystem::path& directory, const CommandLine& line) {
  std::vector<SignatureKeyFile> keys = SignatureKeySettings(directory).Load();
  for (const SignatureKeyFile& given : line.public_keys) {
    std::erase_if(keys, [&](const SignatureKeyFile& stored) { return stored.version == given.version; });
    keys.push_back(given);
  }
  return keys;
}

}  // namespace

DateTime FirstDayOfPeriod(const CommandLine& line, DateTime today) {
  return line.from.value_or(PreviousMonth(today).first);
}

ExportRequest RequestFromFiles(const std::filesystem::path& directory, const CommandLine& line, DateTime today) {
  ExportRequest request;
  request.company = SettingsStore(directory).Load();
  Company& company = request.company;
  company.estabelecimento = CharacterPrefix(company.estabelecimento, kEstablishmentLength);  // the field's limit
  if (line.region) company.taxCountryRegion = *line.region;
  request.fserienum = line.series ? SeriesIndex(*line.series) : SeriesIndex::ListChoice(ReadSeriesOption(directory));
  request.datai = FirstDayOfPeriod(line, today);
  request.dataf = line.to.value_or(PreviousMonth(today).last);
  request.ficheiro = line.output;
  request.saftType = line.saft_type;
  request.verify = !line.no_verify;
  request.saftVersion = line.saft_version.value_or(DefaultSaftVersion(request.datai));
  request.publicKeys = PublicKeys(directory, line);
  if (request.saftVersion == SaftVersion::k1_04_01) {
    ExportCodes codes = LoadExportCodes(directory);
    request.atcudCodes = std::move(codes.atcud);
    request.exemptionCodes = std::move(codes.exemptions);
  }
  return request;
}

}  // namespace varnel
