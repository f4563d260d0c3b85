// How a stored cell reads as each type a caller may ask for. A null reads as
// "", 0, 0, the zero date-time, false and 0. Numbers read as text give their
// shortest decimal text ("23", "12.5"); amounts come to Currency exactly from
// integers and decimal texts and by rounding to the nearest ten-thousandth
// (ties to even) from floating point. A text that does not read as the type
// asked raises ConversionError naming the field and the query.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/currency.h"
#include "base/date_time.h"
#include "posdb/result_store.h"

namespace varnel {

// Where a value comes from, for the messages.
struct FieldPlace {
  std::string_view field;
  std::string_view query;
};

std::string CellAsText(const CellView& cell);
std::int64_t CellAsInteger(const CellView& cell, const FieldPlace& place);
Currency CellAsCurrency(const CellView& cell, const FieldPlace& place);
DateTime CellAsDateTime(const CellView& cell, const FieldPlace& place);
bool CellAsBoolean(const CellView& cell);
double CellAsFloat(const CellView& cell, const FieldPlace& place);

// A decimal number text (blanks around it allowed; sign, digits, an optional
// fraction after ".", an optional exponent) in ten-thousandths, rounded to the
// nearest with ties to even. nullopt when the text is not such a number;
// ConversionError when it does not fit Currency.
std::optional<Currency> ParseDecimalCurrency(std::string_view text);

// The shortest plain decimal text of a decimal number text: no exponent, no
// trailing fraction zeros, a "0" before a leading ".": "12.500" -> "12.5",
// "-.25" -> "-0.25", "-0.00" -> "0". nullopt when the text is not a number.
std::optional<std::string> NormalizeDecimalText(std::string_view text);

// The shortest decimal text that reads back as value, never in exponent
// form: 23.0 -> "23", 12.5 -> "12.5", 0.1 -> "0.1".
std::string ShortestRealText(double value);

}  // namespace varnel
