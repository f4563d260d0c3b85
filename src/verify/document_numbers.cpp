// The per-series number index: splitting "TYPE SERIES/NUMBER", sorting, and
// the gaps and duplicates of each series written out as short lists.
#include "verify/document_numbers.h"

#include <algorithm>

namespace varnel::verify {

std::optional<DocumentNumberParts> SplitDocumentNumber(std::string_view text) {
  const std::size_t slash = text.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(slash + 1);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  std::uint32_t number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return DocumentNumberParts{text.substr(0, slash), number};
}

bool DocumentNumberIndex::Add(std::string_view document_number) {
  const auto parts = SplitDocumentNumber(document_number);
  if (!parts) return false;
  auto found = m_series.find(parts->series);
  if (found == m_series.end()) found = m_series.emplace(std::string(parts->series), std::vector<std::uint32_t>{}).first;
  found->second.push_back(parts->number);
  return true;
}

void DocumentNumberIndex::Finish() {
  for (auto& [series, numbers] : m_series) {
    std::sort(numbers.begin(), numbers.end());
    numbers.shrink_to_fit();
  }
}

bool DocumentNumberIndex::Contains(std::string_view series, std::uint32_t number) const {
  const auto found = m_series.find(series);
  return found != m_series.end() && std::binary_search(found->second.begin(), found->second.end(), number);
}

bool DocumentNumberIndex::Contains(std::string_view document_number) const {
  const auto parts = SplitDocumentNumber(document_number);
  return parts && Contains(parts->series, parts->number);
}

std::vector<SeriesNumbering> DocumentNumberIndex::Numbering() const {
  std::vector<SeriesNumbering> result;
  for (const auto& [series, numbers] : m_series) {
    if (numbers.empty()) continue;
    SeriesNumbering n;
    n.series = series;
    n.first = numbers.front();
    n.last = numbers.back();
    n.documents = numbers.size();
    std::size_t listed = 0;
    for (std::size_t i = 1; i < numbers.size(); ++i) {
      const std::uint32_t previous = numbers[i - 1];
      const std::uint32_t current = numbers[i];
      if (current == previous) {
        if (!n.duplicates.empty() && n.duplicates.back().number == current) {
          ++n.duplicates.back().times;
        } else if (++n.duplicate_count <= kMaxListed) {
          n.duplicates.push_back({current, 2});
        }
        continue;
      }
      if (current == previous + 1) continue;
      n.missing_count += current - previous - 1;
      if (listed == kMaxListed) {
        n.missing_text += ", ...";
        ++listed;
      }
      if (listed > kMaxListed) continue;
      if (!n.missing_text.empty()) n.missing_text += ", ";
      const std::uint32_t from = previous + 1;
      const std::uint32_t to = current - 1;
      n.missing_text += std::to_string(from);
      if (to == from + 1) n.missing_text += ", " + std::to_string(to);
      if (to > from + 1) n.missing_text += " a " + std::to_string(to);
      ++listed;
    }
    result.push_back(std::move(n));
  }
  return result;
}

}  // namespace varnel::verify
