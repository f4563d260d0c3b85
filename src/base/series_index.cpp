// Series letters: the letter of a series index, or "?" outside 1 to 26.
#include "base/series_index.h"

namespace varnel {

std::string SeriesIndex::Letter() const {
  if (!has_letter()) return "?";
  return std::string(1, static_cast<char>('A' + m_value - 1));
}

}  // namespace varnel
