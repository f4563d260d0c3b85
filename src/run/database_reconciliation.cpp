// Reconciliation: one streamed pass over the period's documents (their own
// query, q_reconcile), each sorted into the type the file lists it under or
// the rule that leaves it out, then the counts compared with the verifier's
// count of the file.
#include "run/database_reconciliation.h"

#include <map>
#include <string>
#include <vector>

#include "base/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "sourcedocs/document_numbering.h"

namespace varnel {

namespace {

constexpr std::size_t kNumbersShown = 20;
constexpr const char* kSection = "Base de dados";

struct LeftOut {
  int count = 0;
  std::string numbers;  // the first ones, "FT 12, FT 15"
};

struct Tally {
  std::map<std::string, int> expected_by_type;  // the file's type -> documents
  std::map<std::string, LeftOut> left_out;       // rule -> documents
  int documents = 0;
};

bool IsSalesCode(const std::string& code, SchemaGeneration generation) {
  if (code == "TK" || code == "VD" || code == "FA" || code == "NC") return true;
  return generation == SchemaGeneration::Current && (code == "FS" || code == "FT");
}

// The rule that leaves a document out, or "" when the file lists it.
std::string ExclusionRule(const std::string& code, const PosQuery& row, SchemaGeneration generation) {
  if (code == "RC") return {};
  const bool sales = IsSalesCode(code, generation);
  if (!sales && code != "CM") {
    if (code == "FS" || code == "FT") return "código que a geração antiga da base de dados não exporta";
    return "código de documento que o ficheiro não inclui";
  }
  if (row.IsNull("pagamento")) return "forma de pagamento por preencher (nula)";
  if (row.AsInteger("pagamento") == 6) return "forma de pagamento 6";
  return {};
}

std::string FileType(const std::string& code) {
  if (code == "CM") return "DC";
  if (code == "RC") return "RC";
  return MapDocumentType(code).invoice_type;
}

Tally TallyDatabase(PosDatabase& database, const ExportRequest& request, SchemaGeneration generation) {
  Tally tally;
  PosQuery q_reconcile(database, kQ_reconcile);
  q_reconcile.SetForwardOnly(true);
  q_reconcile.BindDateTime("datai", request.datai.DatePart());
  q_reconcile.BindDateTime("dataf", request.dataf.DatePart());
  for (q_reconcile.Open(); !q_reconcile.Eof(); q_reconcile.Next()) {
    ++tally.documents;
    const std::string code = TrimBlanks(q_reconcile.AsText("doc"));
    const std::string rule = ExclusionRule(code, q_reconcile, generation);
    if (rule.empty()) {
      ++tally.expected_by_type[FileType(code)];
      continue;
    }
    LeftOut& left_out = tally.left_out[rule];
    if (static_cast<std::size_t>(left_out.count++) < kNumbersShown) {
      if (!left_out.numbers.empty()) left_out.numbers += ", ";
      left_out.numbers += code + " " + q_reconcile.AsText("numero");
    }
  }
  q_reconcile.Close();
  return tally;
}

// The file's count of a type; receipts count whatever their PaymentType,
// consultations whichever WorkType the file's version gives them.
int FileCount(const VerificationSummary& file, const std::string& type) {
  std::vector<std::string> file_types{type};
  if (type == "RC") file_types = {"RC", "RG"};
  if (type == "DC") file_types = {"DC", "CM"};
  int count = 0;
  for (const std::string& file_type : file_types) {
    const auto found = file.documents_by_type.find(file_type);
    if (found != file.documents_by_type.end()) count += found->second;
  }
  return count;
}

// The reconciliation's name of a file type.
std::string TypeOf(const std::string& file_type) {
  if (file_type == "RG") return "RC";
  if (file_type == "CM") return "DC";
  return file_type;
}

}  // namespace

std::vector<Finding> ReconcileWithDatabase(PosDatabase& database, const ExportRequest& request,
                                           SchemaGeneration generation, const VerificationSummary& file) {
  const Tally tally = TallyDatabase(database, request, generation);
  std::vector<Finding> findings;
  std::map<std::string, int> types = tally.expected_by_type;
  for (const auto& [type, count] : file.documents_by_type) types.emplace(TypeOf(type), 0);
  bool all_listed = true;
  for (const auto& [type, expected] : types) {
    const int listed = FileCount(file, type);
    if (listed == expected) continue;
    all_listed = false;
    findings.push_back({FindingSeverity::Error, kSection, "",
                        "Documentos " + type + ": a base de dados tem " + IntText(expected) +
                            " no período e o ficheiro tem " + IntText(listed) +
                            " (a base de dados mudou durante a exportação?)"});
  }
  int left_out_total = 0;
  for (const auto& [rule, left_out] : tally.left_out) {
    left_out_total += left_out.count;
    std::string message = IntText(left_out.count) + " documento(s) do período fora do ficheiro por " + rule + ": " +
                          left_out.numbers;
    if (static_cast<std::size_t>(left_out.count) > kNumbersShown) message += ", ...";
    findings.push_back({FindingSeverity::Note, kSection, "", message});
  }
  if (all_listed) {
    findings.push_back({FindingSeverity::Note, kSection, "",
                        "Nada perdido: dos " + IntText(tally.documents) + " documentos do período, " +
                            IntText(tally.documents - left_out_total) + " estão no ficheiro e " +
                            IntText(left_out_total) + " ficaram de fora pelas regras indicadas"});
  }
  return findings;
}

}  // namespace varnel
