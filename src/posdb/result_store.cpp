// Flat cell storage of query results and the locate index over it.
#include "posdb/result_store.h"

#include "base/ascii_text.h"

#include <algorithm>
#include <functional>
#include <cstring>
#include <stdexcept>

#include "posdb/field_values.h"

namespace varnel {
namespace {

// Plain decimal whole number: "0", "15", "-3" (no sign "+", no leading zeros).
bool IsPlainWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty() || text.size() > 19) return false;
  if (text.size() > 1 && text.front() == '0') return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string TextKey(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (IsPlainWholeNumber(text) && text != "-0") return "N" + std::string(text);
  return "T" + std::string(text);
}

std::uint64_t Bits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double FromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

std::string LocateKey(const LocateValue& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) {
    return "N" + CellAsText(CellView{CellType::Integer, *integer, 0.0, {}});
  }
  return TextKey(std::get<std::string>(value));
}

void ResultStore::Reset(std::vector<std::string> column_names) {
  m_columns = std::move(column_names);
  ClearRows();
}

void ResultStore::ClearRows() {
  // One block stays for the next result; a forward-only query reuses it row after row.
  if (m_blocks.size() > 1) m_blocks.resize(1);
  m_cell_count = 0;
  m_arena.clear();
  m_indexes.clear();
}

std::optional<std::size_t> ResultStore::FindColumn(std::string_view name) const {
  for (std::size_t i = 0; i < m_columns.size(); ++i) {
    if (EqualsIgnoringAsciiCase(m_columns[i], name)) return i;
  }
  return std::nullopt;
}

void ResultStore::Push(const StoredCell& cell) {
  const std::size_t block = m_cell_count / kBlockCells;
  if (block == m_blocks.size()) m_blocks.push_back(std::make_unique<StoredCell[]>(kBlockCells));
  m_blocks[block][m_cell_count % kBlockCells] = cell;
  ++m_cell_count;
}

void ResultStore::AppendNull() { Push(StoredCell{}); }

void ResultStore::AppendInteger(std::int64_t value) {
  Push(StoredCell{static_cast<std::uint64_t>(value), 0, CellType::Integer});
}

void ResultStore::AppendReal(double value) { Push(StoredCell{Bits(value), 0, CellType::Real}); }

void ResultStore::AppendDateTime(DateTime value) {
  Push(StoredCell{Bits(value.days()), 0, CellType::DateTime});
}

void ResultStore::AppendText(std::string_view value) { AppendArena(CellType::Text, value); }

void ResultStore::AppendDecimal(std::string_view value) { AppendArena(CellType::Decimal, value); }

void ResultStore::AppendArena(CellType type, std::string_view bytes) {
  if (bytes.size() > UINT32_MAX) throw std::length_error("a field value of more than 4 GB");
  const std::uint64_t offset = m_arena.size();
  m_arena.append(bytes);
  Push(StoredCell{offset, static_cast<std::uint32_t>(bytes.size()), type});
}

std::size_t ResultStore::row_count() const {
  return m_columns.empty() ? 0 : m_cell_count / m_columns.size();
}

CellView ResultStore::Cell(std::size_t row, std::size_t column) const {
  const StoredCell& cell = At(row * m_columns.size() + column);
  CellView view;
  view.type = cell.type;
  switch (cell.type) {
    case CellType::Null:
      break;
    case CellType::Integer:
      view.integer = static_cast<std::int64_t>(cell.payload);
      break;
    case CellType::Real:
    case CellType::DateTime:
      view.real = FromBits(cell.payload);
      break;
    case CellType::Text:
    case CellType::Decimal:
      view.text = std::string_view(m_arena).substr(cell.payload, cell.length);
      break;
  }
  return view;
}

std::string ResultStore::CellKey(const StoredCell& cell) const {
  switch (cell.type) {
    case CellType::Null:
    case CellType::DateTime:
      return {};
    case CellType::Text:
      return TextKey(std::string_view(m_arena).substr(cell.payload, cell.length));
    case CellType::Integer:
    case CellType::Real:
    case CellType::Decimal: {
      const CellView view = [&] {
        CellView v;
        v.type = cell.type;
        v.integer = static_cast<std::int64_t>(cell.payload);
        v.real = FromBits(cell.payload);
        if (cell.type == CellType::Decimal) {
          v.text = std::string_view(m_arena).substr(cell.payload, cell.length);
        }
        return v;
      }();
      return "N" + CellAsText(view);
    }
  }
  return {};
}

std::string ResultStore::RowKey(std::size_t row, const std::vector<std::size_t>& columns) const {
  std::string key;
  for (std::size_t column : columns) {
    const std::string part = CellKey(At(row * m_columns.size() + column));
    if (part.empty()) return {};
    key += part;
    key += '\x1f';
  }
  return key;
}

std::optional<std::size_t> ResultStore::Locate(const std::vector<std::size_t>& columns,
                                               const std::vector<LocateValue>& values) {
  if (columns.empty() || columns.size() != values.size()) return std::nullopt;
  std::string signature;
  for (std::size_t column : columns) signature += std::to_string(column) + ";";
  auto [slot, created] = m_indexes.try_emplace(signature);
  std::vector<IndexEntry>& index = slot->second;
  const std::hash<std::string> hasher;
  if (created) {
    // First search on these columns: one pass over the rows, then sorted.
    const std::size_t rows = row_count();
    index.reserve(rows);
    for (std::size_t row = 0; row < rows; ++row) {
      const std::string key = RowKey(row, columns);
      if (!key.empty()) index.push_back({hasher(key), static_cast<std::uint32_t>(row)});
    }
    std::sort(index.begin(), index.end(), [](const IndexEntry& a, const IndexEntry& b) {
      return a.hash != b.hash ? a.hash < b.hash : a.row < b.row;
    });
  }
  std::string key;
  for (const auto& value : values) {
    key += LocateKey(value);
    key += '\x1f';
  }
  const std::uint64_t hash = hasher(key);
  auto candidate = std::lower_bound(index.begin(), index.end(), hash,
                                    [](const IndexEntry& entry, std::uint64_t h) { return entry.hash < h; });
  for (; candidate != index.end() && candidate->hash == hash; ++candidate) {
    if (RowKey(candidate->row, columns) == key) return candidate->row;
  }
  return std::nullopt;
}

std::size_t ResultStore::memory_bytes() const {
  std::size_t bytes = m_blocks.size() * kBlockCells * sizeof(StoredCell) + m_arena.capacity();
  for (const auto& [signature, index] : m_indexes) bytes += index.capacity() * sizeof(IndexEntry);
  return bytes;
}

}  // namespace varnel
