// The request of a headless export: the ten company values from Varnel.ini
// (missing keys take the window's defaults), the series from Korvel.ini, the
// period of the window (last month) unless given, and the options given.
#pragma once

#include <filesystem>

#include "cli/command_line.h"
#include "section/export_request.h"

namespace varnel {

ExportRequest RequestFromFiles(const std::filesystem::path& directory, const CommandLine& line, DateTime today);

}  // namespace varnel
