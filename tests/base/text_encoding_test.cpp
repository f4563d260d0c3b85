// UTF-8 <-> UTF-16 and the text file forms: exact units and bytes, damaged
// input replaced rather than dropped, and each form read back as written.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace varnel {
namespace {

TEST(TextEncoding, Utf16AndUtf8CarryEveryCharacter) {
  struct Case {
    const char* utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"Caf\xC3\xA9 A\xC3\xA7ores", u"Caf\u00E9 A\u00E7ores"},
      {"\xE2\x82\xAC 10", u"\u20AC 10"},
      {"\xF0\x9F\x98\x80!", std::u16string{0xD83D, 0xDE00, u'!'}},  // beyond U+FFFF: a surrogate pair
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
  }
  // A NUL is text, not an end.
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(TextEncoding, DamagedInputBecomesReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  // Unpaired surrogates: alone, at the end, or followed by a plain unit.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00, u'a'}), replacement + "a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800}), "a" + replacement);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'b'}), replacement + "b");
  // Each byte that is not part of a character: a stray continuation byte, a
  // cut sequence, an overlong form, an encoded surrogate.
  EXPECT_EQ(Utf8ToUtf16("\x80x"), (std::u16string{0xFFFD, u'x'}));
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), (std::u16string{0xFFFD, 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
}

TEST(TextEncoding, TheMarkDecidesAFilesForm) {
  struct Case {
    const char* name;
    std::string bytes;
    TextFileForm form;
    std::string text;
  };
  const Case cases[] = {
      {"UTF-16LE", std::string("\xFF\xFE" "A\0\xE7\0\xAC\x20", 8), TextFileForm::Utf16LittleEndian, "A\xC3\xA7\xE2\x82\xAC"},
      {"UTF-16BE", std::string("\xFE\xFF\0A\0\xE7\x20\xAC", 8), TextFileForm::Utf16BigEndian, "A\xC3\xA7\xE2\x82\xAC"},
      {"UTF-16, odd last byte", std::string("\xFF\xFE" "A\0B", 5), TextFileForm::Utf16LittleEndian, "A"},
      {"UTF-8 with mark", "\xEF\xBB\xBF" "A\xC3\xA7", TextFileForm::Utf8WithMark, "A\xC3\xA7"},
      {"UTF-8", "A\xC3\xA7", TextFileForm::Utf8, "A\xC3\xA7"},
      {"ASCII", "[oledb]\r\n", TextFileForm::Windows1252, "[oledb]\r\n"},
      {"Windows-1252", "A\xE7\x80", TextFileForm::Windows1252, "A\xC3\xA7\xE2\x82\xAC"},
      {"empty", "", TextFileForm::Windows1252, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DetectTextFileForm(c.bytes), c.form);
    EXPECT_EQ(DecodeTextFile(c.bytes), c.text);
  }
  // A form named by the caller reads bytes without their mark as well.
  EXPECT_EQ(TextFileToUtf8(std::string("A\0B\0", 4), TextFileForm::Utf16LittleEndian), "AB");
}

TEST(TextEncoding, EveryFormIsWrittenWithItsMarkAndReadsBack) {
  const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n";
  EXPECT_EQ(Utf8ToTextFile("A\xC3\xA7", TextFileForm::Utf16LittleEndian), std::string("\xFF\xFE" "A\0\xE7\0", 6));
  EXPECT_EQ(Utf8ToTextFile("A\xC3\xA7", TextFileForm::Utf16BigEndian), std::string("\xFE\xFF\0A\0\xE7", 6));
  EXPECT_EQ(Utf8ToTextFile("A", TextFileForm::Utf8WithMark), "\xEF\xBB\xBF" "A");
  EXPECT_EQ(Utf8ToTextFile("A", TextFileForm::Utf8), "A");
  for (const TextFileForm form : {TextFileForm::Utf8, TextFileForm::Utf8WithMark, TextFileForm::Utf16LittleEndian,
                                  TextFileForm::Utf16BigEndian}) {
    SCOPED_TRACE(static_cast<int>(form));
    const std::string bytes = Utf8ToTextFile(text, form);
    EXPECT_EQ(DetectTextFileForm(bytes), form);
    EXPECT_EQ(DecodeTextFile(bytes), text);
  }
  // Windows-1252 takes best fits, and a best fit is the character itself,
  // never the XML entity the audit file would need (fullwidth "&", "<").
  EXPECT_EQ(Utf8ToTextFile("Caf\xC3\xA9 \xE2\x82\xAC \xEF\xBC\x86\xEF\xBC\x9C \xCF\x89 & <", TextFileForm::Windows1252),
            "Caf\xE9 \x80 &< ? & <");
}

}  // namespace
}  // namespace varnel
