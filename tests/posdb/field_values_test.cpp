// How stored cells read as each type: exact decimals, the shortest texts of
// numbers, and clear errors for texts that are not what a column should hold.
#include "posdb/field_values.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/errors.h"

namespace varnel {
namespace {

CellView Text(std::string_view text) { return CellView{CellType::Text, 0, 0.0, text}; }
CellView Decimal(std::string_view text) { return CellView{CellType::Decimal, 0, 0.0, text}; }
CellView Integer(std::int64_t value) { return CellView{CellType::Integer, value, 0.0, {}}; }
CellView Real(double value) { return CellView{CellType::Real, 0, value, {}}; }

const FieldPlace kPlace{"valor", "q_tot"};

TEST(FieldValues, DecimalTextsBecomeCurrencyExactly) {
  struct Case {
    const char* text;
    std::int64_t raw;
  };
  const Case cases[] = {
      {"0", 0},
      {"12.5", 125000},
      {" 12.3456 ", 123456},
      {"-.25", -2500},
      {"+7", 70000},
      {"12.34565", 123456},   // a tie goes to the even neighbour
      {"12.34575", 123458},
      {"12.345650001", 123457},
      {"-12.34565", -123456},
      {"0.00004999", 0},
      {"0.00005", 0},
      {"0.00015", 2},
      {"1.5e2", 1500000},
      {"25E-6", 0},
      {"123456789.123456789012345678", 1234567891235},
      {"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
      {"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto value = ParseDecimalCurrency(c.text);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->raw(), c.raw);
  }
  for (const char* text : {"", " ", "abc", "1.2.3", "1,5", "--1", "1e", ".", "12 34"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseDecimalCurrency(text).has_value());
  }
  EXPECT_THROW(ParseDecimalCurrency("922337203685477.5808"), ConversionError);
  EXPECT_THROW(ParseDecimalCurrency("1e30"), ConversionError);
}

TEST(FieldValues, NumbersReadAsTextGiveTheirShortestForm) {
  EXPECT_EQ(*NormalizeDecimalText("12.500000"), "12.5");
  EXPECT_EQ(*NormalizeDecimalText("23.00"), "23");
  EXPECT_EQ(*NormalizeDecimalText("-.25"), "-0.25");
  EXPECT_EQ(*NormalizeDecimalText("-0.000"), "0");
  EXPECT_EQ(*NormalizeDecimalText("1.5e3"), "1500");
  EXPECT_EQ(*NormalizeDecimalText("0012.0100"), "12.01");
  EXPECT_FALSE(NormalizeDecimalText("x").has_value());

  EXPECT_EQ(ShortestRealText(23.0), "23");
  EXPECT_EQ(ShortestRealText(12.5), "12.5");
  EXPECT_EQ(ShortestRealText(0.1), "0.1");
  EXPECT_EQ(ShortestRealText(-0.25), "-0.25");
  EXPECT_EQ(ShortestRealText(1e20), "100000000000000000000");

  EXPECT_EQ(CellAsText(Integer(-42)), "-42");
  EXPECT_EQ(CellAsText(Real(23.0)), "23");
  EXPECT_EQ(CellAsText(Decimal("6.000000")), "6");
  EXPECT_EQ(CellAsText(Text(" as typed ")), " as typed ");
  EXPECT_EQ(CellAsText(CellView{CellType::DateTime, 0, 45322.5, {}}), "2024-01-31 12:00:00");
}

TEST(FieldValues, EachTypeReadsFromEachStoredForm) {
  EXPECT_EQ(CellAsCurrency(Integer(3), kPlace), Currency::FromRaw(30000));
  EXPECT_EQ(CellAsCurrency(Real(0.1 + 0.2), kPlace), Currency::FromRaw(3000));
  EXPECT_EQ(CellAsCurrency(Text("12.3456"), kPlace), Currency::FromRaw(123456));

  EXPECT_EQ(CellAsInteger(Text("  15"), kPlace), 15);
  EXPECT_EQ(CellAsInteger(Text("$1F"), kPlace), 31);  // the product's integer reading
  EXPECT_EQ(CellAsInteger(Text("12345678901"), kPlace), 12345678901);
  EXPECT_EQ(CellAsInteger(Real(2.5), kPlace), 2);
  EXPECT_EQ(CellAsInteger(Decimal("7.000"), kPlace), 7);

  EXPECT_EQ(CellAsDateTime(Text("2024-01-31 12:00:00"), kPlace), DateTime(45322.5));
  EXPECT_EQ(CellAsDateTime(Integer(45322), kPlace), DateTime(45322.0));
  EXPECT_EQ(CellAsDateTime(Real(45322.25), kPlace), DateTime(45322.25));

  EXPECT_TRUE(CellAsBoolean(Integer(-1)));
  EXPECT_TRUE(CellAsBoolean(Text("TRUE")));
  EXPECT_TRUE(CellAsBoolean(Text("1")));
  EXPECT_FALSE(CellAsBoolean(Text("0")));
  EXPECT_FALSE(CellAsBoolean(Text("false")));
  EXPECT_FALSE(CellAsBoolean(Text("")));

  EXPECT_EQ(CellAsFloat(Decimal("-0.5"), kPlace), -0.5);
  EXPECT_EQ(CellAsFloat(Integer(4), kPlace), 4.0);
}

TEST(FieldValues, TextsThatAreNotTheTypeAskedNameTheFieldAndQuery) {
  try {
    CellAsCurrency(Text("doze euros"), kPlace);
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "The value \"doze euros\" of field valor in query q_tot is not a number.");
  }
  EXPECT_THROW(CellAsInteger(Text("12.5"), kPlace), ConversionError);
  EXPECT_THROW(CellAsInteger(Text(""), kPlace), ConversionError);
  EXPECT_THROW(CellAsDateTime(Text("31/01/2024"), kPlace), ConversionError);
  EXPECT_THROW(CellAsFloat(Text("n/a"), kPlace), ConversionError);
  EXPECT_THROW(CellAsInteger(Real(1e30), kPlace), ConversionError);
}

}  // namespace
}  // namespace varnel
