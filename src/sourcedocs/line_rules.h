// The rules a document line shares between sales invoices and working
// documents: the quantity and unit price brought from floating point to
// Currency (ties to even, 64-bit significand), and the exemption reason of a
// line without VAT (the line's own exemption code, else its product's, then
// the norm of that code cut to 60 characters).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "export/currency.h"

namespace varnel {

class ExportRun;

// The absolute value of qtd to the nearest 0.0001, ties to even.
Currency LineQuantity(double qtd);

// When qtd is not 0: |valor ÷ qtd|; when qtd is 0: |punit ÷ ((iva + 100) ÷ 100)|,
// the VAT-inclusive unit price brought back to its amount without VAT. Both to
// the nearest 0.0001, ties to even. Raises ConversionError when the result is
// not a number or does not fit (a rate of -100 leaves nothing to divide by).
Currency LineUnitPrice(double valor, double qtd, Currency punit, std::int64_t iva);

// The TaxExemptionReason value of a rate-0 line, ready to write: the norm of
// the line's exemption code (as read, when not empty) or else of its
// product's code (q_isencaoprod), its first 60 characters, escaped. Empty
// when no norm is found. Opens and closes q_isencaoprod and q_norma through
// the run.
std::string LineExemptionReason(ExportRun& run, std::string_view line_isencao, std::int64_t product_code);

}  // namespace varnel
