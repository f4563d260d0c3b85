// The two versions of the SAF-T (PT) audit file this system writes. 1.03_01 is
// the version of the system's own time and stays for periods before July 2017
// (an audit of an old period asks for it); the tax authority has taken
// 1.04_01 for every period since 1 July 2017.
#pragma once

#include <optional>
#include <string_view>

#include "base/date_time.h"

namespace varnel {

enum class SaftVersion { k1_03_01, k1_04_01 };

// "1.03_01" or "1.04_01": the AuditFileVersion text and the label the window
// and the headless exporter show and take.
std::string_view SaftVersionLabel(SaftVersion version);

// The version for a label as SaftVersionLabel writes it; nothing for any
// other text.
std::optional<SaftVersion> ParseSaftVersion(std::string_view label);

// The version a period starting on first_day asks for: 1.03_01 before
// 1 July 2017, 1.04_01 from that day on (the time of day is ignored).
SaftVersion DefaultSaftVersion(DateTime first_day);

}  // namespace varnel
