// The check digit of a taxpayer number: weights 9 down to 2 over the first
// eight digits; the remainder of the sum by 11 gives the digit (0 for a
// remainder of 0 or 1, else 11 minus the remainder).
#include "verify/taxpayer_number.h"

namespace varnel::verify {

char ExpectedCheckDigit(std::string_view digits) {
  int sum = 0;
  for (int i = 0; i < 8; ++i) sum += (digits[i] - '0') * (9 - i);
  const int rest = sum % 11;
  return static_cast<char>('0' + (rest < 2 ? 0 : 11 - rest));
}

TaxpayerNumberCheck CheckTaxpayerNumber(std::string_view text) {
  if (text.size() != 9) return TaxpayerNumberCheck::NotANumber;
  for (const char c : text) {
    if (c < '0' || c > '9') return TaxpayerNumberCheck::NotANumber;
  }
  return ExpectedCheckDigit(text) == text[8] ? TaxpayerNumberCheck::Valid : TaxpayerNumberCheck::BadCheckDigit;
}

}  // namespace varnel::verify
