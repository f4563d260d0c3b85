// Tokenizer for T-SQL texts and the two rewrites built on it: the SQLite
// dialect adapter and the positional parameters of ODBC. Rewrites work on
// tokens, so a colon, an "@" or the word ISNULL inside a string literal is
// left exactly as written.
#include "posdb/sql_dialect.h"

#include "base/ascii_text.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace varnel {
namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }


// Index of the next token at or after i that is not blank or a comment.
std::size_t NextCode(const std::vector<SqlToken>& tokens, std::size_t i) {
  while (i < tokens.size() &&
         (tokens[i].kind == SqlTokenKind::Space || tokens[i].kind == SqlTokenKind::Comment)) {
    ++i;
  }
  return i;
}

bool IsChar(const std::vector<SqlToken>& tokens, std::size_t i, char c) {
  return i < tokens.size() && tokens[i].kind == SqlTokenKind::Other && tokens[i].text.size() == 1 &&
         tokens[i].text[0] == c;
}

bool IsWord(const std::vector<SqlToken>& tokens, std::size_t i, std::string_view word) {
  return i < tokens.size() && tokens[i].kind == SqlTokenKind::Word &&
         EqualsIgnoringAsciiCase(tokens[i].text, word);
}

// A T-SQL batch line of the form "SET @name = expression"; the name comes
// back lower-cased.
bool ReadVariableAssignment(std::string_view line, std::string& name, std::string& expression) {
  const auto tokens = TokenizeSql(line);
  std::size_t i = NextCode(tokens, 0);
  if (!IsWord(tokens, i, "SET")) return false;
  i = NextCode(tokens, i + 1);
  if (i >= tokens.size() || tokens[i].kind != SqlTokenKind::Variable) return false;
  name = AsciiLower(tokens[i].text);
  i = NextCode(tokens, i + 1);
  if (!IsChar(tokens, i, '=')) return false;
  // The expression runs to the end of the line, without the blanks, the
  // closing ";" and a comment after it: a "--" comment put inside the
  // parentheses that the expression is later wrapped in would swallow the
  // closing one.
  std::size_t end = tokens.size();
  while (end > i + 1 && (tokens[end - 1].kind == SqlTokenKind::Space || tokens[end - 1].kind == SqlTokenKind::Comment ||
                         IsChar(tokens, end - 1, ';'))) {
    --end;
  }
  expression.clear();
  for (std::size_t k = i + 1; k < end; ++k) expression += tokens[k].text;
  expression = std::string(TrimWhiteSpace(expression));
  return !expression.empty();
}

bool IsVariableDeclaration(std::string_view line) {
  const auto tokens = TokenizeSql(line);
  const std::size_t i = NextCode(tokens, 0);
  if (!IsWord(tokens, i, "DECLARE")) return false;
  const std::size_t next = NextCode(tokens, i + 1);
  return next < tokens.size() && tokens[next].kind == SqlTokenKind::Variable;
}

bool IsLoneParameter(std::string_view expression) {
  const auto tokens = TokenizeSql(expression);
  return tokens.size() == 1 && tokens[0].kind == SqlTokenKind::Parameter;
}

// Rewrites variables, ISNULL and GETDATE in one statement text.
std::string RewriteExpressions(std::string_view text, const std::map<std::string, std::string>& variables) {
  const auto tokens = TokenizeSql(text);
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const SqlToken& token = tokens[i];
    if (token.kind == SqlTokenKind::Variable) {
      const auto found = variables.find(AsciiLower(token.text));
      if (found != variables.end()) {
        if (IsLoneParameter(found->second)) {
          out += found->second;
        } else {
          out += "(" + found->second + ")";
        }
        continue;
      }
    } else if (token.kind == SqlTokenKind::Word) {
      const std::size_t open = NextCode(tokens, i + 1);
      if (EqualsIgnoringAsciiCase(token.text, "ISNULL") && IsChar(tokens, open, '(')) {
        out += "IFNULL";
        continue;
      }
      if (EqualsIgnoringAsciiCase(token.text, "GETDATE") && IsChar(tokens, open, '(')) {
        const std::size_t close = NextCode(tokens, open + 1);
        if (IsChar(tokens, close, ')')) {
          out += "datetime('now','localtime')";
          i = close;
          continue;
        }
      }
    }
    out += token.text;
  }
  return out;
}

