// The rules a document line shares between sales invoices and working
// documents: the quantity and unit price brought from floating point to
// Currency (ties to even, 64-bit significand), and the placeholder line of a
// document without sale lines. The exemption reason of a line without VAT,
// also shared, is in exemption_reasons.h.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/currency.h"

namespace varnel {

class XmlLineWriter;

// The absolute value of qtd to the nearest 0.0001, ties to even.
Currency LineQuantity(double qtd);

// When qtd is not 0: |valor ÷ qtd|; when qtd is 0: |punit ÷ ((iva + 100) ÷ 100)|,
// the VAT-inclusive unit price brought back to its amount without VAT. Both to
// the nearest 0.0001, ties to even. Raises ConversionError when the result is
// not a number or does not fit (a rate of -100 leaves nothing to divide by).
Currency LineUnitPrice(double valor, double qtd, Currency punit, std::int64_t iva);

// The Line of a document without sale lines (product 0, quantity 1, every
// value "?" or 0, region PT whatever the request says, a zero CreditAmount
// or DebitAmount) followed by DocumentTotals of 0.
void WritePlaceholderLineAndTotals(XmlLineWriter& out, std::string_view tax_point_date, bool credit);

}  // namespace varnel
