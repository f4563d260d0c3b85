// The producer's keys and the signature chain checked from the verifier's
// own pass over real files: both PEM forms read, a key file that cannot be
// read or parsed named in its error; a Windows-1252 audit file whose
// signatures were made over the UTF-8 text (a number with "é" signs as two
// bytes) verifies section by section; another program's file, signed by its
// producer's key, verifies with that public key, its stock movements
// included, and what was changed in them after signing is caught and named.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "platform/signature_check.h"
#include "support/test_paths.h"
#include "tools/demo_signature.h"
#include "tools/demo_signing_key.h"
#include "tools/rsa_signer.h"
#include "verify/foreign_audit_file.h"
#include "verify/signature_keys.h"
#include "verify/signature_verification.h"
#include "verify/verify_findings.h"

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

// The chain's findings of a report: what the verifier's own checks of the
// Hash's form say is left out.
std::vector<Finding> ChainFindings(const VerificationReport& report) {
  std::vector<Finding> chain;
  for (const Finding& f : report.findings) {
    const std::string& m = f.message;
    if (m.rfind("Assinatura", 0) == 0 || m.find(" assinaturas ") != std::string::npos ||
        m.find("sem assinatura (Hash 0)") != std::string::npos || m.rfind("Primeiro documento da série", 0) == 0) {
      chain.push_back(f);
    }
  }
  return chain;
}

std::string Describe(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += "[" + f.section + "] " + f.document + ": " + f.message + "\n";
  return text;
}

VerificationReport VerifyWithKeys(const std::filesystem::path& file, const SignatureKeys& keys) {
  verify::SignatureChainSetup setup;
  setup.keys = &keys;
  return VerifyAuditFileAndSignatures(file, VerificationOptions{}, setup);
}

SignatureKeys DemoKeys() {
  SignatureKeys keys;
  keys.Add(1, demo::DemoPublicKeyPem(), "demo");
  return keys;
}

// A small audit file in Windows-1252 with two invoices, the second numbered
// with an "é", and a working document; hashes as given. Not valid by the
// schema: only the chain's findings are looked at.
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

TEST(SignatureVerification, ReadsTheSignedValuesOfAWindows1252FileAsUtf8) {
  TempDir dir;
  const SignatureKeys keys = DemoKeys();
  const std::string first = Signed("2016-01-04;2016-01-04T10:15:00;FT A/1;12.30;");
  const std::string work = Signed("2016-01-04;2016-01-04T09:00:00;CM A/1;12.30;");
  WriteBytes(dir / "utf8.xml", AuditFile(first, Signed("2016-01-05;2016-01-05T11:00:00;FT caf\xC3\xA9/1;7.00;"), work));
  EXPECT_EQ(Describe(ChainFindings(VerifyWithKeys(dir / "utf8.xml", keys))), "");

  // The same documents were read and checked: with another producer's key
  // none of the three verifies.
  SignatureKeys other;
  other.Add(1, kOtherSubjectPublicKeyInfo, "outra.pem");
  std::vector<Finding> findings = ChainFindings(VerifyWithKeys(dir / "utf8.xml", other));
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings.back().message,
            "Nenhuma das 3 assinaturas da chave versão 1 confere com a chave pública \"outra.pem\": será a chave de "
            "outro produtor, ou de outra versão?");

  // Signed over the file's own bytes ("é" as one byte) it does not verify.
  WriteBytes(dir / "cp1252.xml", AuditFile(first, Signed("2016-01-05;2016-01-05T11:00:00;FT caf\xE9/1;7.00;"), work));
  findings = ChainFindings(VerifyWithKeys(dir / "cp1252.xml", keys));
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].section, "SalesInvoices");
  EXPECT_EQ(findings[0].document, "FT caf\xC3\xA9/1");

  // A file that is not there, or not XML, gives no signature finding: the
  // verifier says what is wrong with it.
  EXPECT_EQ(Describe(ChainFindings(VerifyWithKeys(dir / "falta.xml", keys))), "");
  WriteBytes(dir / "lixo.xml", "<AuditFile><Header>");
  EXPECT_EQ(Describe(ChainFindings(VerifyWithKeys(dir / "lixo.xml", keys))), "");
}

