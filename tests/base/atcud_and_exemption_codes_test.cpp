// The ATCUD of a document number and the exemption code look-up: the parts
// of a number, the code of its series (letter case ignored), "0" without
// one; the code's sources in order (the code itself, a rule for the code,
// the longest phrase the norm holds), the norm's words, and overrides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/atcud_series_code.h"
#include "base/exemption_codes.h"

namespace varnel {
namespace {

TEST(Atcud, FromTheSeriesCodeAndTheSequenceNumber) {
  const std::vector<AtcudSeriesCode> codes = {{"FT", "A", "AAJFJMVNTN"}, {"FS", "2017", "CCCCDDDD"}, {"RC", "A", ""}};
  EXPECT_EQ(Atcud("FT A/15", codes), "AAJFJMVNTN-15");
  EXPECT_EQ(Atcud("ft a/15", codes), "AAJFJMVNTN-15");
  EXPECT_EQ(Atcud("FS 2017/3", codes), "CCCCDDDD-3");
  EXPECT_EQ(Atcud("FT B/15", codes), "0");   // no code for the series
  EXPECT_EQ(Atcud("RC A/1", codes), "0");    // an empty code is none
  EXPECT_EQ(Atcud("FT A/", codes), "0");     // no sequence number
  EXPECT_EQ(Atcud("FT A/1x", codes), "0");
  EXPECT_EQ(Atcud("FTA/15", codes), "0");    // no blank between type and series
  EXPECT_EQ(Atcud("FT /15", codes), "0");    // no series
  const auto parts = SplitDocumentSeries("NC X/Y/12");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->type, "NC");
  EXPECT_EQ(parts->series, "X/Y");
  EXPECT_EQ(parts->sequence, "12");
}

TEST(ExemptionCodes, SourcesInOrder) {
  const std::vector<ExemptionCodeRule> rules =
      WithOverrides(DefaultExemptionCodeRules(), {{"M07L", "M07"}, {"Regime especial X", "M30"}, {"ARTIGO 53", "M11"}});
  EXPECT_TRUE(IsExemptionCode("M07"));
  EXPECT_FALSE(IsExemptionCode("M7"));
  EXPECT_FALSE(IsExemptionCode("M07L"));
  EXPECT_FALSE(IsExemptionCode("m07"));

  EXPECT_EQ(FindExemptionCode(rules, "M16", "Artigo 9.º do CIVA"), "M16");       // the code itself
  EXPECT_EQ(FindExemptionCode(rules, " m07l ", "anything"), "M07");              // a rule for the code
  EXPECT_EQ(FindExemptionCode(rules, "Q1", "Isento nos termos da alínea 10) do artigo 9.º do Código do IVA"),
            "M07");                                                              // the norm's phrase
  EXPECT_EQ(FindExemptionCode(rules, "", "Artigo 14.º do RITI"), "M16");         // the longer phrase wins
  EXPECT_EQ(FindExemptionCode(rules, "", "Artigo 14.º do CIVA"), "M05");
  EXPECT_EQ(FindExemptionCode(rules, "", "Artigo 53.º do CIVA"), "M11");  // the override
  EXPECT_EQ(FindExemptionCode(rules, "", "regime  especial, x"), "M30");
  EXPECT_EQ(FindExemptionCode(rules, "", "Não sujeito; não tributado (ou similar)"), "M99");
  EXPECT_EQ(FindExemptionCode(rules, "", "Artigo 90.º do CIVA"), std::nullopt);  // "artigo 9" is a whole word
  EXPECT_EQ(FindExemptionCode(rules, "ZZ", "Produto isento de IVA com base no Decreto-Lei 346/85"), std::nullopt);
  EXPECT_EQ(FindExemptionCode(rules, "", ""), std::nullopt);
}

TEST(ExemptionCodes, NormWords) {
  EXPECT_EQ(NormWords("Artigo 9.º do CIVA"), "artigo 9 do civa");
  EXPECT_EQ(NormWords("  Alínea b), n.º 1 — ÇÃÕ "), "alinea b n 1 cao");
  EXPECT_EQ(NormWords("Decreto-Lei n.º 198/90"), "decreto lei n 198 90");
  EXPECT_EQ(NormWords(""), "");
}

}  // namespace
}  // namespace varnel
