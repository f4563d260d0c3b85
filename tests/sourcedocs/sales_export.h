// Test support for the sales invoices: rows of the point-of-sale tables in a
// line each, one whole export run over a TestDatabase (in its folder, as the
// program runs beside Korvel.UDL), and the cuts of the written file the tests
// compare byte for byte. A back end wrapper lets a test act while a chosen
// statement runs (the operator's "Abortar" reaching the run mid-document).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_run.h"
#include "export/windows1252.h"
#include "posdb/backend.h"
#include "posdb/pos_database.h"
#include "support/recording_observer.h"
#include "support/test_database.h"
#include "support/test_paths.h"

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

// A valid company, January 2016, series 0, region 0, summarized type.
inline ExportRequest SalesRequest(const TestDatabase& db) {
  ExportRequest request;
  request.companyID = "123456789";
  request.companyName = "Restaurante Teste";
  request.datai = DateTime::FromDate(2016, 1, 1);
  request.dataf = DateTime::FromDate(2016, 1, 31);
  request.ficheiro = (db.folder() / "out.xml").string();
  request.saftType = 1;
  return request;
}

struct SalesExport {
  RunOutcome outcome = RunOutcome::Failed;
  std::string text;  // the audit file in UTF-8
  RecordingObserver observer;

  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        result.push_back(text.substr(start));
        break;
      }
      result.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return result;
  }

  // Every block from a line whose trimmed text is open_line to the next line
  // whose trimmed text is close_line, both included, joined by "\n" with
  // their indentation.
  std::vector<std::string> Blocks(std::string_view open_line, std::string_view close_line) const {
    std::vector<std::string> blocks;
    std::string block;
    bool inside = false;
    for (const std::string& line : lines()) {
      const std::string trimmed = line.substr(line.find_first_not_of(' ') == std::string::npos
                                                  ? line.size()
                                                  : line.find_first_not_of(' '));
      if (!inside && trimmed == open_line) {
        inside = true;
        block.clear();
      }
      if (inside) {
        block += line;
        block += '\n';
        if (trimmed == close_line) {
          blocks.push_back(block);
          inside = false;
        }
      }
    }
    return blocks;
  }
  std::string Block(std::string_view open_line, std::string_view close_line) const {
    const auto blocks = Blocks(open_line, close_line);
    return blocks.empty() ? std::string() : blocks.front();
  }
  std::vector<std::string> Invoices() const { return Blocks("<Invoice>", "</Invoice>"); }
  // From "<SalesInvoices>" to the end of the file.
  std::string Tail() const {
    const std::size_t at = text.find("    <SalesInvoices>");
    return at == std::string::npos ? std::string() : text.substr(at);
  }
};

// Runs one whole export in the database's folder. prepare may set up the
// observer before the run starts; database replaces the fixture's own
// connection (a wrapped back end).
inline SalesExport RunSalesExport(TestDatabase& db, const ExportRequest& request,
                                  const std::function<void(RecordingObserver&, ExportRun&)>& prepare = {},
                                  PosDatabase* database = nullptr) {
  SalesExport result;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(db.folder());
  {
    ExportRun run(database != nullptr ? *database : db.database());
    result.observer.run = &run;
    if (prepare) prepare(result.observer, run);
    result.outcome = run.execute(request, result.observer);
  }
  std::filesystem::current_path(previous);
  result.text = Windows1252ToUtf8(ReadFileBytes(db.folder() / "out.xml"));
  return result;
}

// A back end that calls on_run(query name) before every statement runs, so a
// test can act at a chosen point inside a document.
class HookedStatement : public BackendStatement {
 public:
  HookedStatement(std::unique_ptr<BackendStatement> inner, std::string name,
                  std::function<void(const std::string&)>& on_run)
      : m_inner(std::move(inner)), m_name(std::move(name)), m_on_run(on_run) {}
  void Run(const ParameterValues& values) override {
    if (m_on_run) m_on_run(m_name);
    m_inner->Run(values);
  }
  std::size_t ColumnCount() const override { return m_inner->ColumnCount(); }
  std::string ColumnName(std::size_t column) const override { return m_inner->ColumnName(column); }
  bool FetchRow(ResultStore& store) override { return m_inner->FetchRow(store); }
  void Finish() noexcept override { m_inner->Finish(); }

 private:
  std::unique_ptr<BackendStatement> m_inner;
  std::string m_name;
  std::function<void(const std::string&)>& m_on_run;
};

class HookedConnection : public BackendConnection {
 public:
  HookedConnection(std::unique_ptr<BackendConnection> inner, std::function<void(const std::string&)>& on_run)
      : m_inner(std::move(inner)), m_on_run(on_run) {}
  std::string backend_name() const override { return m_inner->backend_name(); }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    return std::make_unique<HookedStatement>(m_inner->Prepare(sql, query_name), query_name, m_on_run);
  }

 private:
  std::unique_ptr<BackendConnection> m_inner;
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
