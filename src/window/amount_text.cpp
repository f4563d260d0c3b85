// Amounts for people. The amount is carried in ten-thousandths; it is
// rounded to the cent with ties to the even cent (so a column of rounded
// amounts carries no bias), then written digit by digit, so the text never
// depends on the machine's locale or on floating point.
#include "window/amount_text.h"

#include <cstdint>

namespace varnel {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
// Qt's pt_PT locale groups the whole part only from five digits on.
constexpr std::size_t kMinimumDigitsToGroup = 5;

// Cents, rounded half to even; exact for every raw value, INT64_MIN included.
std::int64_t CentsHalfEven(std::int64_t raw) {
  std::int64_t cents = raw / 100;
  const std::int64_t rest = raw % 100;  // same sign as raw
  const bool odd = cents % 2 != 0;
  if (rest > 50 || (rest == 50 && odd)) ++cents;
  if (rest < -50 || (rest == -50 && odd)) --cents;
  return cents;
}

std::string GroupedDigits(std::uint64_t whole) {
  const std::string digits = std::to_string(whole);
  if (digits.size() < kMinimumDigitsToGroup) return digits;
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += kNoBreakSpace;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

std::string AmountText(Currency value) {
  const std::int64_t cents = CentsHalfEven(value.raw());
  // The magnitude in unsigned arithmetic: -INT64_MIN does not fit a signed value.
  const std::uint64_t magnitude =
      cents < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
  const unsigned fraction = static_cast<unsigned>(magnitude % 100);
  std::string text = cents < 0 ? "-" : "";
  text += GroupedDigits(magnitude / 100);
  text += ',';
  text += static_cast<char>('0' + fraction / 10);
  text += static_cast<char>('0' + fraction % 10);
  text += kNoBreakSpace;
  text += "\xE2\x82\xAC";  // €
  return text;
}

std::string RateText(std::string_view percentage) {
  if (percentage.empty()) return {};
  std::string rate(percentage);
  const std::size_t point = rate.find('.');
  if (point != std::string::npos) {
    while (rate.back() == '0') rate.pop_back();
    if (rate.back() == '.') {
      rate.pop_back();
    } else {
      rate[point] = ',';
    }
  }
  return rate + std::string(kNoBreakSpace) + "%";
}

}  // namespace varnel
