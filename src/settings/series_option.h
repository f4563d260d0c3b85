// The one option taken from the point-of-sale product's settings file
// ".\Korvel.ini": section "OPCOES", key "Serie de numeracao", the document
// series index (0 no series, 1 to 26 the letters A to Z). The file is only
// ever read. The value passes through a 10-character buffer, so only its first
// nine characters are seen, as the point-of-sale product reads it.
#pragma once

#include <filesystem>
#include <string_view>

namespace varnel {

inline constexpr std::string_view kPointOfSaleSettingsFile = "Korvel.ini";

// The series index read from Korvel.ini in directory; 0 when the file, the
// section or the key is missing or the value is not an integer. The result is
// not checked against 0..26: a value outside gives a list with no choice.
int ReadSeriesOption(const std::filesystem::path& directory = ".");

}  // namespace varnel
