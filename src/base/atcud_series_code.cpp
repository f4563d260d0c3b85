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

std::optional<DocumentSeriesParts> SplitDocumentSeries(std::string_view document_number) {
  const std::size_t blank = document_number.find(' ');
  const std::size_t slash = document_number.rfind('/');
  if (blank == std::string_view::npos || blank == 0 || slash == std::string_view::npos || slash <= blank + 1 ||
      slash + 1 == document_number.size()) {
    return std::nullopt;
  }
  const std::string_view sequence = document_number.substr(slash + 1);
  if (sequence.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  return DocumentSeriesParts{document_number.substr(0, blank), document_number.substr(blank + 1, slash - blank - 1),
                             sequence};
}

std::string Atcud(std::string_view document_number, const std::vector<AtcudSeriesCode>& codes) {
  const auto parts = SplitDocumentSeries(document_number);
  if (!parts) return "0";
  const AtcudSeriesCode* series = FindAtcudSeriesCode(codes, parts->type, parts->series);
  if (!series || series->code.empty()) return "0";
  return series->code + "-" + std::string(parts->sequence);
}

const AtcudSeriesCode* FindAtcudSeriesCode(const std::vector<AtcudSeriesCode>& codes, std::string_view type,
                                           std::string_view series) {
  for (const AtcudSeriesCode& entry : codes) {
    if (EqualsIgnoringAsciiCase(entry.type, type) && EqualsIgnoringAsciiCase(entry.series, series)) return &entry;
  }
  return nullptr;
}

}  // namespace varnel
