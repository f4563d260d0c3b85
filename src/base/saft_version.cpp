#include "base/saft_version.h"

namespace varnel {

std::string_view SaftVersionLabel(SaftVersion version) {
  return version == SaftVersion::k1_04_01 ? "1.04_01" : "1.03_01";
}

std::optional<SaftVersion> ParseSaftVersion(std::string_view label) {
  if (label == "1.03_01") return SaftVersion::k1_03_01;
  if (label == "1.04_01") return SaftVersion::k1_04_01;
  return std::nullopt;
}

SaftVersion DefaultSaftVersion(DateTime first_day) {
  const DateTimeParts day = first_day.Decode();
  const bool before_july_2017 =
      day.year < 2017 || (day.year == 2017 && day.month < 7);
  return before_july_2017 ? SaftVersion::k1_03_01 : SaftVersion::k1_04_01;
}

}  // namespace varnel
