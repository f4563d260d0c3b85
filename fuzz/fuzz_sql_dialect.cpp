// Fuzzes the SQL dialect adapter with any text. Invariants:
// - the tokens cover the text exactly, in order;
// - positional parameters replace exactly the named ones: the text that
//   comes out has none left, as many "?" came in as names went out, and
//   every string literal is as it was;
// - the SQLite adaptation leaves a text without anything to rewrite as it
//   is, and never changes a string literal (each literal it puts out stood
//   in the input as a whole literal, or is one of the rewrite of GETDATE),
//   nor the balance of parentheses.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "posdb/sql_dialect.h"

namespace {

using varnel::SqlTokenKind;
using varnel::fuzz::Require;

std::vector<std::string> Literals(std::string_view sql) {
  std::vector<std::string> literals;
  for (const auto& token : varnel::TokenizeSql(sql)) {
    if (token.kind == SqlTokenKind::Literal) literals.emplace_back(token.text);
  }
  return literals;
}

// The depth of parentheses outside literals, names and comments at the end
// of sql, or -1 when a ")" closes nothing.
int ParenthesisDepth(std::string_view sql) {
  int depth = 0;
  for (const auto& token : varnel::TokenizeSql(sql)) {
    if (token.kind != SqlTokenKind::Other) continue;
    if (token.text == "(") ++depth;
    if (token.text == ")" && --depth < 0) return -1;
  }
  return depth;
}

// Whether every literal, quoted name and block comment of sql is closed: a
// quote put after it then stands alone.
bool AllClosed(std::string_view sql) {
  const std::string probe = std::string(sql) + "\n'";
  const auto tokens = varnel::TokenizeSql(probe);
  return tokens.back().kind == SqlTokenKind::Literal && tokens.back().text == "'";
}

bool HasWord(std::string_view sql, std::string_view upper_word) {
  for (const auto& token : varnel::TokenizeSql(sql)) {
    if (token.kind != SqlTokenKind::Word || token.text.size() != upper_word.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < upper_word.size(); ++i) {
      same = same && std::toupper(static_cast<unsigned char>(token.text[i])) == upper_word[i];
    }
    if (same) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view sql = varnel::fuzz::AsText(data, size);
  const auto tokens = varnel::TokenizeSql(sql);
  std::string joined;
  std::size_t parameters = 0;
  for (const auto& token : tokens) {
    Require(!token.text.empty(), "no empty token");
    Require(token.text.data() == sql.data() + joined.size(), "tokens follow each other");
    joined += token.text;
    if (token.kind == SqlTokenKind::Parameter) {
      ++parameters;
      Require(token.text.size() >= 2 && token.text[0] == ':', "a parameter is a colon and a name");
    }
  }
  Require(joined == sql, "the tokens cover the text");

  const auto positional = varnel::ToPositionalParameters(sql);
  Require(positional.parameters.size() == parameters, "one name per parameter");
  for (const auto& token : varnel::TokenizeSql(positional.text)) {
    Require(token.kind != SqlTokenKind::Parameter, "no named parameter left");
  }
  Require(Literals(positional.text) == Literals(sql), "literals pass unchanged");
  for (const auto& name : varnel::ParameterNames(sql)) Require(!name.empty(), "parameter names are not empty");

  // The SQLite adaptation, for texts of the size the system's own queries
  // have.
  if (sql.size() > 4096) return 0;
  const std::vector<std::string> statements = varnel::AdaptForSqlite(sql);
  Require(!statements.empty(), "at least one statement");
  // What follows holds for texts whose literals, names and comments are all
  // closed; in a text cut short anything may happen to the open one.
  if (!AllClosed(sql)) return 0;
  const auto input_literals = Literals(sql);
  std::set<std::string> known(input_literals.begin(), input_literals.end());
  // GETDATE() becomes datetime('now','localtime'): its two literals are the
  // adapter's own.
  known.insert({"'now'", "'localtime'"});
  for (const auto& statement : statements) {
    for (const auto& literal : Literals(statement)) {
      Require(known.count(literal) > 0, "every literal put out stood in the input");
    }
  }
  // Balanced parentheses stay balanced (when the DECLARE and SET lines that
  // go away are balanced themselves): a variable's expression goes in whole,
  // its parentheses around it.
  // Lines end at the line breaks between tokens (a literal may span lines).
  bool removed_lines_balanced = true;
  std::size_t start = 0;
  auto check_line = [&](std::size_t end) {
    const std::string_view line = sql.substr(start, end - start);
    if ((HasWord(line, "SET") || HasWord(line, "DECLARE")) && ParenthesisDepth(line) != 0) {
      removed_lines_balanced = false;
    }
    start = end + 1;
  };
  for (const auto& token : tokens) {
    if (token.kind != SqlTokenKind::Space) continue;
    for (std::size_t k = 0; k < token.text.size(); ++k) {
      if (token.text[k] == '\n') check_line(static_cast<std::size_t>(token.text.data() - sql.data()) + k);
    }
  }
  check_line(sql.size());
  if (removed_lines_balanced && ParenthesisDepth(sql) == 0 && statements.size() == 1) {
    Require(ParenthesisDepth(statements.front()) == 0, "balanced parentheses stay balanced");
  }
  const bool nothing_to_rewrite = !HasWord(sql, "DECLARE") && !HasWord(sql, "SET") && !HasWord(sql, "ISNULL") &&
                                  !HasWord(sql, "GETDATE") && !HasWord(sql, "ALTER") &&
                                  sql.find('@') == std::string_view::npos;
  if (nothing_to_rewrite) {
    Require(statements.size() == 1 && statements.front() == sql, "a text with nothing to rewrite stays as it is");
  }
  return 0;
}
