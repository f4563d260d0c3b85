// Reads the series option of the point-of-sale settings file through the
// profile layer, with the point-of-sale product's integer reading.
#include "settings/series_option.h"

#include <string>

#include "base/value_routines.h"
#include "settings/profile_file.h"

namespace varnel {

int ReadSeriesOption(const std::filesystem::path& directory) {
  const ProfileFile file(directory, std::string(kPointOfSaleSettingsFile));
  const std::string text = file.ReadString("OPCOES", "Serie de numeracao", "0", 10);
  return ReadInteger(text).value_or(0);
}

}  // namespace varnel
