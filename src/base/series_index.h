// The document series a run numbers its documents with: 0 for no series, 1
// to 26 for the letters A to Z, as the point-of-sale product's option and the
// window's list give it; -1 when the list has nothing chosen. The value owns
// its range: only 1 to 26 carry a letter, and a number built for any other
// value shows "?" where the letter stands.
#pragma once

#include <string>

namespace varnel {

class SeriesIndex {
 public:
  static constexpr int kNoSeries = 0;
  static constexpr int kLastLetter = 26;
  static constexpr int kNothingChosen = -1;

  constexpr SeriesIndex() = default;
  constexpr explicit SeriesIndex(int value) : m_value(value) {}

  // A stored or typed value as the series list shows it: the value when it
  // is one of the list's choices (0 to 26), otherwise nothing chosen.
  static constexpr SeriesIndex ListChoice(int value) {
    return SeriesIndex(value >= kNoSeries && value <= kLastLetter ? value : kNothingChosen);
  }

  constexpr int value() const { return m_value; }
  constexpr bool has_letter() const { return m_value >= 1 && m_value <= kLastLetter; }
  // "A" to "Z" for 1 to 26; "?" for every other value.
  std::string Letter() const;

  friend constexpr bool operator==(SeriesIndex, SeriesIndex) = default;

 private:
  int m_value = kNoSeries;
};

}  // namespace varnel