// "BEGIN TRANSACTION" (or "BEGIN TRAN") alone -> "BEGIN IMMEDIATE
// TRANSACTION": the write lock is taken at the begin, waiting out the busy
// timeout there, instead of at the first write of a transaction that has
// read already (where SQLite gives up at once rather than risk a deadlock).
bool IsBareBeginTransaction(const std::string& statement) {
  const auto tokens = TokenizeSql(statement);
  std::size_t i = NextCode(tokens, 0);
  if (!IsWord(tokens, i, "BEGIN")) return false;
  i = NextCode(tokens, i + 1);
  if (!IsWord(tokens, i, "TRANSACTION") && !IsWord(tokens, i, "TRAN")) return false;
  i = NextCode(tokens, i + 1);
  if (IsChar(tokens, i, ';')) i = NextCode(tokens, i + 1);
  return i >= tokens.size();
}

// "ALTER TABLE t ADD a int, b int" -> one statement per column; any other
// text comes back as the only statement.
std::vector<std::string> SplitAlterTableAdd(const std::string& statement) {
  const auto tokens = TokenizeSql(statement);
  std::size_t i = NextCode(tokens, 0);
  if (!IsWord(tokens, i, "ALTER")) return {statement};
  i = NextCode(tokens, i + 1);
  if (!IsWord(tokens, i, "TABLE")) return {statement};
  // The table name runs up to the word ADD.
  std::size_t add = NextCode(tokens, i + 1);
  while (add < tokens.size() && !IsWord(tokens, add, "ADD")) add = NextCode(tokens, add + 1);
  if (add >= tokens.size()) return {statement};
  std::size_t first_column = NextCode(tokens, add + 1);
  std::string prefix;
  for (std::size_t k = 0; k <= add; ++k) prefix += tokens[k].text;
  prefix += " ";
  if (IsWord(tokens, first_column, "COLUMN")) first_column = NextCode(tokens, first_column + 1);

  std::vector<std::string> columns(1);
  int depth = 0;
  for (std::size_t k = first_column; k < tokens.size(); ++k) {
    if (IsChar(tokens, k, '(')) ++depth;
    if (IsChar(tokens, k, ')')) --depth;
    if (depth == 0 && IsChar(tokens, k, ',')) {
      columns.emplace_back();
      continue;
    }
    columns.back() += tokens[k].text;
  }
  if (columns.size() < 2) return {statement};
  std::vector<std::string> statements;
  for (const auto& column : columns) statements.push_back(prefix + std::string(TrimWhiteSpace(column)));
  return statements;
}

}  // namespace

namespace {

// Just past the literal that opens at start ('' inside it is one quote); the
// end of the text when it is not closed.
std::size_t EndOfLiteral(std::string_view sql, std::size_t start) {
  std::size_t i = start + 1;
  while (i < sql.size()) {
    if (sql[i] != '\'') {
      ++i;
    } else if (i + 1 < sql.size() && sql[i + 1] == '\'') {
      i += 2;
    } else {
      return i + 1;
    }
  }
  return i;
}

// Just past the "name" or [name] that opens at start.
std::size_t EndOfQuotedName(std::string_view sql, std::size_t start) {
  const char close = sql[start] == '"' ? '"' : ']';
  std::size_t i = start + 1;
  while (i < sql.size() && sql[i] != close) ++i;
  return i < sql.size() ? i + 1 : i;
}

}  // namespace

