// UTF-8 to Windows-1252: accents, best fit, unmappable and forbidden
// characters, markup-safe replacements; and the way back.
#include "base/windows1252.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace varnel {
namespace {

TEST(Windows1252, PortugueseLettersAreWrittenAsTheyAre) {
  EXPECT_EQ(ToWindows1252("ÁÀÂÃÉÊÍÓÔÕÚÇáàâãéêíóôõúç"),
            "\xC1\xC0\xC2\xC3\xC9\xCA\xCD\xD3\xD4\xD5\xDA\xC7\xE1\xE0\xE2\xE3\xE9\xEA\xED\xF3\xF4\xF5\xFA\xE7");
  EXPECT_EQ(ToWindows1252("Nº 5ª €"), "N\xBA 5\xAA \x80");
  EXPECT_EQ(ToWindows1252("plain ASCII\t\r\n"), "plain ASCII\t\r\n");
}

TEST(Windows1252, MissingCharactersTakeTheirBestFitOrAQuestionMark) {
  EXPECT_EQ(ToWindows1252("Łódź"), "L\xF3" "dz");  // Ł and ź best-fit, ó is in the code page
  EXPECT_EQ(ToWindows1252("日本"), "??");
  EXPECT_EQ(ToWindows1252("😀"), "?");
}

TEST(Windows1252, ReplacementsNeverCreateMarkup) {
  EXPECT_EQ(ToWindows1252("\uFF06\uFF1C\uFF1E\uFF02\uFF07"), "&amp;&lt;&gt;&quot;&apos;");
  EXPECT_EQ(ToWindows1252("\u3008x\u3009"), "&lt;x&gt;");
  EXPECT_EQ(ToWindows1252("&<"), "&<");  // ASCII is the markup itself and is never touched
}

TEST(Windows1252, NothingXmlForbidsOrTheCodePageLeavesUndefinedIsWritten) {
  EXPECT_EQ(ToWindows1252("a\x01" "b\x1F" "c\x7F"), "a?b?c\x7F");
  EXPECT_EQ(ToWindows1252("\uFFFE\uFFFF"), "??");
  EXPECT_EQ(ToWindows1252("\u0081\u008D\u008F\u0090\u009D"), "?????");
  EXPECT_EQ(ToWindows1252("\u0080\u0085"), "??");  // C1 controls without a mapping
}

TEST(Windows1252, InvalidUtf8BecomesOneQuestionMarkPerByte) {
  EXPECT_EQ(ToWindows1252("a\xFF" "b"), "a?b");
  EXPECT_EQ(ToWindows1252("\xC3"), "?");               // truncated sequence
  EXPECT_EQ(ToWindows1252("\xC0\xAF"), "??");          // overlong "/"
  EXPECT_EQ(ToWindows1252("\xED\xA0\x80"), "???");     // encoded surrogate
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_TRUE(IsValidUtf8("Conceição 😀"));
}

TEST(Windows1252, BytesReadBackAsTheirCharacters) {
  EXPECT_EQ(Windows1252ToUtf8("Concei\xE7\xE3o \x80"), "Conceição €");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081");
  std::string all;
  for (int b = 0x20; b < 0x100; ++b) {
    if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
    all.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(ToWindows1252(Windows1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace varnel
