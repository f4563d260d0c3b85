// The results' tables as text.
#include "window/verification_tables.h"

#include <algorithm>

#include "base/value_routines.h"
#include "window/amount_text.h"

namespace varnel {

namespace {

const char* SeverityText(FindingSeverity severity) {
  switch (severity) {
    case FindingSeverity::Error: return "Erro";
    case FindingSeverity::Warning: return "Aviso";
    case FindingSeverity::Note: return "Nota";
  }
  return "";
}

int Count(const VerificationReport& report, FindingSeverity severity) {
  return static_cast<int>(std::count_if(report.findings.begin(), report.findings.end(),
                                        [severity](const Finding& finding) { return finding.severity == severity; }));
}

}  // namespace

TextTable FindingsTable(const VerificationReport& report) {
  std::vector<const Finding*> ordered;
  for (const Finding& finding : report.findings) ordered.push_back(&finding);
  // The enumeration's order is the order of importance: Error, Warning, Note.
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Finding* a, const Finding* b) { return a->severity < b->severity; });
  TextTable table{{"Gravidade", "Secção", "Documento", "Mensagem"}, {}};
  for (const Finding* finding : ordered) {
    table.rows.push_back({SeverityText(finding->severity), finding->section, finding->document, finding->message});
  }
  if (!ordered.empty() && ordered.front()->severity == FindingSeverity::Error) table.selected_row = 0;
  return table;
}

std::string SeverityCountsText(const VerificationReport& report) {
  return CountText(Count(report, FindingSeverity::Error), "erro", "erros") + ", " +
         CountText(Count(report, FindingSeverity::Warning), "aviso", "avisos") + ", " +
         CountText(Count(report, FindingSeverity::Note), "nota", "notas");
}

TextTable VatSummaryTable(const VerificationSummary& summary) {
  TextTable table{{"Região", "Código", "Taxa", "Base tributável", "IVA", "Total"}, {}, 2};
  Currency taxable;
  Currency vat;
  Currency gross;
  for (const VatSummaryRow& row : summary.vat) {
    table.rows.push_back({row.region, row.tax_code, RateText(row.percentage), AmountText(row.taxable),
                          AmountText(row.vat), AmountText(row.gross)});
    taxable += row.taxable;
    vat += row.vat;
    gross += row.gross;
  }
  if (!table.rows.empty()) {
    table.rows.push_back({"Total", "", "", AmountText(taxable), AmountText(vat), AmountText(gross)});
    table.last_row_is_total = true;
  }
  return table;
}

std::string DocumentCountsText(const VerificationSummary& summary) {
  std::string counts;
  for (const auto& [type, count] : summary.documents_by_type) {
    if (!counts.empty()) counts += ", ";
    counts += type + " " + std::to_string(count);
    const auto annulled = summary.annulled_by_type.find(type);
    if (annulled != summary.annulled_by_type.end() && annulled->second > 0) {
      counts += " (" + std::to_string(annulled->second) + " anulados)";
    }
  }
  return counts.empty() ? counts : "Documentos: " + counts;
}

}  // namespace varnel
