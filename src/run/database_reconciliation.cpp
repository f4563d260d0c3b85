// Reconciliation: one streamed pass over the period's documents (their own
// query, q_reconcile, in the database's order), each sorted into the type the
// file lists it under or the rule that leaves it out, and the receipts'
// settlement rows summed from their own query (q_reconcileRC); the counts are
// compared with the verifier's count of the file. Then the file is read back
// once and each of its documents is looked up, by section and number, among
// the database's, and its worth compared. Memory: one entry per document the
// file lists (its number and worth, about 60 bytes), one sum per receipt of
// the period and the first numbers left out per rule; the file is streamed.
#include "run/database_reconciliation.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/value_routines.h"
#include "base/windows1252.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "run/audit_file_documents.h"
#include "sourcedocs/document_numbering.h"

namespace varnel {

namespace {

constexpr std::size_t kNumbersShown = 20;
constexpr std::int64_t kDocumentsListed = 50;
// Half a cent in ten-thousandths: a larger difference is not rounding.
constexpr std::int64_t kTolerance = 50;
constexpr const char* kSection = "Base de dados";

// The documents a rule leaves out: how many, and the first ones by code and
// number (kept as a heap of the smallest, whatever order the rows come in).
struct LeftOut {
  int count = 0;
  std::vector<std::pair<std::string, std::int64_t>> first;

