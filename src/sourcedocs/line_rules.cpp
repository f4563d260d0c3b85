// Quantity and unit price of a document line. The unit
// price passes through long double exactly in the order the rule states
// (punit in ten-thousandths ÷ divisor ÷ 10000, then back to ten-thousandths).
#include "sourcedocs/line_rules.h"

#include <cmath>

#include "base/value_routines.h"
#include "masterfiles/tax_rules.h"
#include "posdb/pos_database.h"
#include "sourcedocs/exemption_reasons.h"


namespace varnel {

namespace {

constexpr std::size_t kDescriptionLength = 50;

}  // namespace

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

DocumentLine SaleLine(const PosQuery& row, int number, const std::string& tax_point_date, TaxRegion region,
                      ExemptionReasons& exemptions, const AuditFileRules& rules) {
  const double qtd = row.AsFloat("qtd");
  const std::int64_t iva = row.AsInteger("iva");
  DocumentLine line;
  line.number = number;
  line.product = LineProduct{XmlEscape(row.AsText("codigo")),
                             DescriptionText(rules, row.AsText("descricao"), kDescriptionLength),
                             LineQuantity(qtd),
                             XmlEscape(row.AsText("unidade")),
                             LineUnitPrice(row.AsFloat("valor"), qtd, row.AsCurrency("punit"), iva),
                             tax_point_date};
  line.amount = row.AsCurrency("valor");
  line.tax = LineTax{region, TaxCodeOf(iva), XmlEscape(row.AsText("iva"))};
  if (iva == 0) {
    ExemptionReasons::Exemption exemption = exemptions.Find(row.AsText("isencao"), row.AsInteger("codigo"));
    line.exemption_reason = std::move(exemption.reason);
    line.exemption_code = std::move(exemption.code);
  }
  line.settlement = row.AsCurrency("desconto");
  return line;
}

}  // namespace varnel
