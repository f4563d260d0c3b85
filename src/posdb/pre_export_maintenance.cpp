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
#include "posdb/pre_export_maintenance.h"

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

void RepairCustomers(PosDatabase& database) {
  PosQuery q_docNoCli(database, kQ_docNoCli);
  PosQuery q_CliByContrib(database, kQ_CliByContrib);
  PosQuery q_MaxCli(database, kQ_MaxCli);
  PosQuery q_AddCli(database, kQ_AddCli);
  PosQuery q_UpdDoc(database, kQ_UpdDoc);

  q_docNoCli.Open();
  for (; !q_docNoCli.Eof(); q_docNoCli.Next()) {
    const std::string typed = q_docNoCli.AsText("contribuinte");
    const std::string stored = StoredTaxpayerNumber(typed);
    std::optional<std::int64_t> code = FindCustomer(q_CliByContrib, typed);
    if (!code && stored != typed) code = FindCustomer(q_CliByContrib, stored);
    if (!code) code = CreateCustomer(q_MaxCli, q_AddCli, q_docNoCli, stored);
    q_UpdDoc.BindInteger("cliente", *code);
    q_UpdDoc.BindInteger("numero", q_docNoCli.AsInteger("numero"));
    q_UpdDoc.BindText("doc", q_docNoCli.AsText("doc"));
    q_UpdDoc.Execute();
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

void RunPreExportMaintenance(PosDatabase& database) {
  RepairCustomers(database);
  ExecuteIgnoringFailure(database, kAlterCompensacoes);
  ExecuteIgnoringFailure(database, kAlterDocumentos);
}

}  // namespace varnel
