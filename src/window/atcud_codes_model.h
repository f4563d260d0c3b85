// The validation codes' dialog without its toolkit: a table of the series'
// ATCUD validation codes (type, series, code), loaded from Varnel.ini's
// section "ATCUD" when the dialog opens and saved there only when the
// operator saves. A value that cannot stand in the file is refused where it
// is typed, with a Portuguese message, and the cell keeps its old value: a
// type or series that is empty or holds a blank or "=", a code of fewer than
// 8 letters and digits. Saving refuses an unfinished row and a type and
// series given twice, and names the row.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/atcud_series_code.h"

namespace varnel {

class AtcudCodesModel {
 public:
  enum class Column { type, series, code };
  static constexpr const char* kTitle = "Códigos de validação ATCUD";
  static constexpr const char* kColumnTitles[] = {"Tipo", "Série", "Código de validação"};

  explicit AtcudCodesModel(std::filesystem::path directory);

  const std::vector<AtcudSeriesCode>& rows() const { return m_rows; }
  const std::string& cell(std::size_t row, Column column) const;

  // The refusal's message when text cannot stand in that cell (the cell
  // keeps its value); nothing when it was taken. Blanks around it are dropped.
  std::optional<std::string> setCell(std::size_t row, Column column, const std::string& text);
  // A new empty row at the end; its index.
  std::size_t addRow();
  void removeRow(std::size_t row);

  // Writes the table to Varnel.ini; the refusal's message when a row is
  // unfinished or repeated, or the file cannot be written.
  std::optional<std::string> save();

 private:
  std::filesystem::path m_directory;
  std::vector<AtcudSeriesCode> m_rows;
};

}  // namespace varnel
