// Amounts and rates as a Portuguese reader expects them in the windows'
// tables: whole cents (ties to the even cent), a decimal comma, a no-break
// space between groups of three digits from five digits of whole euros on
// (as Qt's pt_PT locale groups: "5467,84", "12 345,67"), a minus sign before
// a negative amount and the euro sign after a no-break space. Both views
// show the same text; the audit file, the headless exporter's JSON report and
// its terminal summary keep the file's exact figures instead.
#pragma once

#include <string>
#include <string_view>

#include "base/currency.h"

namespace varnel {

// "5467,84 €", "12 345,67 €", "-0,50 €", "0,00 €" (the blanks are U+00A0).
std::string AmountText(Currency value);

// A VAT rate as the file writes it ("23.00", "6.5") for people: "23 %",
// "6,5 %"; an empty rate (a tax amount instead of a percentage) stays empty.
std::string RateText(std::string_view percentage);

}  // namespace varnel
