// The verifier's own reading of a Portuguese taxpayer number (NIF): nine
// digits whose last is the modulo-11 check digit of the first eight. Kept
// apart from the exporter's routine on purpose: the verifier must not inherit
// a fault of the code whose output it checks.
#pragma once

#include <string_view>

namespace varnel::verify {

enum class TaxpayerNumberCheck {
  Valid,          // nine digits, the check digit right (999999990 included)
  BadCheckDigit,  // nine digits, the last one wrong
  NotANumber,     // anything but nine digits ("Desconhecido", "PT500...")
};

TaxpayerNumberCheck CheckTaxpayerNumber(std::string_view text);

// The check digit the first eight digits call for (digits[0..7] are '0'..'9').
char ExpectedCheckDigit(std::string_view digits);

// The final consumer's number, valid by its check digit too.
inline constexpr std::string_view kFinalConsumerNumber = "999999990";

}  // namespace varnel::verify
