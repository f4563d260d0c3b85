// Document numbers of one section, per series: "FT A/12" is number 12 of the
// series "FT A" (the text before the "/"). Each series keeps its numbers as
// 32-bit integers, four bytes a document, so the index stays small however
// long the period; once the section is read they are sorted for the gaps, the
// duplicates and the look-ups of documents that refer to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::verify {

struct DocumentNumberParts {
  std::string_view series;  // the text before the last "/"
  std::uint32_t number = 0;
};

// nullopt when the text has no "/" or what follows it is not a whole number
// of at most nine digits.
std::optional<DocumentNumberParts> SplitDocumentNumber(std::string_view text);

// What the numbers of one series show once sorted.
struct SeriesNumbering {
  std::string series;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
  std::size_t documents = 0;
  std::size_t missing_count = 0;           // numbers between first and last not in the file
  std::string missing_text;                // "5, 6, 10 a 19", at most the first kMaxListed numbers or ranges
  struct Duplicate {
    std::uint32_t number;
    std::size_t times;  // documents with this number
  };
  std::vector<Duplicate> duplicates;  // each number that appears more than once (the first kMaxListed)
  std::size_t duplicate_count = 0;    // numbers that appear more than once
};

class DocumentNumberIndex {
 public:
  static constexpr std::size_t kMaxListed = 20;

  // Records a number; false (and nothing recorded) when it has no series and
  // number to record.
  bool Add(std::string_view document_number);
  // Sorts every series; call once the section is read.
  void Finish();
  // After Finish: whether the document with this number is in the index.
  bool Contains(std::string_view document_number) const;
  bool Contains(std::string_view series, std::uint32_t number) const;
  std::vector<SeriesNumbering> Numbering() const;
  bool empty() const { return m_series.empty(); }

 private:
  std::map<std::string, std::vector<std::uint32_t>, std::less<>> m_series;
};

}  // namespace varnel::verify
