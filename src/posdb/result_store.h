// ResultStore: the rows of one query result, held compactly: one flat array
// of 16-byte cells (row after row) and one shared arena for the bytes of every
// text, so a result of many thousands of rows costs little more than its data.
// A forward-only query keeps just its current row here.
//
// Cells live in blocks of 4096, so a growing result never copies itself and
// never holds more than one block it does not use. Locate builds, on first
// use for a set of columns, an index of (hash of the columns' values, row)
// pairs sorted by hash and row, 16 bytes a row; a search checks the candidates
// of its hash in row order and returns the first whose values really match.
// The result never changes while the store lives, so the index stays valid
// until the rows are cleared.
// Values compare as the database would: texts exactly but without trailing
// blanks, numbers by value (see LocateKey).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <memory>
#include <vector>

#include "base/date_time.h"
#include "posdb/param_value.h"

namespace varnel {

enum class CellType : std::uint8_t {
  Null,
  Integer,   // signed 64-bit
  Real,      // double
  Text,      // UTF-8
  Decimal,   // exact decimal number as text ("12.5000", "-.25")
  DateTime,  // day count, as DateTime
};

// One cell as read back: text points into the store's arena and stays valid
// until rows are added or cleared.
struct CellView {
  CellType type = CellType::Null;
  std::int64_t integer = 0;
  double real = 0.0;  // Real, and the day count of DateTime
  std::string_view text;
};

class ResultStore {
 public:
  // Starts a new result with these columns (no rows).
  void Reset(std::vector<std::string> column_names);
  // Drops the rows, keeps the columns and the memory already taken.
  void ClearRows();

  std::size_t column_count() const { return m_columns.size(); }
  const std::string& column_name(std::size_t column) const { return m_columns[column]; }
  // Index of the column of that name, ignoring ASCII letter case.
  std::optional<std::size_t> FindColumn(std::string_view name) const;

  // Rows are built cell by cell, in column order; a row counts once all its
  // cells are in.
  void AppendNull();
  void AppendInteger(std::int64_t value);
  void AppendReal(double value);
  void AppendText(std::string_view value);
  void AppendDecimal(std::string_view value);
  void AppendDateTime(DateTime value);
  std::size_t row_count() const;

  CellView Cell(std::size_t row, std::size_t column) const;

  // The first row whose cells in columns equal values, or nullopt.
  std::optional<std::size_t> Locate(const std::vector<std::size_t>& columns,
                                    const std::vector<LocateValue>& values);

  // Bytes held, for the memory checks of the tests.
  std::size_t memory_bytes() const;

 private:
  struct StoredCell {
    std::uint64_t payload = 0;  // integer bits, double bits, or arena offset
    std::uint32_t length = 0;   // text length in the arena
    CellType type = CellType::Null;
  };
  static_assert(sizeof(StoredCell) == 16);

  static constexpr std::size_t kBlockCells = 4096;
  struct IndexEntry {
    std::uint64_t hash;
    std::uint32_t row;
  };

  void Push(const StoredCell& cell);
  const StoredCell& At(std::size_t index) const {
    return m_blocks[index / kBlockCells][index % kBlockCells];
  }
  void AppendArena(CellType type, std::string_view bytes);
  std::string CellKey(const StoredCell& cell) const;
  // The key of a row over columns; empty when a cell can match nothing.
  std::string RowKey(std::size_t row, const std::vector<std::size_t>& columns) const;

  std::vector<std::string> m_columns;
  std::vector<std::unique_ptr<StoredCell[]>> m_blocks;
  std::size_t m_cell_count = 0;
  std::string m_arena;
  // Locate indexes by column list ("0;3").
  std::map<std::string, std::vector<IndexEntry>> m_indexes;
};

// The comparison key of Locate: numbers as "N" + shortest decimal text (so an
// integer 15, a real 15.0 and a decimal "15.00" all match 15), texts as "T" +
// the text without trailing blanks, except that a text which is exactly a
// whole number in plain decimal ("15", "-3") compares as that number, as a
// text and a number compare in the database's own variant logic. Null and
// date-time cells match nothing.
std::string LocateKey(const LocateValue& value);

}  // namespace varnel
