// The statement texts of the system are T-SQL, as the point-of-sale product's
// SQL Server database speaks it. This unit reads them (a tokenizer that knows
// string literals, quoted names and comments) and makes them runnable where
// needed:
//
// For SQLite, AdaptForSqlite rewrites exactly these constructs and nothing else:
//   1. a line "DECLARE @v TYPE, ..." is dropped;
//   2. a line "SET @v = expr" is dropped and every later @v becomes expr
//      (a lone parameter ":p" as it is, anything else in parentheses);
//   3. ISNULL(a, b) becomes IFNULL(a, b) (the name in any letter case);
//   4. GETDATE() becomes datetime('now','localtime'), the current local
//      date-time as 'YYYY-MM-DD HH:MM:SS', evaluated at every run;
//   5. "ALTER TABLE t ADD a int, b int" becomes one ALTER per column, run one
//      after the other, so a table that has one of them still gains the other;
//   6. "BEGIN TRANSACTION" alone becomes "BEGIN IMMEDIATE TRANSACTION", so a
//      transaction takes the write lock when it begins.
// String literals, quoted names and comments are never changed.
//
// For ODBC, ToPositionalParameters turns the named parameters ":name" into "?"
// and lists their names in order (a name used twice is listed twice).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnel {

enum class SqlTokenKind {
  Space,      // blanks, tabs, line breaks
  Word,       // identifier or keyword
  Parameter,  // ":name"
  Variable,   // "@name" (T-SQL local variable)
  Literal,    // '...' with '' standing for one quote
  QuotedName, // "..." or [...]
  Comment,    // -- to the end of the line, or /* ... */
  Number,
  Other,      // any other single character
};

struct SqlToken {
  SqlTokenKind kind;
  std::string_view text;  // a span of the tokenized text; the spans add up to it
};

std::vector<SqlToken> TokenizeSql(std::string_view sql);

// The parameter names of sql (without the colon) in order of appearance, each
// name once, in the letter case of its first use.
std::vector<std::string> ParameterNames(std::string_view sql);

struct PositionalSql {
  std::string text;                     // sql with every ":name" replaced by "?"
  std::vector<std::string> parameters;  // the name behind each "?", in order
};
PositionalSql ToPositionalParameters(std::string_view sql);

// The SQLite statements that do what the T-SQL text does (see above); usually
// one, several for an ALTER TABLE that adds more than one column.
std::vector<std::string> AdaptForSqlite(std::string_view tsql);

}  // namespace varnel
