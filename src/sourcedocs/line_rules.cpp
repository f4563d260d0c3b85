// Quantity and unit price of a document line. The unit
// price passes through long double exactly in the order the rule states
// (punit in ten-thousandths ÷ divisor ÷ 10000, then back to ten-thousandths).
#include "sourcedocs/line_rules.h"

#include <cmath>


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

}  // namespace varnel
