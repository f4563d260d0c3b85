// The producer's keys and the signature pass over a real file: both PEM
// forms read, a key file that cannot be read or parsed named in its error,
// and a Windows-1252 audit file whose signatures were made over the UTF-8
// text (a number with "é" signs as two bytes) verifies section by section.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>

#include "platform/signature_check.h"
#include "support/test_paths.h"
#include "tools/demo_signature.h"
#include "tools/demo_signing_key.h"
#include "tools/rsa_signer.h"
#include "verify/signature_keys.h"
#include "verify/signature_pass.h"

namespace varnel {
namespace {

using testing::TempDir;

constexpr const char* kOtherSubjectPublicKeyInfo =
    "-----BEGIN PUBLIC KEY-----\n"
    "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDG0Tn0QFt8i+3dm+YMT9C26G3z\n"
    "oXVqeCH9ZolG4vavYDI6PP8jmSlxPf3ojfTzWZxvVHqcgDRzXgG9XSyeYoJgiEbw\n"
    "OghWQamEWDRAkx8nYd0UUQHCbVbhTfjezv+NZZ8ScllWjBSF4lFdew9CA9RMQOid\n"
    "ZVyxTTT2+iqid4xgmwIDAQAB\n"
    "-----END PUBLIC KEY-----\n";

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Signed(const std::string& utf8_text) {
  static const tools::RsaSigner signer(demo::DemoPrivateKey());
  return demo::Base64Text(signer.Sign(utf8_text));
}

TEST(SignatureKeys, ReadBothPemFormsAndNameTheFileThatFails) {
  TempDir dir;
  WriteBytes(dir / "demo.pem", std::string(demo::DemoPublicKeyPem()));
  WriteBytes(dir / "outra.pem", kOtherSubjectPublicKeyInfo);
  SignatureKeys keys = SignatureKeys::Load({{1, (dir / "demo.pem").string()}, {2, (dir / "outra.pem").string()}});
  ASSERT_NE(keys.Find(1), nullptr);
  ASSERT_NE(keys.Find(2), nullptr);
  EXPECT_EQ(keys.Find(3), nullptr);
  EXPECT_EQ(keys.Find(1)->bits(), 1024);

  // The demo key's signature verifies with it, not with another key, and
  // not once a byte of the text or of the signature changed.
  const std::string text = "2016-01-04;2016-01-04T10:15:00;FT A/1;1302.00;";
  const tools::RsaSigner signer(demo::DemoPrivateKey());
  std::vector<unsigned char> signature = signer.Sign(text);
  EXPECT_TRUE(keys.Find(1)->Verify(text, signature));
  EXPECT_FALSE(keys.Find(2)->Verify(text, signature));
  EXPECT_FALSE(keys.Find(1)->Verify("2016-01-04;2016-01-04T10:15:00;FT A/1;1302.01;", signature));
  signature[64] ^= 1;
  EXPECT_FALSE(keys.Find(1)->Verify(text, signature));
  EXPECT_FALSE(keys.Find(1)->Verify(text, {}));

  struct Case {
    const char* file;
    const char* bytes;  // nullptr: no such file
    const char* error;
  };
  const Case cases[] = {
      {"falta.pem", nullptr, "\" (versão 1) não pôde ser lido: "},
      {"lixo.pem", "isto não é uma chave\n", "\" (versão 1) não contém uma chave pública RSA em formato PEM"},
      {"cortada.pem", "-----BEGIN PUBLIC KEY-----\nMIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDG0Tn0\n-----END PUBLIC KEY-----\n",
       "\" (versão 1) não contém uma chave pública RSA em formato PEM"},
      {"vazia.pem", "", "\" (versão 1) não contém uma chave pública RSA em formato PEM"},
  };
  for (const Case& c : cases) {
    if (c.bytes != nullptr) WriteBytes(dir / c.file, c.bytes);
    try {
      SignatureKeys::Load({{1, (dir / c.file).string()}});
      ADD_FAILURE() << c.file << " was accepted";
    } catch (const SignatureKeyError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("O ficheiro da chave pública \"", 0), 0u) << message;
      EXPECT_NE(message.find(std::string(c.file) + c.error), std::string::npos) << message;
    }
  }
}

// A small audit file in Windows-1252 with two invoices, the second numbered
// with an "é", and a working document; hashes as given.
std::string AuditFile(const std::string& first_hash, const std::string& second_hash, const std::string& work_hash) {
  return "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n"
         "<AuditFile xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.04_01\">\r\n"
         "<Header><SoftwareCertificateNumber>3917</SoftwareCertificateNumber></Header>\r\n"
         "<SourceDocuments><SalesInvoices>\r\n"
         "<Invoice><InvoiceNo>FT A/1</InvoiceNo><DocumentStatus><SourceBilling>P</SourceBilling></DocumentStatus>"
         "<Hash>" + first_hash + "</Hash><HashControl>1</HashControl><InvoiceDate>2016-01-04</InvoiceDate>"
         "<SystemEntryDate>2016-01-04T10:15:00</SystemEntryDate>"
         "<Line><InvoiceDate>1999-01-01</InvoiceDate></Line>"
         "<DocumentTotals><GrossTotal>12.3</GrossTotal></DocumentTotals></Invoice>\r\n"
         "<Invoice><InvoiceNo>FT caf\xE9/1</InvoiceNo><DocumentStatus><SourceBilling>P</SourceBilling>"
         "</DocumentStatus><Hash>" + second_hash + "</Hash><HashControl>1</HashControl>"
         "<InvoiceDate>2016-01-05</InvoiceDate><SystemEntryDate>2016-01-05T11:00:00</SystemEntryDate>"
         "<DocumentTotals><GrossTotal>7</GrossTotal></DocumentTotals></Invoice>\r\n"
         "</SalesInvoices><WorkingDocuments>\r\n"
         "<WorkDocument><DocumentNumber>CM A/1</DocumentNumber><DocumentStatus><SourceBilling>P</SourceBilling>"
         "</DocumentStatus><Hash>" + work_hash + "</Hash><HashControl>1</HashControl><WorkDate>2016-01-04</WorkDate>"
         "<SystemEntryDate>2016-01-04T09:00:00</SystemEntryDate>"
         "<DocumentTotals><GrossTotal>12.3</GrossTotal></DocumentTotals></WorkDocument>\r\n"
         "</WorkingDocuments></SourceDocuments></AuditFile>\r\n";
}

TEST(SignaturePass, ReadsTheSignedValuesOfAWindows1252FileAsUtf8) {
  TempDir dir;
  SignatureKeys keys;
  keys.Add(1, demo::DemoPublicKeyPem(), "demo");
  verify::SignatureChainSetup setup;
  setup.keys = &keys;
  const std::atomic<bool> stop{false};

  const std::string first = Signed("2016-01-04;2016-01-04T10:15:00;FT A/1;12.30;");
  const std::string work = Signed("2016-01-04;2016-01-04T09:00:00;CM A/1;12.30;");
  WriteBytes(dir / "utf8.xml", AuditFile(first, Signed("2016-01-05;2016-01-05T11:00:00;FT caf\xC3\xA9/1;7.00;"), work));
  verify::SignatureCheckResult result = verify::CheckSignatures(dir / "utf8.xml", setup, stop);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.documents, 3u);
  EXPECT_EQ(result.checked, 3u);
  EXPECT_EQ(result.verified, 3u);
  EXPECT_TRUE(result.findings.empty()) << result.findings.front().message;

  // Signed over the file's own bytes ("é" as one byte) it does not verify.
  WriteBytes(dir / "cp1252.xml", AuditFile(first, Signed("2016-01-05;2016-01-05T11:00:00;FT caf\xE9/1;7.00;"), work));
  result = verify::CheckSignatures(dir / "cp1252.xml", setup, stop);
  ASSERT_EQ(result.findings.size(), 1u);
  EXPECT_EQ(result.findings[0].section, "SalesInvoices");
  EXPECT_EQ(result.findings[0].document, "FT caf\xC3\xA9/1");
  EXPECT_EQ(result.verified, 2u);

  // A file that is not there, or not XML, gives no signature finding: the
  // verifier's own pass says what is wrong with it.
  EXPECT_TRUE(verify::CheckSignatures(dir / "falta.xml", setup, stop).findings.empty());
  WriteBytes(dir / "lixo.xml", "<AuditFile><Header>");
  EXPECT_TRUE(verify::CheckSignatures(dir / "lixo.xml", setup, stop).findings.empty());
}

}  // namespace
}  // namespace varnel
