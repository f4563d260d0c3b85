// The request of a headless export: the ten company values from Varnel.ini
// (missing keys take the window's defaults), the series from Korvel.ini, the
// period of the window (last month) unless given, and the options given. A
// 1.04_01 export also takes the ATCUD validation codes and the exemption
// code rules from Varnel.ini, and every export the producer's public keys
// (section "Assinaturas", the command line's over them); a malformed one,
// which only a hand-edited file can hold, raises SettingsValueError naming
// its section and key.
#pragma once

#include <filesystem>

#include "cli/command_line.h"
#include "section/export_request.h"
#include "settings/export_codes.h"  // SettingsValueError

namespace varnel {

// The period's first day: --from, else the first day of the month before today.
DateTime FirstDayOfPeriod(const CommandLine& line, DateTime today);

ExportRequest RequestFromFiles(const std::filesystem::path& directory, const CommandLine& line, DateTime today);

}  // namespace varnel
