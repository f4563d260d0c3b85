// Builds the headless export's request from the settings files and the
// command line, as the window would from its fields.
#include "cli/request_defaults.h"

namespace varnel {

ExportRequest RequestFromFiles(const std::filesystem::path& /*directory*/, const CommandLine& line, DateTime today) {
  ExportRequest request;
  // Company values: the window's defaults until the settings files are read.
  request.companyID = "999999990";
  request.companyName = "?";
  request.buildingNumber = "S/N";
  request.streetName = "S/N";
  request.addressDetail = "?";
  request.city = "?";
  request.postalCode1 = "0000";
  request.postalCode2 = "000";
  request.taxCountryRegion = line.region.value_or(0);
  request.fserienum = line.series.value_or(0);
  const Period period = PreviousMonth(today);
  request.datai = line.from.value_or(period.first);
  request.dataf = line.to.value_or(period.last);
  request.ficheiro = line.output;
  request.saftType = line.saft_type;
  return request;
}

}  // namespace varnel
