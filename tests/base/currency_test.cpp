// Currency: exact sums, rounding to cents, money text, float conversion.
#include "base/currency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "base/errors.h"

namespace varnel {
namespace {

Currency Raw(std::int64_t raw) { return Currency::FromRaw(raw); }

TEST(Currency, CurrTextWritesTheShortestDecimalForm) {
  const struct {
    std::int64_t raw;
    const char* text;
  } cases[] = {
      {0, "0"},
      {125000, "12.5"},
      {30000, "3"},
      {-2500, "-0.25"},
      {1, "0.0001"},
      {-1, "-0.0001"},
      {12345678912, "1234567.8912"},
      {123456, "12.3456"},
      {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
      {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
  };
  for (const auto& c : cases) EXPECT_EQ(CurrText(Raw(c.raw)), c.text) << c.raw;
}

TEST(Currency, Round2TakesHalvesOfACentAwayFromZero) {
  const struct {
    std::int64_t raw;
    std::int64_t rounded;
  } cases[] = {
      {10050, 10100},    // 1.005 -> 1.01
      {-10050, -10100},  // -1.005 -> -1.01
      {10049, 10000},    // 1.0049 -> 1.00
      {23450, 23500},    // 2.345 -> 2.35
      {23449, 23400},    // 2.3449 -> 2.34
      {-23450, -23500},
      {0, 0},
      {1250, 1300},    // 0.125 -> 0.13
      {-1250, -1300},  // -0.125 -> -0.13
      {100040, 100000},
      {std::numeric_limits<std::int64_t>::max(), 9223372036854775800},
      {std::numeric_limits<std::int64_t>::min(), -9223372036854775800},
  };
  for (const auto& c : cases) EXPECT_EQ(Round2(Raw(c.raw)).raw(), c.rounded) << c.raw;
  EXPECT_EQ(CurrText(Round2(Raw(100040))), "10");
  EXPECT_EQ(CurrText(Round2(Raw(71000))), "7.1");
  EXPECT_EQ(CurrText(Round2(Raw(-30000))), "-3");
}

TEST(Currency, ArithmeticIsExactAndRefusesToOverflow) {
  EXPECT_EQ((Raw(98000) - Raw(100000) - Raw(-25000)).raw(), 23000);
  EXPECT_EQ((-Raw(5)).raw(), -5);
  EXPECT_EQ(Raw(-7).Abs().raw(), 7);
  EXPECT_LT(Raw(-1), Raw(0));
  const Currency max = Raw(std::numeric_limits<std::int64_t>::max());
  const Currency min = Raw(std::numeric_limits<std::int64_t>::min());
  EXPECT_THROW(max + Raw(1), ConversionError);
  EXPECT_THROW(min - Raw(1), ConversionError);
  EXPECT_THROW(-min, ConversionError);
  EXPECT_THROW(min.Abs(), ConversionError);
  EXPECT_EQ(Currency::FromInteger(-3).raw(), -30000);
  EXPECT_THROW(Currency::FromInteger(std::numeric_limits<std::int64_t>::max() / 1000), ConversionError);
}

TEST(Currency, FloatConversionRoundsTiesToEven) {
  EXPECT_EQ(Currency::FromRawFloat(0.5L).raw(), 0);
  EXPECT_EQ(Currency::FromRawFloat(1.5L).raw(), 2);
  EXPECT_EQ(Currency::FromRawFloat(2.5L).raw(), 2);
  EXPECT_EQ(Currency::FromRawFloat(-2.5L).raw(), -2);
  EXPECT_EQ(Currency::FromRawFloat(-3.5L).raw(), -4);
  EXPECT_EQ(Currency::FromFloat(12.3L / 1.23L).raw(), 100000);  // unit price 10
  EXPECT_EQ(Currency::FromFloat(81.29187L).raw(), 812919);
  EXPECT_THROW(Currency::FromFloat(1e300L), ConversionError);
  EXPECT_THROW(Currency::FromFloat(-1e300L), ConversionError);
  EXPECT_THROW(Currency::FromRawFloat(9223372036854775808.0L), ConversionError);
  EXPECT_EQ(Currency::FromRawFloat(-9223372036854775808.0L).raw(), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
}  // namespace varnel
