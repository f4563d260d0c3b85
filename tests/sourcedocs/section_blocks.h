// Cuts repeated element blocks and the last lines out of an exported audit
// file, for the document-section tests (on top of the shared export harness).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/export_harness.h"

namespace varnel::testing {

inline std::string TrimmedLine(std::string_view line) {
  const auto first = line.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(line.substr(first));
}

// Every block from a line whose trimmed text is open_line to the next line
// whose trimmed text is close_line, as ExportResult::Block gives one.
inline std::vector<std::string> Blocks(const ExportResult& result, std::string_view open_line,
                                       std::string_view close_line) {
  std::vector<std::string> blocks;
  std::string current;
  bool inside = false;
  for (const std::string& line : result.lines()) {
    const std::string trimmed = TrimmedLine(line);
    if (!inside && trimmed == open_line) inside = true;
    if (inside) current += line + "\n";
    if (inside && trimmed == close_line) {
      blocks.push_back(current);
      current.clear();
      inside = false;
    }
  }
  return blocks;
}

// The last count lines of the file, each followed by "\n".
inline std::string Tail(const ExportResult& result, std::size_t count) {
  const auto all = result.lines();
  std::string text;
  for (std::size_t i = all.size() > count ? all.size() - count : 0; i < all.size(); ++i) text += all[i] + "\n";
  return text;
}

}  // namespace varnel::testing
