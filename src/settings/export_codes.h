// The codes a 1.04_01 export takes from Varnel.ini, read and checked in one
// place for both front ends: the series' ATCUD validation codes (section
// "ATCUD") and the exemption code rules (section "Isencoes", laid over the
// shipped ones). A value of the wrong form can only come from a hand-edited
// file (the window refuses it where it is typed): it is refused with a
// Portuguese message naming its section and key, before anything is written.
#pragma once

#include <filesystem>
#include <vector>

#include "base/atcud_series_code.h"
#include "base/errors.h"
#include "base/exemption_codes.h"

namespace varnel {

class SettingsValueError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

struct ExportCodes {
  std::vector<AtcudSeriesCode> atcud;
  std::vector<ExemptionCodeRule> exemptions;  // the shipped rules with the file's over them
};

// Raises SettingsValueError for the first malformed code.
ExportCodes LoadExportCodes(const std::filesystem::path& directory);

}  // namespace varnel
