// The repairs before every export. Documents of customer 0 or 1 that carry a
// taxpayer number are pointed at a customer with that number, created when
// none exists; then the schema gains the columns the current queries read.
//
// Two things differ from a literal reading of the point-of-sale repair, both
// because the literal one damages the database:
// - the created customer's address and number are cut, not XML-escaped
//   (escaping text that is stored would turn "Rua A & B" into "Rua A &amp; B"
//   and later export it as "&amp;amp;");
// - when the number as typed finds no customer, the number as a created
//   customer would store it (blanks removed, cut to 12) is looked up too, so
//   "123 456 789" on many documents creates one customer, not one each.
// The repairs are grouped in transactions on the embedded database (see the
// header); the documents to repair are read whole first, so no cursor is open
// while the batches write.
#include "posdb/pre_export_maintenance.h"

#include <algorithm>
#include <optional>

#include "base/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

// The taxpayer text a created customer stores.
std::string StoredTaxpayerNumber(std::string_view typed) {
  return OrDefault(CharacterPrefix(RemoveSpaces(typed), 12), "Desconhecido");
}

// The code of the first customer with this taxpayer text, if any.
std::optional<std::int64_t> FindCustomer(PosQuery& q_CliByContrib, std::string_view taxpayer) {
  q_CliByContrib.BindText("contribuinte", taxpayer);
  q_CliByContrib.Open();
  std::optional<std::int64_t> code;
  if (!q_CliByContrib.IsEmpty()) code = q_CliByContrib.AsInteger("codigo");
  q_CliByContrib.Close();
  return code;
}

std::int64_t CreateCustomer(PosQuery& q_MaxCli, PosQuery& q_AddCli, const PosQuery& document,
                            const std::string& taxpayer) {
  q_MaxCli.Open();
  const std::int64_t code = q_MaxCli.AsInteger("codigo");
  q_MaxCli.Close();
  q_AddCli.BindInteger("codigo", code);
  // The name is copied as typed on the document, a missing one included.
  if (document.IsNull("nome")) {
    q_AddCli.BindNull("nome", ParamType::Text);
  } else {
    q_AddCli.BindText("nome", document.AsText("nome"));
  }
  q_AddCli.BindText("morada", OrDefault(CharacterPrefix(document.AsText("morada"), 50), "Desconhecido"));
  q_AddCli.BindText("contribuinte", taxpayer);
  q_AddCli.Execute();
  return code;
}

// The queries of the customer repair, prepared once for every document.
struct RepairQueries {
  explicit RepairQueries(PosDatabase& database)
      : q_CliByContrib(database, kQ_CliByContrib),
        q_MaxCli(database, kQ_MaxCli),
        q_AddCli(database, kQ_AddCli),
        q_UpdDoc(database, kQ_UpdDoc) {}
  PosQuery q_CliByContrib;
  PosQuery q_MaxCli;
  PosQuery q_AddCli;
  PosQuery q_UpdDoc;
};

// Points the document at the current row of q_docNoCli at its customer.
void RepairDocument(RepairQueries& q, const PosQuery& q_docNoCli) {
  const std::string typed = q_docNoCli.AsText("contribuinte");
  const std::string stored = StoredTaxpayerNumber(typed);
  std::optional<std::int64_t> code = FindCustomer(q.q_CliByContrib, typed);
  if (!code && stored != typed) code = FindCustomer(q.q_CliByContrib, stored);
  if (!code) code = CreateCustomer(q.q_MaxCli, q.q_AddCli, q_docNoCli, stored);
  q.q_UpdDoc.BindInteger("cliente", *code);
  q.q_UpdDoc.BindInteger("numero", q_docNoCli.AsInteger("numero"));
  q.q_UpdDoc.BindText("doc", q_docNoCli.AsText("doc"));
  q.q_UpdDoc.Execute();
}

void RepairCustomers(PosDatabase& database, const MaintenanceProgress& progress) {
  PosQuery q_docNoCli(database, kQ_docNoCli);
  RepairQueries queries(database);
  const bool in_transactions = database.WritesInTransactions();

  q_docNoCli.Open();
  const int total = q_docNoCli.RowCount();
  if (total > 0 && progress) progress(0, total);
  int repaired = 0;
  while (!q_docNoCli.Eof()) {
    const int batch_end = std::min(repaired + kRepairsPerCommit, total);
    std::optional<Transaction> batch;  // rolls the batch back if a repair fails
    if (in_transactions) batch.emplace(database);
    for (int at = repaired; at < batch_end && !q_docNoCli.Eof(); ++at, q_docNoCli.Next()) {
      RepairDocument(queries, q_docNoCli);
    }
    if (batch) batch->Commit();
    repaired = batch_end;
    // Between batches, with no transaction open: the front end may repaint
    // and the point-of-sale program may write.
    if (progress) progress(repaired, total);
  }
  q_docNoCli.Close();
}

void ExecuteIgnoringFailure(PosDatabase& database, const QueryText& statement) {
  try {
    PosQuery q_usertable(database, statement);
    q_usertable.Execute();
  } catch (const std::exception&) {
    // Typically the column exists already; the export goes on either way.
  }
}

}  // namespace

void RunPreExportMaintenance(PosDatabase& database, const MaintenanceProgress& progress) {
  RepairCustomers(database, progress);
  ExecuteIgnoringFailure(database, kAlterCompensacoes);
  ExecuteIgnoringFailure(database, kAlterDocumentos);
}

}  // namespace varnel
