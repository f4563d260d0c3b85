// Rules of the Payments section that stand apart from the other document
// sections. The section's entry points are declared in source_documents.h.
#pragma once

#include <cstdint>

namespace varnel {

// The TaxCode of a payment line, by ranges of the whole-number rate: 0 ISE,
// 1-10 RED, 11-15 INT, 16-25 NOR, anything else (negative, 26 and above)
// OUT. Invoice and working-document lines use the tax-code rule instead.
const char* PaymentTaxCode(std::int64_t rate);

}  // namespace varnel