  void Add(const std::string& code, std::int64_t numero) {
    ++count;
    first.emplace_back(code, numero);
    std::push_heap(first.begin(), first.end());
    if (first.size() > kNumbersShown) {
      std::pop_heap(first.begin(), first.end());
      first.pop_back();
    }
  }
  // "FT 12, FT 15", then ", ..." when there are more.
  std::string Numbers() const {
    auto sorted = first;
    std::sort(sorted.begin(), sorted.end());
    std::string numbers;
    for (const auto& [code, numero] : sorted) {
      if (!numbers.empty()) numbers += ", ";
      numbers += code + " " + IntText(numero);
    }
    if (static_cast<std::size_t>(count) > kNumbersShown) numbers += ", ...";
    return numbers;
  }
};

// A document the file should list: its key (the section's letter, then its
// number as the file writes it) and what the database says it is worth there.
struct ExpectedDocument {
  std::string key;
  Currency worth;
  std::int64_t numero = 0;
  bool receipt = false;  // worth is the sum of its settlement rows
  bool seen = false;
};

struct Tally {
  std::map<std::string, int> expected_by_type;  // the file's type -> documents
  std::map<std::string, LeftOut> left_out;       // rule -> documents
  std::vector<ExpectedDocument> expected;
  int documents = 0;
};

bool IsSalesCode(const std::string& code, SchemaGeneration generation) {
  if (code == "TK" || code == "VD" || code == "FA" || code == "NC") return true;
  return generation == SchemaGeneration::Current && (code == "FS" || code == "FT");
}

// How the file treats the documents of one code, worked out once per code.
struct CodeRules {
  std::string left_out_by;  // the rule that leaves every document of the code out, or ""
  bool by_payment = false;  // the payment leaves some out (sales and consultations)
  std::string file_type;    // the type the file lists them under
  std::string prefix;       // of the built number
  DocumentSection section = DocumentSection::Sales;
  bool signed_number_read = false;  // the stored signed number can name it
  bool credit_note = false;
  bool receipt = false;
};

// The old generation's sales and consultation documents are numbered without
// their stored signed number; receipts use theirs in both generations.
CodeRules RulesOfCode(const std::string& code, SchemaGeneration generation) {
  CodeRules rules;
  rules.receipt = code == "RC";
  const bool sales = IsSalesCode(code, generation);
  if (!rules.receipt && !sales && code != "CM") {
    rules.left_out_by = code == "FS" || code == "FT" ? "código que a geração antiga da base de dados não exporta"
                                                     : "código de documento que o ficheiro não inclui";
    return rules;
  }
  rules.by_payment = !rules.receipt;
  const DocumentType type = MapDocumentType(code);
  rules.file_type = code == "CM" ? "DC" : rules.receipt ? "RC" : type.invoice_type;
  rules.prefix = type.number_prefix;
  if (code == "CM") rules.section = DocumentSection::Working;
  if (rules.receipt) rules.section = DocumentSection::Payments;
  rules.signed_number_read = rules.receipt || generation == SchemaGeneration::Current;
  rules.credit_note = type.number_prefix == "NC";
  return rules;
}

// The rule that leaves a document out, or "" when the file lists it.
std::string ExclusionRule(const CodeRules& rules, const PosQuery& row) {
  if (!rules.left_out_by.empty() || !rules.by_payment) return rules.left_out_by;
  if (row.IsNull("pagamento")) return "forma de pagamento por preencher (nula)";
  if (row.AsInteger("pagamento") == 6) return "forma de pagamento 6";
  return {};
}

// The key of a listed document: its section's letter, then its number as
// the file writes it (escaped, in Windows-1252; plain ASCII stays as it is).
std::string DocumentKey(const CodeRules& rules, const PosQuery& row, SeriesIndex series) {
  const std::string number = DocumentNumber(rules.signed_number_read ? row.AsText("saftsign") : std::string(),
                                            rules.prefix, series, row.AsInteger("numero"));
  std::string key(1, static_cast<char>(rules.section));
  const bool plain = std::all_of(number.begin(), number.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
  });
  if (plain) {
    key += number;
  } else {
    AppendWindows1252(key, XmlEscape(number));
  }
  return key;
}

// Each receipt of the period and the exact sum of its settlement rows.
std::unordered_map<std::int64_t, Currency> ReceiptSettlements(PosDatabase& database, const ExportRequest& request) {
  std::unordered_map<std::int64_t, Currency> sums;
  PosQuery q_reconcileRC(database, kQ_reconcileRC);
  q_reconcileRC.SetForwardOnly(true);
  q_reconcileRC.BindDateTime("datai", request.datai.DatePart());
  q_reconcileRC.BindDateTime("dataf", request.dataf.DatePart());
  for (q_reconcileRC.Open(); !q_reconcileRC.Eof(); q_reconcileRC.Next()) {
    sums[q_reconcileRC.AsInteger("RC")] += q_reconcileRC.AsCurrency("valor");
  }
  q_reconcileRC.Close();
  return sums;
}

// What the file must show for a listed document: the stored total, which a
// credit note carries with the opposite sign; for a receipt the sum of its
// settlement rows, made absolute as its GrossTotal is.
ExpectedDocument Expected(const CodeRules& rules, const PosQuery& row, SeriesIndex series,
                          const std::unordered_map<std::int64_t, Currency>& receipts) {
  const std::int64_t numero = row.AsInteger("numero");
  if (rules.receipt) {
    const auto found = receipts.find(numero);
    return {DocumentKey(rules, row, series), found == receipts.end() ? Currency() : found->second.Abs(), numero,
            true};
  }
  const Currency total = row.AsCurrency("total");
  return {DocumentKey(rules, row, series), rules.credit_note ? -total : total, numero, false};
}

// expected_documents: how many the file lists, to size the table at once.
Tally TallyDatabase(PosDatabase& database, const ExportRequest& request, SchemaGeneration generation,
                    std::size_t expected_documents) {
  const std::unordered_map<std::int64_t, Currency> receipts = ReceiptSettlements(database, request);
  Tally tally;
  tally.expected.reserve(expected_documents + expected_documents / 64);
  PosQuery q_reconcile(database, kQ_reconcile);
  q_reconcile.SetForwardOnly(true);
  q_reconcile.BindDateTime("datai", request.datai.DatePart());
  q_reconcile.BindDateTime("dataf", request.dataf.DatePart());
  std::map<std::string, CodeRules> codes;
  for (q_reconcile.Open(); !q_reconcile.Eof(); q_reconcile.Next()) {
    ++tally.documents;
    const std::string code = TrimBlanks(q_reconcile.AsText("doc"));
    auto found = codes.find(code);
    if (found == codes.end()) found = codes.emplace(code, RulesOfCode(code, generation)).first;
    const CodeRules& rules = found->second;
    const std::string rule = ExclusionRule(rules, q_reconcile);
    if (rule.empty()) {
      ++tally.expected_by_type[rules.file_type];
      tally.expected.push_back(Expected(rules, q_reconcile, request.fserienum, receipts));
      continue;
    }
    tally.left_out[rule].Add(code, q_reconcile.AsInteger("numero"));
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

// Per-document errors of one kind: the first ones listed, then one line with
// how many more there were.
class ListedErrors {
 public:
  explicit ListedErrors(std::string more_text) : m_more_text(std::move(more_text)) {}

  void Add(std::vector<Finding>& findings, std::string document, std::string message) {
    if (m_count++ < kDocumentsListed) {
      findings.push_back({FindingSeverity::Error, kSection, std::move(document), std::move(message)});
    }
  }
  void Close(std::vector<Finding>& findings) const {
    if (m_count <= kDocumentsListed) return;
    findings.push_back({FindingSeverity::Error, kSection, "",
                        "... e mais " + IntText(m_count - kDocumentsListed) + " " + m_more_text});
  }
  std::int64_t count() const { return m_count; }

 private:
  std::string m_more_text;
  std::int64_t m_count = 0;
};

struct AmountCheck {
  ListedErrors differing{"documento(s) com valor diferente da base de dados"};
  ListedErrors only_in_file{"documento(s) do ficheiro que a base de dados não tem"};
  ListedErrors only_in_database{"documento(s) da base de dados que o ficheiro não tem"};
};

// Why a receipt cannot be worth what it settled: each settled document that
// the database does not hold, whose total is 0, or whose lines' totals do not
// add up to its total (its parts by VAT rate then miss the amount settled).
std::string SettledDocumentsAtFault(PosDatabase& database, std::int64_t receipt) {
  PosQuery q_reconcileRCRows(database, kQ_reconcileRCRows);
  PosQuery q_reconcileSettled(database, kQ_reconcileSettled);
  q_reconcileRCRows.BindInteger("numero", receipt);
  std::string faults;
  for (q_reconcileRCRows.Open(); !q_reconcileRCRows.Eof(); q_reconcileRCRows.Next()) {
    const std::int64_t fa = q_reconcileRCRows.AsInteger("FA");
    const std::string code = fa > 0 ? "FA" : "NC";
    const std::int64_t number = fa > 0 ? fa : q_reconcileRCRows.AsInteger("NC");
    q_reconcileSettled.BindText("doc", code);
    q_reconcileSettled.BindInteger("numero", number);
    q_reconcileSettled.Open();
    std::string fault;
    if (q_reconcileSettled.Eof()) {
      fault = "não está na base de dados";
    } else if (q_reconcileSettled.AsCurrency("total") == Currency()) {
      fault = "tem total 0";
    } else if (q_reconcileSettled.AsCurrency("linhas") != q_reconcileSettled.AsCurrency("total")) {
      fault = "as linhas somam " + CurrText(q_reconcileSettled.AsCurrency("linhas")) + " e o total é " +
              CurrText(q_reconcileSettled.AsCurrency("total"));
    }
    q_reconcileSettled.Close();
    if (!fault.empty()) faults += "; documento liquidado " + code + " " + IntText(number) + ": " + fault;
  }
  q_reconcileRCRows.Close();
  return faults;
}

std::string DifferenceMessage(const FileDocument& document, const ExpectedDocument& expected) {
  const std::string database_side =
      " e a base de dados " + CurrText(expected.worth) +
      (expected.receipt ? " (soma das linhas de compensação do recibo)" : " (total do documento)");
  if (!document.worth) return "Valor do ficheiro ilegível (GrossTotal)" + database_side;
  std::string file_side = "Valor diferente da base de dados: o ficheiro tem " + CurrText(*document.worth);
  if (document.withholding) file_side += " (GrossTotal menos a retenção na fonte)";
  return file_side + database_side;
}

bool SameWorth(const FileDocument& document, const ExpectedDocument& expected) {
  return document.worth && (*document.worth - expected.worth).Abs().raw() <= kTolerance;
}

// Reads the file back and looks each of its documents up; the expected ones
// are sorted by key here.
void CompareAmounts(PosDatabase& database, std::vector<ExpectedDocument>& expected,
                    const std::filesystem::path& audit_file, AmountCheck& check, std::vector<Finding>& findings) {
  const auto by_key = [](const ExpectedDocument& a, const ExpectedDocument& b) { return a.key < b.key; };
  std::sort(expected.begin(), expected.end(), by_key);
  std::string key;
  ReadAuditFileDocuments(audit_file, [&](const FileDocument& document) {
    key.assign(1, static_cast<char>(document.section));
    key += document.number;
    const ExpectedDocument wanted{key, Currency(), 0, false, false};
    const auto [first, last] = std::equal_range(expected.begin(), expected.end(), wanted, by_key);
    const auto match = std::find_if(first, last, [](const ExpectedDocument& e) { return !e.seen; });
    if (match == last) {
      check.only_in_file.Add(findings, Windows1252ToUtf8(document.number),
                             "Documento do ficheiro que a base de dados não tem no período com este número");
      return;
    }
    match->seen = true;
    if (SameWorth(document, *match)) return;
    std::string message = DifferenceMessage(document, *match);
    if (match->receipt && check.differing.count() < kDocumentsListed) {
      message += SettledDocumentsAtFault(database, match->numero);
    }
    check.differing.Add(findings, Windows1252ToUtf8(document.number), std::move(message));
  });
  for (const ExpectedDocument& document : expected) {
    if (document.seen) continue;
    check.only_in_database.Add(findings, Windows1252ToUtf8(std::string_view(document.key).substr(1)),
                               "Documento da base de dados (valor " + CurrText(document.worth) +
                                   ") que o ficheiro não tem com este número");
  }
  check.differing.Close(findings);
  check.only_in_file.Close(findings);
  check.only_in_database.Close(findings);
}

// An error per type whose counts differ; true when none does.
bool CompareCounts(const Tally& tally, const VerificationSummary& file, std::vector<Finding>& findings) {
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
  return all_listed;
}

}  // namespace

std::vector<Finding> ReconcileWithDatabase(PosDatabase& database, const ExportRequest& request,
                                           SchemaGeneration generation, const VerificationSummary& file,
                                           const std::filesystem::path& audit_file) {
  std::size_t file_documents = 0;
  for (const auto& [type, count] : file.documents_by_type) file_documents += static_cast<std::size_t>(count);
  Tally tally = TallyDatabase(database, request, generation, file_documents);
  std::vector<Finding> findings;
  const bool all_listed = CompareCounts(tally, file, findings);
  int left_out_total = 0;
  for (const auto& [rule, left_out] : tally.left_out) {
    left_out_total += left_out.count;
    findings.push_back({FindingSeverity::Note, kSection, "",
                        IntText(left_out.count) + " documento(s) do período fora do ficheiro por " + rule + ": " +
                            left_out.Numbers()});
  }
  AmountCheck check;
  CompareAmounts(database, tally.expected, audit_file, check, findings);
  const std::string accounted = "dos " + IntText(tally.documents) + " documentos do período, " +
                                IntText(tally.documents - left_out_total) + " estão no ficheiro e " +
                                IntText(left_out_total) + " ficaram de fora pelas regras indicadas";
  const bool all_matched = check.only_in_file.count() == 0 && check.only_in_database.count() == 0;
  if (all_listed && all_matched && check.differing.count() == 0) {
    findings.push_back({FindingSeverity::Note, kSection, "",
                        "Nada perdido: " + accounted +
                            ", e os valores de cada documento coincidem com a base de dados"});
  } else if (check.differing.count() > 0) {
    std::string message = "Valores diferentes: " +
                          CountText(check.differing.count(), "documento do ficheiro não coincide",
                                    "documentos do ficheiro não coincidem") +
                          " com a base de dados";
    if (all_listed && all_matched) message += "; " + accounted;
    findings.push_back({FindingSeverity::Note, kSection, "", message});
  }
  return findings;
}

}  // namespace varnel
