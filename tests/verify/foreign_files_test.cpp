// Valid files of other programs verify with no error and no warning, in every
// encoding they may be written in and with either line end; a declaration
// the bytes contradict is an error. The files are the hand-made 1.04_01 file
// of foreign_audit_file.h in its variants.
#include <gtest/gtest.h>

#include <string>

#include "verify/foreign_audit_file.h"
#include "verify/verify_findings.h"

namespace varnel {
namespace {

using testing::Describe;
using testing::FindOne;
using testing::ForeignAuditFile;
using testing::Latin1Bytes;
using testing::VerifyBytes;

std::string Declared(const std::string& text, const std::string& declaration) {
  std::string declared = text;
  declared.replace(declared.find("encoding=\"UTF-8\""), 16, declaration);
  return declared;
}

std::string CrLf(const std::string& text) {
  std::string bytes;
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

// UTF-8 text as UTF-16, little-endian with its mark (the template's letters
// are all below U+0800).
std::string Utf16Bytes(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    unsigned code = static_cast<unsigned char>(utf8[i]);
    if (code >= 0xC0) code = ((code & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
    bytes += static_cast<char>(code & 0xFF);
    bytes += static_cast<char>(code >> 8);
  }
  return bytes;
}

TEST(VerifyForeignFiles, EveryEncodingAndLineEndVerifiesClean) {
  const std::string text = ForeignAuditFile().text();
  struct Case {
    const char* what;
    std::string bytes;
    const char* note;  // the one encoding note, or "" for Windows-1252
  };
  const Case cases[] = {
      {"UTF-8, LF", text, "Codificação UTF-8: o ficheiro foi lido nessa codificação"},
      {"UTF-8 with its mark, CR LF", "\xEF\xBB\xBF" + CrLf(text), "Codificação UTF-8"},
      {"no declared encoding", Declared(text, ""), "Sem codificação declarada: o ficheiro foi lido em UTF-8"},
      {"ISO-8859-1", Latin1Bytes(Declared(text, "encoding=\"ISO-8859-1\"")), "Codificação ISO-8859-1"},
      {"ISO-8859-15", Latin1Bytes(Declared(text, "encoding=\"ISO-8859-15\"")), "Codificação ISO-8859-15"},
      {"UTF-16", Utf16Bytes(Declared(text, "encoding=\"UTF-16\"")), "Codificação UTF-16"},
      {"Windows-1252, CR LF", CrLf(Latin1Bytes(Declared(text, "encoding=\"Windows-1252\""))), ""},
  };
  for (const Case& c : cases) {
    const VerificationReport report = VerifyBytes(c.bytes);
    EXPECT_TRUE(report.completed) << c.what;
    EXPECT_EQ(report.errors() + report.warnings(), 0) << c.what << "\n" << Describe(report);
    int encoding_notes = 0;
    for (const Finding& f : report.findings) encoding_notes += f.message.find("Windows-1252") != std::string::npos;
    EXPECT_EQ(encoding_notes, *c.note ? 1 : 0) << c.what << "\n" << Describe(report);
    if (*c.note) FindOne(report, FindingSeverity::Note, c.note);
    EXPECT_EQ(report.summary.documents_by_type.at("GT"), 1) << c.what;
  }

  // libxml2's own key references agree, stock movements and suppliers
  // included.
  VerificationOptions keyed;
  keyed.schema_key_constraints = true;
  const VerificationReport with_keys = VerifyBytes(text, keyed);
  EXPECT_EQ(with_keys.errors() + with_keys.warnings(), 0) << Describe(with_keys);
}

TEST(VerifyForeignFiles, ADeclarationTheBytesContradictIsAnError) {
  const std::string text = ForeignAuditFile().text();
  struct Case {
    const char* what;
    std::string bytes;
    const char* expected;
  };
  std::string euro = Latin1Bytes(Declared(text, "encoding=\"ISO-8859-1\""));
  euro.replace(euro.find("Caneta azul com defeito"), 23, "Caneta azul \x80 defeito");
  const Case cases[] = {
      {"Windows-1252 declared, UTF-8 bytes", Declared(text, "encoding=\"Windows-1252\""),
       "Declarada a codificação Windows-1252, mas os bytes são UTF-8 (24 caracteres de vários bytes, o primeiro "
       "na linha 8)"},
      {"ISO-8859-1 declared, a Windows-1252 euro sign", euro,
       "Declarada a codificação ISO-8859-1, mas 1 bytes entre 0x80 e 0x9F (o primeiro, 0x80, na linha 517)"},
      {"UTF-8 declared, single bytes", Latin1Bytes(text),
       "XML mal formado na linha 8: os bytes não correspondem à codificação declarada (UTF-8)"},
      {"a UTF-8 mark before a Windows-1252 declaration", "\xEF\xBB\xBF" + Declared(text, "encoding=\"Windows-1252\""),
       "O ficheiro começa pela marca de UTF-8 (BOM) mas declara a codificação Windows-1252"},
  };
  for (const Case& c : cases) {
    const VerificationReport report = VerifyBytes(c.bytes);
    EXPECT_TRUE(report.completed) << c.what;
    EXPECT_EQ(report.errors(), 1) << c.what << "\n" << Describe(report);
    FindOne(report, FindingSeverity::Error, c.expected);
  }
}

}  // namespace
}  // namespace varnel
