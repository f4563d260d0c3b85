// The value routines, case by case.
#include "base/value_routines.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TEST(ValueRoutines, OrDefaultTrimsOrFallsBack) {
  EXPECT_EQ(OrDefault("  Rua  ", "?"), "Rua");
  EXPECT_EQ(OrDefault("   ", "?"), "?");
  EXPECT_EQ(OrDefault("", " d "), " d ");
  EXPECT_EQ(OrDefault("\t\r\nx\x01", "?"), "x");  // every code up to 32 is a blank
  EXPECT_EQ(TrimBlanks("\x1f" "Ação "), "Ação");
}

TEST(ValueRoutines, ReadIntegerFollowsThePointOfSaleReading) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"1000", 1000}, {"  42", 42}, {"+7", 7}, {"-001", -1}, {"$1F", 31}, {"x1f", 31},
      {"0X10", 16}, {"-$10", -16}, {"2147483647", 2147483647}, {"-2147483648", -2147483648},
      {"2147483648", std::nullopt}, {"$80000000", std::nullopt}, {"", std::nullopt},
      {" ", std::nullopt}, {"+", std::nullopt}, {"0x", std::nullopt}, {"12A4", std::nullopt},
      {"12 ", std::nullopt}, {"1.5", std::nullopt}, {"\t12", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ValueRoutines, PostalCodePartsKeepOnlyWholeIntegersOfTheirLength) {
  EXPECT_EQ(PostalCode4("4000"), "4000");
  EXPECT_EQ(PostalCode4("400"), "0000");
  EXPECT_EQ(PostalCode4(" 400"), " 400");
  EXPECT_EQ(PostalCode4("ABCD"), "0000");
  EXPECT_EQ(PostalCode4("12A4"), "0000");
  EXPECT_EQ(PostalCode4(""), "0000");
  EXPECT_EQ(PostalCode4("-001"), "0000");  // reads as -1
  EXPECT_EQ(PostalCode4("$1F0"), "$1F0");  // hexadecimal reads as an integer
  EXPECT_EQ(PostalCode3("123"), "123");
  EXPECT_EQ(PostalCode3("0123"), "000");
  EXPECT_EQ(PostalCode3("1é3"), "000");
}

TEST(ValueRoutines, IsValidNifTestsTheCheckDigit) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"123456789", true},    {"123456780", false},  {"712345678", true},  {"799999990", true},
      {" 123456789 ", true},  {"312345670", false},  {"800000000", false}, {"412345678", false},
      {"012345678", false},   {"12345678", false},   {"1234567890", false}, {"+12345678", false},
      {"", false},            {"   ", false},        {"999999990", true},  {"500000000", true},
      {"123 456 789", false}, {"$75BCD15", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidNif(c.text), c.valid) << '"' << c.text << '"';
}

TEST(ValueRoutines, TaxpayerNumbersBeginningWith3AreChecked) {
  // Numbers for individuals beginning with 3 are issued since 2019.
  EXPECT_TRUE(IsValidNif("300000006"));  // sum 27, remainder 5, check digit 6
  EXPECT_FALSE(IsValidNif("300000001"));
}

TEST(ValueRoutines, XmlTextCutsCharactersThenEscapes) {
  EXPECT_EQ(XmlText("Bar O'Neill & Filhos", 90), "Bar O&apos;Neill &amp; Filhos");
  EXPECT_EQ(XmlText("A<B", 2), "A&lt;");
  EXPECT_EQ(XmlText("say \"hi\" >", 20), "say &quot;hi&quot; &gt;");
  EXPECT_EQ(XmlText("&amp;", 10), "&amp;amp;");  // escaped once, as any text
  EXPECT_EQ(XmlText("Conceição", 8), "Conceiçã");
  EXPECT_EQ(XmlText("日本語テキスト", 3), "日本語");
  EXPECT_EQ(XmlText("a😀b", 2), "a😀");
  EXPECT_EQ(XmlText("x\x01y", 5), "x\x01y");  // control characters pass here
  EXPECT_EQ(XmlText("\xff\xfe" "ab", 3), "\xff\xfe" "a");  // a stray byte is one character
  const std::string name = std::string(49, 'n') + "&";
  EXPECT_EQ(XmlText(name, 50).size(), 54u);
  EXPECT_EQ(CharacterCount("Açores"), 6u);
  EXPECT_EQ(CharacterPrefix("Açores", 2), "Aç");
}

TEST(ValueRoutines, SmallTextHelpers) {
  EXPECT_EQ(RemoveSpaces(" 123 456 789 "), "123456789");
  EXPECT_EQ(RemoveSpaces("\t1 2"), "\t12");
  EXPECT_EQ(IntText(0), "0");
  EXPECT_EQ(IntText(-42), "-42");
  EXPECT_EQ(IntText(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(WithFullStop("Falhou"), "Falhou.");
  EXPECT_EQ(WithFullStop("Falhou!"), "Falhou!");
  EXPECT_EQ(WithFullStop("Falhou."), "Falhou.");
  EXPECT_EQ(WithFullStop("Falha (tabela)"), "Falha (tabela)");
  EXPECT_EQ(WithFullStop("ligação"), "ligação.");
  EXPECT_EQ(WithFullStop(""), "");
}

}  // namespace
}  // namespace varnel
