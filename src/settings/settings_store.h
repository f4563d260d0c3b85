// The system's own settings file ".\Varnel.ini", section "Company Info": the
// ten company values, read when the window opens and written only when an
// export has passed its checks. The store keeps no copy of the values between
// calls; every Save writes each key to the file at once, one write per key,
// so keys written before a failing one stay written. Section "Export" keeps
// the folder of the last export's file, where the save dialog opens.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/company_settings.h"
#include "settings/profile_file.h"

namespace varnel {

class SettingsStore {
 public:
  static constexpr std::string_view kFileName = "Varnel.ini";
  static constexpr std::string_view kSection = "Company Info";
  static constexpr std::string_view kExportSection = "Export";
  static constexpr std::string_view kLastFolderKey = "LastFolder";

  // Bound to Varnel.ini in directory (looked up ignoring letter case); "."
  // is the working directory at the moment of each call.
  explicit SettingsStore(std::filesystem::path directory = ".");

  // The ten values; each missing key (or file, or section) gives its default.
  // A "TaxCountryRegion" that does not read as an integer gives Continente,
  // a number outside 0 to 2 nothing chosen (stored back as -1).
  Company Load() const;

  // Writes the ten keys in their fixed order; raises SettingsWriteError
  // ("Unable to write to .\Varnel.ini") at the first key that cannot be
  // written.
  void Save(const Company& settings);

  // The folder of the last export's file; "" when none is stored.
  std::string LoadLastFolder() const;
  // Raises SettingsWriteError like Save.
  void SaveLastFolder(std::string_view folder);

 private:
  ProfileFile m_file;
};

}  // namespace varnel
