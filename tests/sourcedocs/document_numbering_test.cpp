// Series letters, the document-type mapping, the number rule and the
// signature rule.
#include "sourcedocs/document_numbering.h"

#include <gtest/gtest.h>

#include "support/memory_sink.h"

namespace varnel {
namespace {

TEST(DocumentNumbering, SeriesLetterOfTheIndex) {
  EXPECT_EQ(SeriesIndex(0).Letter(), "?");
  EXPECT_EQ(SeriesIndex(1).Letter(), "A");
  EXPECT_EQ(SeriesIndex(2).Letter(), "B");
  EXPECT_EQ(SeriesIndex(26).Letter(), "Z");
  EXPECT_EQ(SeriesIndex(-1).Letter(), "?");  // nothing selected in the series list
  EXPECT_EQ(SeriesIndex(27).Letter(), "?");
}

TEST(DocumentNumbering, DocumentTypeMapping) {
  const struct {
    const char* doc;
    const char* prefix;
    const char* type;
  } cases[] = {{"TK", "TV", "TV"}, {"FA", "FA", "FT"}, {"FS", "FS", "FS"},
               {"VD", "VD", "VD"}, {"FT", "FT", "FT"}, {"NC", "NC", "NC"}, {"fa", "fa", "fa"}};
  for (const auto& c : cases) {
    const DocumentType mapped = MapDocumentType(c.doc);
    EXPECT_EQ(mapped.number_prefix, c.prefix) << c.doc;
    EXPECT_EQ(mapped.invoice_type, c.type) << c.doc;
  }
}

TEST(DocumentNumbering, StoredSignedNumberOrBuiltNumber) {
  const struct {
    const char* signed_number;
    const char* prefix;
    int series;
    std::int64_t numero;
    const char* expected;
  } cases[] = {
      {"", "TV", 0, 15, "TV ?/15"},
      {"", "FA", 2, 7, "FA B/7"},
      {"FT A/12", "FT", 0, 12, "FT A/12"},
      {"FT /12", "FT", 1, 12, "FT A/12"},
      {"FS C/101", "FS", 0, 101, "FS C/101"},
      {"FS /101", "FS", 3, 101, "FS C/101"},
      {"  FT A/12 ", "FT", 0, 12, "  FT A/12 "},  // exactly as stored
      {"FTA12", "FT", 1, 12, "FT A/12"},         // no "/": not a document number
      {"/12", "FT", 1, 12, "FT A/12"},           // nothing before the "/"
      {"", "CM", 0, 15, "CM ?/15"},
      {"", "RC", 1, 8, "RC A/8"},
      {"", "RC", -1, 8, "RC ?/8"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DocumentNumber(c.signed_number, c.prefix, SeriesIndex(c.series), c.numero), c.expected)
        << '"' << c.signed_number << '"';
  }
}

std::string Signature(SchemaGeneration generation, const char* signed_number, int series, const char* hash,
                      const char* control) {
  std::shared_ptr<std::string> bytes;
  auto writer = testing::MemoryWriter(bytes);
  WriteSignature(*writer, generation, signed_number, SeriesIndex(series), hash, control,
                 RulesForVersion(SaftVersion::k1_03_01));
  writer->Close();
  return *bytes;
}

TEST(DocumentNumbering, SignatureRule) {
  const auto current = SchemaGeneration::Current;
  EXPECT_EQ(Signature(SchemaGeneration::Legacy, "FT A/1", 0, "abc", "1"), "<Hash>0</Hash>\r\n");
  EXPECT_EQ(Signature(current, "FT A/1", 3, "abc", "1"), "<Hash>abc</Hash>\r\n<HashControl>1</HashControl>\r\n");
  EXPECT_EQ(Signature(current, "", 0, "abc", "1"), "<Hash>abc</Hash>\r\n<HashControl>1</HashControl>\r\n");
  EXPECT_EQ(Signature(current, "", 3, "abc", "1"), "<Hash>0</Hash>\r\n");
  EXPECT_EQ(Signature(current, "", -1, "abc", "1"), "<Hash>abc</Hash>\r\n<HashControl>1</HashControl>\r\n");
  EXPECT_EQ(Signature(current, "FT /12", 1, "abc", ""), "<Hash>abc</Hash>\r\n");
  EXPECT_EQ(Signature(current, "FT A/1", 0, "   ", "1"), "<Hash>0</Hash>\r\n<HashControl>1</HashControl>\r\n");
  EXPECT_EQ(Signature(current, "FT A/1", 0, "", "0"), "<Hash>0</Hash>\r\n");
  EXPECT_EQ(Signature(current, "FT A/1", 0, "h", "1a"), "<Hash>h</Hash>\r\n");
  EXPECT_EQ(Signature(current, "FT A/1", 0, "<!--", "2"),
            "<Hash>&lt;!--</Hash>\r\n<HashControl>2</HashControl>\r\n");
}

}  // namespace
}  // namespace varnel
