// Test support for the sales invoices: rows of the point-of-sale tables in a
// line each, the Invoice blocks of an exported file (whole exports run
// through the shared export harness), and a back end wrapper that lets a
// test act while a chosen statement runs (the operator's "Abortar" reaching
// the run mid-document).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/value_routines.h"
#include "posdb/backend.h"
#include "posdb/pos_database.h"
#include "support/export_harness.h"
#include "support/forwarding_backend.h"
#include "support/test_database.h"

namespace varnel::testing {

struct DocumentRow {
  std::string doc = "TK";
  std::int64_t numero = 1;
  std::string data = "2016-01-10 00:00:00";
  std::string datahora = "2016-01-10 12:30:05";
  std::int64_t cliente = 0;
  double total = 0;
  int anulado = 0;
  std::string hash{};
  std::string hashcontrol{};
  std::string saftsign{};
  std::string emp = "1";
  int cash_vat = 0;
  std::optional<int> pagamento = 1;  // nullopt stores NULL
};

struct SaleLine {
  std::string doc = "TK";
  std::int64_t numero = 1;
  std::int64_t codigo = 100;
  std::string descricao = "Cafe";
  double qtd = 1;
  double punit = 0;
  std::int64_t iva = 23;
  double total = 0;  // VAT included; the line query derives valor from it
  double desconto = 0;
  std::string isencao{};
};

inline void Insert(TestDatabase& db, const DocumentRow& row) {
  SqlValue pagamento = nullptr;
  if (row.pagamento) pagamento = *row.pagamento;
  db.Exec(
      "INSERT INTO documentos (doc, numero, data, datahora, cliente, total, liquido, anulado, hash, hashcontrol,"
      " saftsign, emp, CashVATScheme, pagamento) VALUES (?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?)",
      {row.doc, row.numero, row.data, row.datahora, row.cliente, row.total, row.anulado, row.hash, row.hashcontrol,
       row.saftsign, row.emp, row.cash_vat, pagamento});
}

inline void Insert(TestDatabase& db, const SaleLine& line) {
  db.Exec(
      "INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, isencao, data)"
      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '2016-01-10 00:00:00')",
      {line.doc, line.numero, line.codigo, line.descricao, line.qtd, line.punit, line.iva, line.total,
       line.desconto, line.isencao});
}

// A database of the current generation (versao 2016) unless told otherwise.
inline void SetVersion(TestDatabase& db, std::int64_t major) {
  db.Exec("DELETE FROM versao");
  db.Exec("INSERT INTO versao (major) VALUES (?)", {major});
}

// Every block of a whole export from a line whose trimmed text is open_line
// to the next line whose trimmed text is close_line, both included, each
// line with its indentation and a "\n" after it.
inline std::vector<std::string> Blocks(const ExportResult& result, std::string_view open_line,
                                       std::string_view close_line) {
  std::vector<std::string> blocks;
  std::string block;
  bool inside = false;
  for (const std::string& line : result.lines()) {
    const std::string trimmed = TrimBlanks(line);
    if (!inside && trimmed == open_line) {
      inside = true;
      block.clear();
    }
    if (!inside) continue;
    block += line + "\n";
    if (trimmed == close_line) {
      blocks.push_back(block);
      inside = false;
    }
  }
  return blocks;
}

// The text of every <tag> element in text, in order.
inline std::vector<std::string> Values(const std::string& text, const std::string& tag) {
  std::vector<std::string> values;
  const std::string open = "<" + tag + ">";
  for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
    const std::size_t start = at + open.size();
    values.push_back(text.substr(start, text.find("</" + tag + ">", start) - start));
  }
  return values;
}

inline std::vector<std::string> Invoices(const ExportResult& result) {
  return Blocks(result, "<Invoice>", "</Invoice>");
}

// A back end that calls on_run(query name) before every statement runs, so a
// test can act at a chosen point inside a document.
class HookedStatement : public ForwardingStatement {
 public:
  HookedStatement(std::unique_ptr<BackendStatement> inner, std::string name,
                  std::function<void(const std::string&)>& on_run)
      : ForwardingStatement(std::move(inner), std::move(name)), m_on_run(on_run) {}
  void Run(const ParameterValues& values) override {
    if (m_on_run) m_on_run(query_name());
    ForwardingStatement::Run(values);
  }

 private:
  std::function<void(const std::string&)>& m_on_run;
};

class HookedConnection : public ForwardingConnection {
 public:
  HookedConnection(std::unique_ptr<BackendConnection> inner, std::function<void(const std::string&)>& on_run)
      : ForwardingConnection(std::move(inner)), m_on_run(on_run) {}

 protected:
  std::unique_ptr<BackendStatement> WrapStatement(std::unique_ptr<BackendStatement> inner,
                                                  const std::string& query_name) override {
    return std::make_unique<HookedStatement>(std::move(inner), query_name, m_on_run);
  }

 private:
  std::function<void(const std::string&)>& m_on_run;
};

// A PosDatabase over the SQLite back end whose statements call on_run.
struct HookedDatabase {
  std::function<void(const std::string&)> on_run;
  PosDatabase database{[this](const ConnectionDescription& description) -> std::unique_ptr<BackendConnection> {
    return std::make_unique<HookedConnection>(OpenSqliteConnection(description), on_run);
  }};
};

}  // namespace varnel::testing
