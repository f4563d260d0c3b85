// The rules a document line shares between sales invoices and working
// documents: the quantity and unit price brought from floating point to
// Currency (ties to even, 64-bit significand). The Line element itself is
// written by document_line.h; the exemption reason of a line without VAT,
// also shared, is in exemption_reasons.h.
#pragma once

#include <cstdint>
#include <string>

#include "base/currency.h"
#include "section/audit_file_rules.h"
#include "sourcedocs/document_line.h"

namespace varnel {

class ExemptionReasons;
class PosQuery;

// The absolute value of qtd to the nearest 0.0001, ties to even.
Currency LineQuantity(double qtd);

// When qtd is not 0: |valor ÷ qtd|; when qtd is 0: |punit ÷ ((iva + 100) ÷ 100)|,
// the VAT-inclusive unit price brought back to its amount without VAT. Both to
// the nearest 0.0001, ties to even. Raises ConversionError when the result is
// not a number or does not fit (a rate of -100 leaves nothing to divide by).
Currency LineUnitPrice(double valor, double qtd, Currency punit, std::int64_t iva);

// The Line of the current row of a sale-line query (an invoice's or a
// working document's): the product part with the description cut to 50
// characters (and completed to the version's minimum), the row's valor as
// the amount, the tax of the row's rate in the given region, the exemption
// reason (and code, when exemptions looks for codes) when the rate is 0 and
// the discount as the settlement.
DocumentLine SaleLine(const PosQuery& row, int number, const std::string& tax_point_date, TaxRegion region,
                      ExemptionReasons& exemptions, const AuditFileRules& rules);

}  // namespace varnel
