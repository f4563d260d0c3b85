// Database dumps through plain SQL on the fixture's own connection.
#include "reliability/support/database_dump.h"

#include <set>
#include <string_view>
#include <vector>

namespace varnel::testing::reliability {

namespace {

constexpr char kSeparator = '\x1F';

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    std::size_t end = text.find(kSeparator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

struct Exclusions {
  bool maintenance_aside = false;
  std::int64_t highest_customer_before = 0;
  std::string except_table;
};

bool Skipped(const Exclusions& exclusions, const std::string& table, const std::string& column) {
  if (!exclusions.maintenance_aside) return false;
  static const std::set<std::pair<std::string, std::string>> columns = {
      {"documentos", "cliente"}, {"documentos", "saftsign"}, {"compensacoes", "FS"}, {"compensacoes", "FT"}};
  return columns.count({table, column}) > 0;
}

std::string Dump(TestDatabase& database, const Exclusions& exclusions) {
  std::string dump;
  if (!exclusions.maintenance_aside) {
    dump += "schema:\n" +
            database.QueryText("SELECT group_concat(sql, char(10)) FROM (SELECT sql FROM sqlite_master "
                               "WHERE sql IS NOT NULL ORDER BY name)") +
            "\n";
  }
  const auto tables = Split(database.QueryText(
      "SELECT group_concat(name, char(31)) FROM (SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name)"));
  for (const auto& table : tables) {
    if (table == exclusions.except_table) continue;
    std::string expression;
    std::string header;
    for (const auto& column :
         Split(database.QueryText("SELECT group_concat(name, char(31)) FROM pragma_table_info('" + table + "')"))) {
      if (Skipped(exclusions, table, column)) continue;
      if (!expression.empty()) expression += " || '|' || ";
      expression += "typeof(" + Quoted(column) + ") || ':' || hex(" + Quoted(column) + ")";
      header += column + " ";
    }
    std::string where;
    if (exclusions.maintenance_aside && table == "clientes") {
      where = " WHERE codigo <= " + std::to_string(exclusions.highest_customer_before);
    }
    dump += "table " + table + ": " + header + "\n";
    dump += database.QueryText("SELECT group_concat(r, char(10)) FROM (SELECT " + expression + " AS r FROM " +
                               Quoted(table) + where + " ORDER BY rowid)");
    dump += "\n";
  }
  return dump;
}

}  // namespace

std::string DumpDatabase(TestDatabase& database) { return Dump(database, Exclusions{}); }

std::string DumpBeyondMaintenance(TestDatabase& database, std::int64_t highest_customer_before,
                                  const std::string& except_table) {
  return Dump(database, Exclusions{true, highest_customer_before, except_table});
}

}  // namespace varnel::testing::reliability
