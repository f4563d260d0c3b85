// Quantity, unit price and exemption reason of a document line. The unit
// price passes through long double exactly in the order the rule states
// (punit in ten-thousandths ÷ divisor ÷ 10000, then back to ten-thousandths).
#include "sourcedocs/line_rules.h"

#include <cmath>

#include "export/export_run.h"
#include "export/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

Currency LineQuantity(double qtd) { return Currency::FromFloat(std::fabs(static_cast<long double>(qtd))); }

Currency LineUnitPrice(double valor, double qtd, Currency punit, std::int64_t iva) {
  if (qtd != 0.0) {
    const long double price = static_cast<long double>(valor) / static_cast<long double>(qtd);
    return Currency::FromFloat(std::fabs(price));
  }
  const long double divisor = (static_cast<long double>(iva) + 100.0L) / 100.0L;
  const long double price = static_cast<long double>(punit.raw()) / divisor / Currency::kScale;
  return Currency::FromFloat(std::fabs(price));
}

std::string LineExemptionReason(ExportRun& run, std::string_view line_isencao, std::int64_t product_code) {
  std::string code(line_isencao);
  if (code.empty()) {
    PosQuery& q_isencaoprod = run.query("q_isencaoprod");
    q_isencaoprod.SetSql(kQ_isencaoprod);
    q_isencaoprod.BindInteger("codigo", product_code);
    q_isencaoprod.Open();
    if (!q_isencaoprod.Eof()) code = q_isencaoprod.AsText("isencao");
    q_isencaoprod.Close();
  }
  PosQuery& q_norma = run.query("q_norma");
  q_norma.SetSql(kQ_norma);
  q_norma.BindText("codigo", code);
  q_norma.Open();
  const std::string norma = q_norma.Eof() ? std::string() : q_norma.AsText("norma");
  q_norma.Close();
  return XmlText(norma, 60);
}

}  // namespace varnel
