// The series' validation codes the tax authority gives a shop for each
// document series (the first part of every document's ATCUD). The
// point-of-sale database holds none, so they live in Varnel.ini, section
// "ATCUD", one key per document type and series as the document number shows
// them ("FT A=AAJFJMVNTN", "CM A=...", "RC A=..."). The window edits them in
// a small table; the headless exporter only reads them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/atcud_series_code.h"  // AtcudSeriesCode, IsValidValidationCode

namespace varnel {

class AtcudCodes {
 public:
  static constexpr std::string_view kSection = "ATCUD";

  // Bound to Varnel.ini in directory, like the settings store.
  explicit AtcudCodes(std::filesystem::path directory = ".");

  // Every key of the section, in the file's order; a key that is not
  // "<type> <series>" is left out. Missing file or section: empty.
  std::vector<AtcudSeriesCode> Load() const;

  // Replaces the section with entries, in their order. Raises
  // SettingsWriteError ("Unable to write to .\Varnel.ini") when the file
  // cannot be written. Entries are written as given: callers refuse
  // malformed codes where they are entered.
  void Save(const std::vector<AtcudSeriesCode>& entries);

 private:
  std::filesystem::path m_directory;
};

}  // namespace varnel