std::vector<SqlToken> TokenizeSql(std::string_view sql) {
  std::vector<SqlToken> tokens;
  std::size_t i = 0;
  const std::size_t n = sql.size();
  auto push = [&](SqlTokenKind kind, std::size_t start, std::size_t end) {
    tokens.push_back(SqlToken{kind, sql.substr(start, end - start)});
  };
  while (i < n) {
    const std::size_t start = i;
    const char c = sql[i];
    if (IsSpace(c)) {
      while (i < n && IsSpace(sql[i])) ++i;
      push(SqlTokenKind::Space, start, i);
    } else if (c == '\'') {
      i = EndOfLiteral(sql, i);
      push(SqlTokenKind::Literal, start, i);
    } else if (c == '"' || c == '[') {
      i = EndOfQuotedName(sql, i);
      push(SqlTokenKind::QuotedName, start, i);
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
      push(SqlTokenKind::Comment, start, i);
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const auto end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? n : end + 2;
      push(SqlTokenKind::Comment, start, i);
    } else if (c == ':' && i + 1 < n && IsWordStart(sql[i + 1])) {
      i += 2;
      while (i < n && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_')) ++i;
      push(SqlTokenKind::Parameter, start, i);
    } else if (c == '@' && i + 1 < n && (IsWordChar(sql[i + 1]) || sql[i + 1] == '@')) {
      i += 2;
      while (i < n && (IsWordChar(sql[i]) || sql[i] == '@')) ++i;
      push(SqlTokenKind::Variable, start, i);
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(sql[i])) ++i;
      push(SqlTokenKind::Word, start, i);
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
      while (i < n && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '.')) ++i;
      push(SqlTokenKind::Number, start, i);
    } else {
      ++i;
      push(SqlTokenKind::Other, start, i);
    }
  }
  return tokens;
}

std::vector<std::string> ParameterNames(std::string_view sql) {
  std::vector<std::string> names;
  for (const auto& token : TokenizeSql(sql)) {
    if (token.kind != SqlTokenKind::Parameter) continue;
    const auto name = token.text.substr(1);
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const std::string& n) { return EqualsIgnoringAsciiCase(n, name); });
    if (!known) names.emplace_back(name);
  }
  return names;
}

PositionalSql ToPositionalParameters(std::string_view sql) {
  PositionalSql result;
  result.text.reserve(sql.size());
  for (const auto& token : TokenizeSql(sql)) {
    if (token.kind == SqlTokenKind::Parameter) {
      result.text += '?';
      result.parameters.emplace_back(token.text.substr(1));
    } else {
      result.text += token.text;
    }
  }
  return result;
}

std::vector<std::string> AdaptForSqlite(std::string_view tsql) {
  // The text is taken line by line, but only at the line breaks that stand
  // between tokens: a literal, quoted name or block comment that spans lines
  // stays whole, so a line inside it that looks like DECLARE or SET is left
  // alone.
  std::vector<std::size_t> breaks;
  for (const auto& token : TokenizeSql(tsql)) {
    if (token.kind != SqlTokenKind::Space) continue;
    const auto offset = static_cast<std::size_t>(token.text.data() - tsql.data());
    for (std::size_t k = 0; k < token.text.size(); ++k) {
      if (token.text[k] == '\n') breaks.push_back(offset + k);
    }
  }
  auto next_break = breaks.begin();
  std::map<std::string, std::string> variables;
  std::string kept;
  std::size_t start = 0;
  bool first = true;
  while (start <= tsql.size()) {
    const std::size_t end = next_break != breaks.end() ? *next_break++ : tsql.size();
    const auto line = tsql.substr(start, end - start);
    std::string name, expression;
    if (IsVariableDeclaration(line)) {
      // dropped: SQLite has no local variables; their SET lines give their values
    } else if (ReadVariableAssignment(line, name, expression)) {
      variables[name] = RewriteExpressions(expression, variables);
    } else {
      if (!first) kept += '\n';
      kept += line;
      first = false;
    }
    start = end + 1;
  }
  const std::string rewritten = RewriteExpressions(kept, variables);
  if (IsBareBeginTransaction(rewritten)) return {"BEGIN IMMEDIATE TRANSACTION"};
  return SplitAlterTableAdd(rewritten);
}

}  // namespace varnel
