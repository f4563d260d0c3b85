// Builds the headless export's request from the settings files and the
// command line, as the window would from its fields: a stored region or
// series outside its list's choices leaves the list with nothing chosen (-1).
#include "cli/request_defaults.h"

#include "ui/settings/series_option.h"
#include "ui/settings/settings_store.h"
#include "export/value_routines.h"

namespace varnel {

namespace {

int ListIndex(int value, int last_choice) { return value >= 0 && value <= last_choice ? value : -1; }

}  // namespace

ExportRequest RequestFromFiles(const std::filesystem::path& directory, const CommandLine& line, DateTime today) {
  const CompanySettings company = SettingsStore(directory).Load();
  ExportRequest request;
  request.companyID = company.companyID;
  request.companyName = company.companyName;
  request.buildingNumber = company.buildingNumber;
  request.streetName = company.streetName;
  request.addressDetail = company.addressDetail;
  request.city = company.city;
  request.postalCode1 = company.postalCode1;
  request.postalCode2 = company.postalCode2;
  request.estabelecimento = CharacterPrefix(company.estabelecimento, 20);  // the field's limit
  request.taxCountryRegion = line.region.value_or(ListIndex(company.taxCountryRegion, 2));
  request.fserienum = line.series.value_or(ListIndex(ReadSeriesOption(directory), 26));
  const Period period = PreviousMonth(today);
  request.datai = line.from.value_or(period.first);
  request.dataf = line.to.value_or(period.last);
  request.ficheiro = line.output;
  request.saftType = line.saft_type;
  return request;
}

}  // namespace varnel