// The hand-made file of another certified program with every "@HASH@"
// signed by the demo key, standing for that program's producer: per
// document its own date, entry, number and GrossTotal, chained per series.
std::string SignedForeignFile() {
  static constexpr std::array<std::string_view, 3> kDocuments = {"Invoice", "StockMovement", "WorkDocument"};
  std::string text(testing::foreign_audit_file_detail::kTemplate);
  std::map<std::string, std::string> last_hash;  // per series
  for (std::size_t at; (at = text.find("@HASH@")) != std::string::npos;) {
    std::size_t start = 0;
    std::string_view element;
    for (std::string_view name : kDocuments) {
      const std::size_t found = text.rfind("<" + std::string(name) + ">", at);
      if (found != std::string::npos && (element.empty() || found > start)) start = found, element = name;
    }
    const std::size_t end = text.find("</" + std::string(element) + ">", at);
    const auto value = [&](std::string_view tag, bool last = false) {
      const std::string open = "<" + std::string(tag) + ">";
      const std::size_t from = last ? text.rfind(open, end) : text.find(open, start);
      return text.substr(from + open.size(), text.find('<', from + open.size()) - from - open.size());
    };
    const std::string number = value(element == "Invoice" ? "InvoiceNo" : "DocumentNumber");
    const std::string date = value(element == "Invoice" ? "InvoiceDate" : element == "StockMovement" ? "MovementDate" : "WorkDate");
    std::string& previous = last_hash[number.substr(0, number.rfind('/'))];
    previous = Signed(date + ";" + value("SystemEntryDate") + ";" + number + ";" + value("GrossTotal", true) + ";" +
                      previous);
    text.replace(at, 6, previous);
  }
  return text;
}

TEST(SignatureVerification, AnotherProgramsFileVerifiesWithItsProducersKey) {
  const SignatureKeys keys = DemoKeys();
  testing::TempDir dir;
  const testing::SmallAuditFile signed_file(SignedForeignFile());
  signed_file.Write(dir / "assinado.xml");
  const VerificationReport report = VerifyWithKeys(dir / "assinado.xml", keys);
  EXPECT_EQ(report.errors(), 0) << testing::Describe(report);
  EXPECT_EQ(Describe(ChainFindings(report)), "");

  // Without a key: one note, every signed document of the three sections
  // counted (five invoices, two stock movements, a pro forma).
  verify::SignatureChainSetup no_keys;
  const std::vector<Finding> notes =
      ChainFindings(VerifyAuditFileAndSignatures(dir / "assinado.xml", VerificationOptions{}, no_keys));
  ASSERT_EQ(notes.size(), 1u) << Describe(notes);
  EXPECT_EQ(notes[0].severity, FindingSeverity::Note);
  EXPECT_NE(notes[0].message.find("que assinou os 8 documentos"), std::string::npos) << notes[0].message;
}

TEST(SignatureVerification, StockMovementsChangedAfterSigningAreCaught) {
  const SignatureKeys keys = DemoKeys();
  const std::string text = SignedForeignFile();
  const std::string gt_hash = text.substr(text.find("<Hash>", text.find("GT A/1")) + 6, 172);
  const std::string gd_hash = text.substr(text.find("<Hash>", text.find("GD A/1")) + 6, 172);
  struct Case {
    const char* what;
    const char* marker;
    std::string from;
    std::string to;
    std::vector<std::string> named;  // documents with an error of the chain, in order
  };
  const Case cases[] = {
      {"a MovementDate", "GD A/1", "<MovementDate>2022-05-12<", "<MovementDate>2022-05-11<", {"GD A/1"}},
      {"a SystemEntryDate", "GT A/1", "<SystemEntryDate>2022-05-03T08:30:00<",
       "<SystemEntryDate>2022-05-03T08:31:00<", {"GT A/1"}},
      {"a GrossTotal", "GD A/1", "<GrossTotal>7.38<", "<GrossTotal>7.39<", {"GD A/1"}},
      {"a number", "<MovementOfGoods>", "GT A/1<", "GT B/1<", {"GT B/1"}},
      {"a Hash from another series", "GT A/1", gt_hash, gd_hash, {"GT A/1"}},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    testing::SmallAuditFile file(text);
    file.ReplaceAfter(c.marker, c.from, c.to);
    file.Write(dir / "alterado.xml");
    std::vector<std::string> named;
    const std::vector<Finding> findings = ChainFindings(VerifyWithKeys(dir / "alterado.xml", keys));
    for (const Finding& f : findings) {
      if (f.severity != FindingSeverity::Error) continue;
      EXPECT_EQ(f.section, "MovementOfGoods") << c.what;
      named.push_back(f.document);
    }
    EXPECT_EQ(named, c.named) << c.what << "\n" << Describe(findings);
  }

  // A stock movement left unsigned in a certified program's file.
  testing::SmallAuditFile file(text);
  file.Replace(gd_hash, "0");
  file.Write(dir / "sem-assinatura.xml");
  const std::vector<Finding> findings = ChainFindings(VerifyWithKeys(dir / "sem-assinatura.xml", keys));
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].severity, FindingSeverity::Warning);
  EXPECT_EQ(findings[0].section, "MovementOfGoods");
  EXPECT_EQ(findings[0].message,
            "1 documento da série GD A sem assinatura (Hash 0), GD A/1, emitido pelo programa (SourceBilling P), que "
            "é certificado (n.º 9999) e assina todos os documentos que emite");
}

}  // namespace
}  // namespace varnel
