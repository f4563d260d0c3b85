// The tax-region and tax-code rules at their boundaries.
#include "masterfiles/tax_rules.h"

#include <gtest/gtest.h>

#include "support/memory_sink.h"

namespace varnel {
namespace {

TEST(TaxRules, RegionLines) {
  const struct {
    int index;  // as the settings file keeps it
    const char* line;
  } cases[] = {{0, "<TaxCountryRegion>PT</TaxCountryRegion>\r\n"},
               {1, "<TaxCountryRegion>PT-MA</TaxCountryRegion>\r\n"},
               {2, "<TaxCountryRegion>PT-AC</TaxCountryRegion>\r\n"},
               {-1, ""},
               {3, ""}};
  for (const auto& c : cases) {
    std::shared_ptr<std::string> bytes;
    auto writer = testing::MemoryWriter(bytes);
    WriteTaxRegion(*writer, TaxRegionOfNumber(c.index));
    writer->Close();
    EXPECT_EQ(*bytes, c.line) << c.index;
  }
}

TEST(TaxRules, CodeByRate) {
  const struct {
    std::int64_t rate;
    const char* code;
  } cases[] = {{-1, "RED"}, {0, "ISE"}, {1, "RED"}, {6, "RED"}, {9, "RED"}, {10, "INT"},
               {13, "INT"}, {15, "INT"}, {16, "NOR"}, {23, "NOR"}, {100, "NOR"}};
  for (const auto& c : cases) {
    std::shared_ptr<std::string> bytes;
    auto writer = testing::MemoryWriter(bytes);
    WriteTaxCode(*writer, c.rate);
    writer->Close();
    EXPECT_EQ(*bytes, std::string("<TaxCode>") + c.code + "</TaxCode>\r\n") << c.rate;
  }
}

}  // namespace
}  // namespace varnel
