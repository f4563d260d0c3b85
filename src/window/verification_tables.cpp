// The results' tables as text.
#include "window/verification_tables.h"

#include "base/value_routines.h"

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

}  // namespace

TextTable FindingsTable(const VerificationReport& report) {
  TextTable table{{"Gravidade", "Secção", "Documento", "Mensagem"}, {}};
  for (const Finding& finding : report.findings) {
    table.rows.push_back({SeverityText(finding.severity), finding.section, finding.document, finding.message});
  }
  return table;
}

TextTable VatSummaryTable(const VerificationSummary& summary) {
  TextTable table{{"Região", "Código", "Taxa", "Base tributável", "IVA", "Total"}, {}, 2};
  for (const VatSummaryRow& vat : summary.vat) {
    table.rows.push_back(
        {vat.region, vat.tax_code, vat.percentage, CurrText(vat.taxable), CurrText(vat.vat), CurrText(vat.gross)});
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
