#include "base/atcud_series_code.h"

#include <algorithm>

#include "base/ascii_text.h"

namespace varnel {

bool IsValidValidationCode(std::string_view code) {
  auto letter_or_digit = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  };
  return code.size() >= 8 && std::all_of(code.begin(), code.end(), letter_or_digit);
}

const AtcudSeriesCode* FindAtcudSeriesCode(const std::vector<AtcudSeriesCode>& codes, std::string_view type,
                                           std::string_view series) {
  for (const AtcudSeriesCode& entry : codes) {
    if (EqualsIgnoringAsciiCase(entry.type, type) && EqualsIgnoringAsciiCase(entry.series, series)) return &entry;
  }
  return nullptr;
}

}  // namespace varnel
