// The verifier's results as the window shows them after a completed export,
// for both views: the findings as rows of text (severity, section, document,
// message), errors first, then warnings, then notes, each in the order they
// were found, headed by their counts, with the first error selected; the
// VAT summary for the accountant (region, code, rate, taxable base, VAT,
// total; amounts in euros as a Portuguese reader writes them, and a total
// row); and the documents per type.
#pragma once

#include <string>
#include <vector>

#include "verify/audit_file_verifier.h"

namespace varnel {

inline constexpr char kVerificationTitle[] = "Verificação do ficheiro";
inline constexpr char kVatSummaryTitle[] =
    "Resumo do IVA (documentos de venda não anulados, notas de crédito deduzidas)";
inline constexpr char kCloseButton[] = "Fechar";

struct TextTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
  std::size_t right_aligned_from = 99;  // columns from this one on are amounts
  int selected_row = -1;                // the row the view selects, -1 for none
  bool last_row_is_total = false;       // the view sets it apart (bold)
};

// The findings, errors first; the first error selected.
TextTable FindingsTable(const VerificationReport& report);
// "2 erros, 1 aviso, 10 notas".
std::string SeverityCountsText(const VerificationReport& report);
// The VAT summary with a total row when it has any row.
TextTable VatSummaryTable(const VerificationSummary& summary);
// "Documentos: FS 39 (1 anulados), FT 30"; empty without documents.
std::string DocumentCountsText(const VerificationSummary& summary);

}  // namespace varnel
