// The verifier's results as the window shows them after a completed export,
// for both views: the findings as rows of text (severity, section, document,
// message), the VAT summary for the accountant (region, code, rate, taxable
// base, VAT, total; amounts as the audit file writes them), and the
// documents per type.
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
};

TextTable FindingsTable(const VerificationReport& report);
TextTable VatSummaryTable(const VerificationSummary& summary);
// "Documentos: FS 39 (1 anulados), FT 30"; empty without documents.
std::string DocumentCountsText(const VerificationSummary& summary);

}  // namespace varnel
