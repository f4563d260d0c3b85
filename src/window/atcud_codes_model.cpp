// The validation codes' table: what a cell takes, and the checks before it
// is saved through AtcudCodes.
#include "window/atcud_codes_model.h"

#include <utility>

#include "base/errors.h"
#include "settings/atcud_codes.h"
#include "window/portuguese_messages.h"

namespace varnel {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A type or series is part of the key "<type> <series>" of the file.
bool FitsTheKey(const std::string& text) { return !text.empty() && text.find_first_of(" \t=[]") == std::string::npos; }

std::string* CellOf(AtcudSeriesCode& row, AtcudCodesModel::Column column) {
  switch (column) {
    case AtcudCodesModel::Column::type: return &row.type;
    case AtcudCodesModel::Column::series: return &row.series;
    case AtcudCodesModel::Column::code: return &row.code;
  }
  return nullptr;
}

std::string RowName(std::size_t row) { return "Linha " + std::to_string(row + 1) + ": "; }

bool SameKey(const AtcudSeriesCode& a, const AtcudSeriesCode& b) {
  std::vector<AtcudSeriesCode> one{a};
  return FindAtcudSeriesCode(one, b.type, b.series) != nullptr;
}

}  // namespace

AtcudCodesModel::AtcudCodesModel(std::filesystem::path directory)
    : m_directory(std::move(directory)), m_rows(AtcudCodes(m_directory).Load()) {}

const std::string& AtcudCodesModel::cell(std::size_t row, Column column) const {
  return *CellOf(const_cast<AtcudSeriesCode&>(m_rows.at(row)), column);
}

std::optional<std::string> AtcudCodesModel::setCell(std::size_t row, Column column, const std::string& text) {
  const std::string value = Trimmed(text);
  if (column == Column::code && !IsValidValidationCode(value)) {
    return "Código de validação inválido: tem de ter pelo menos 8 caracteres, só letras e algarismos.";
  }
  if (column != Column::code && !FitsTheKey(value)) {
    return column == Column::type ? "Tipo de documento inválido: indique-o sem espaços (por exemplo FT)."
                                  : "Série inválida: indique-a sem espaços, como no número do documento (por exemplo A).";
  }
  *CellOf(m_rows.at(row), column) = value;
  return std::nullopt;
}

std::size_t AtcudCodesModel::addRow() {
  m_rows.push_back({});
  return m_rows.size() - 1;
}

void AtcudCodesModel::removeRow(std::size_t row) {
  if (row < m_rows.size()) m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
}

std::optional<std::string> AtcudCodesModel::save() {
  for (std::size_t row = 0; row < m_rows.size(); ++row) {
    const AtcudSeriesCode& entry = m_rows[row];
    if (!FitsTheKey(entry.type) || !FitsTheKey(entry.series) || !IsValidValidationCode(entry.code)) {
      return RowName(row) + "falta o tipo, a série ou o código de validação.";
    }
    for (std::size_t other = 0; other < row; ++other) {
      if (SameKey(m_rows[other], entry)) {
        return RowName(row) + "o tipo " + entry.type + " e a série " + entry.series + " já estão na linha " +
               std::to_string(other + 1) + ".";
      }
    }
  }
  try {
    AtcudCodes(m_directory).Save(m_rows);
  } catch (const VarnelError& error) {
    return PortugueseMessage(error.what());
  }
  return std::nullopt;
}

}  // namespace varnel
