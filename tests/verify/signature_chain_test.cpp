// The signature chain: documents signed with the demo key by the rule (the
// signed text written out here by hand, not by the checker's own function)
// verify; every kind of change after signing is caught and named; the first
// document of a series, unsigned documents, missing keys and the HashControl
// forms of documents from elsewhere get their findings.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/demo_signature.h"
#include "tools/demo_signing_key.h"
#include "tools/rsa_signer.h"
#include "verify/queued_signature_chain.h"
#include "verify/signature_chain.h"
#include "verify/signature_keys.h"

namespace varnel::verify {
namespace {

// Another producer's public key: the demo documents do not verify with it.
constexpr const char* kOtherPublicKey =
    "-----BEGIN RSA PUBLIC KEY-----\n"
    "MIGJAoGBAMbROfRAW3yL7d2b5gxP0LbobfOhdWp4If1miUbi9q9gMjo8/yOZKXE9\n"
    "/eiN9PNZnG9UepyANHNeAb1dLJ5igmCIRvA6CFZBqYRYNECTHydh3RRRAcJtVuFN\n"
    "+N7O/41lnxJyWVaMFIXiUV17D0ID1ExA6J1lXLFNNPb6KqJ3jGCbAgMBAAE=\n"
    "-----END RSA PUBLIC KEY-----\n";

// A document as the point of sale signs it: gross is the signed text's
// two-decimal amount, written to the file as written_gross.
struct Issued {
  std::string number;
  std::string day;
  std::string written_gross;
  std::string gross;
};

// Signs documents in order, chained per series, as the point of sale does.
std::vector<SignedDocument> SignChain(const std::vector<Issued>& issued, SignedSection section = SignedSection::SalesInvoices) {
  static const tools::RsaSigner signer(demo::DemoPrivateKey());
  std::map<std::string, std::string> last;
  std::vector<SignedDocument> documents;
  for (const Issued& d : issued) {
    const std::string series = d.number.substr(0, d.number.rfind('/'));
    SignedDocument document;
    document.section = section;
    document.number = d.number;
    document.date = d.day;
    document.system_entry = d.day + "T10:15:00";
    document.gross_total = d.written_gross;
    document.hash = demo::Base64Text(
        signer.Sign(d.day + ";" + d.day + "T10:15:00;" + d.number + ";" + d.gross + ";" + last[series]));
    document.hash_control = "1";
    document.source_billing = "P";
    last[series] = document.hash;
    documents.push_back(document);
  }
  return documents;
}

const std::vector<Issued> kMonth = {
    {"FT A/1", "2016-01-04", "1302", "1302.00"},  {"FS A/1", "2016-01-04", "3.5", "3.50"},
    {"FT A/2", "2016-01-05", "12.3", "12.30"},    {"FT A/3", "2016-01-07", "-4.25", "-4.25"},
    {"FS A/2", "2016-01-08", "0.005", "0.01"},    {"FT A/4", "2016-01-09", "8.10", "8.10"},
    {"FT A/5", "2016-01-11", "99.99", "99.99"},
};

SignatureKeys DemoKeys() {
  SignatureKeys keys;
  keys.Add(1, demo::DemoPublicKeyPem(), "chave-publica-demo.pem");
  return keys;
}

std::vector<Finding> Check(const std::vector<SignedDocument>& documents, const SignatureKeys& keys,
                           std::string certificate = "3917") {
  SignatureChainSetup setup;
  setup.keys = &keys;
  SignatureChain chain(setup);
  chain.SetCertificateNumber(certificate);
  for (const SignedDocument& document : documents) chain.Add(document);
  return chain.Finish();
}

std::string Describe(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += "[" + f.section + "] " + f.document + ": " + f.message + "\n";
  return text;
}

// The documents named by error findings, in order.
std::vector<std::string> ErrorDocuments(const std::vector<Finding>& findings) {
  std::vector<std::string> documents;
  for (const Finding& f : findings) {
    if (f.severity == FindingSeverity::Error) documents.push_back(f.document);
  }
  return documents;
}

TEST(SignatureChain, ASignedMonthVerifiesDocumentByDocument) {
  const SignatureKeys keys = DemoKeys();
  SignatureChainSetup setup;
  setup.keys = &keys;
  SignatureChain chain(setup);
  for (const SignedDocument& document : SignChain(kMonth)) chain.Add(document);
  EXPECT_EQ(Describe(chain.Finish()), "");
  EXPECT_EQ(chain.signatures_checked(), kMonth.size());
  EXPECT_EQ(chain.signatures_verified(), kMonth.size());
}

TEST(SignatureChain, EveryChangeAfterSigningIsCaughtAndNamed) {
  const SignatureKeys keys = DemoKeys();
  const std::vector<SignedDocument> signed_month = SignChain(kMonth);
  struct Case {
    const char* what;
    void (*change)(std::vector<SignedDocument>&);
    std::vector<std::string> named;
  };
  const Case cases[] = {
      {"one byte of a GrossTotal", [](auto& d) { d[2].gross_total = "12.4"; }, {"FT A/2"}},
      {"a date", [](auto& d) { d[5].date = "2016-01-10"; }, {"FT A/4"}},
      {"a system entry date", [](auto& d) { d[0].system_entry = "2016-01-04T10:15:01"; }, {"FT A/1"}},
      {"a number", [](auto& d) { d[1].number = "FS B/1"; }, {"FS B/1"}},
      // The next document of the series is signed over the swapped one's Hash.
      {"two documents swapped", [](auto& d) { std::swap(d[2], d[3]); }, {"FT A/3", "FT A/2", "FT A/4"}},
      {"a Hash from another series", [](auto& d) { d[3].hash = d[1].hash; }, {"FT A/3", "FT A/4"}},
  };
  for (const Case& c : cases) {
    std::vector<SignedDocument> documents = signed_month;
    c.change(documents);
    const std::vector<Finding> findings = Check(documents, keys);
    EXPECT_EQ(ErrorDocuments(findings), c.named) << c.what << "\n" << Describe(findings);
  }
  std::vector<SignedDocument> documents = signed_month;
  documents[2].gross_total = "12.4";
  EXPECT_EQ(Check(documents, keys).at(0).message,
            "Assinatura não confere (chave versão 1) com \"2016-01-05;2016-01-05T10:15:00;FT A/2;12.40;<Hash de FT "
            "A/1>\": um destes valores foi alterado depois de assinado");
}

TEST(SignatureChain, ASeriesBrokenToItsEndIsOneFinding) {
  const SignatureKeys keys = DemoKeys();
  std::vector<SignedDocument> documents = SignChain(kMonth);
  documents[3].hash = documents[4].hash;  // FT A/3 replaced: it and every later FT fail
  documents[5].hash = documents[1].hash;
  documents[6].hash = documents[4].hash;
  std::vector<Finding> findings = Check(documents, keys);
  ASSERT_EQ(ErrorDocuments(findings), std::vector<std::string>{"FT A/3"}) << Describe(findings);
  EXPECT_EQ(findings[0].message,
            "A cadeia de assinaturas da série FT A quebra em FT A/3: nenhuma das 3 assinaturas desde esse documento "
            "até ao fim da série confere");

  SignatureKeys other;
  other.Add(1, kOtherPublicKey, "outra.pem");
  findings = Check(SignChain(kMonth), other);
  ASSERT_EQ(ErrorDocuments(findings), (std::vector<std::string>{"FS A/1", "FT A/1"})) << Describe(findings);
  EXPECT_EQ(findings[1].message, "Nenhuma das 5 assinaturas da série FT A confere, desde FT A/1, a primeira verificada");
  EXPECT_EQ(findings.back().message,
            "Nenhuma das 7 assinaturas da chave versão 1 confere com a chave pública \"outra.pem\": será a chave "
            "de outro produtor, ou de outra versão?");
}

TEST(SignatureChain, TheFirstDocumentOfASeries) {
  const SignatureKeys keys = DemoKeys();
  const std::vector<SignedDocument> all = SignChain(kMonth);
  const std::vector<SignedDocument> from_third(all.begin() + 3, all.end());  // FT A/3 first, FS A/2 first

  SignatureChainSetup alone;
  alone.keys = &keys;
  SignatureChain file_alone(alone);
  for (const SignedDocument& document : from_third) file_alone.Add(document);
  const std::vector<Finding> notes = file_alone.Finish();
  ASSERT_EQ(notes.size(), 2u) << Describe(notes);
  EXPECT_EQ(notes[0].severity, FindingSeverity::Note);
  EXPECT_EQ(notes[0].document, "FT A/3");
  EXPECT_EQ(notes[0].message,
            "Primeiro documento da série FT A no ficheiro: a assinatura não foi verificada, porque encadeia com a do "
            "documento anterior (FT A/2), que não está no ficheiro");
  EXPECT_EQ(file_alone.signatures_verified(), 2u);  // the rest of each series still is

  // During an export the database gives the previous documents' Hash.
  SignatureChainSetup exported = alone;
  exported.previous_from_database = true;
  exported.previous[SignatureSeriesKey(SignedSection::SalesInvoices, "FT A/2")] = {"FT A/2", all[2].hash};
  exported.previous[SignatureSeriesKey(SignedSection::SalesInvoices, "FS A/1")] = {"FS A/1", all[1].hash};
  SignatureChain with_database(exported);
  for (const SignedDocument& document : from_third) with_database.Add(document);
  EXPECT_EQ(Describe(with_database.Finish()), "");
  EXPECT_EQ(with_database.signatures_verified(), from_third.size());

  // A wrong previous Hash from the database is the first document's error.
  exported.previous[SignatureSeriesKey(SignedSection::SalesInvoices, "FT A/2")] = {"FT A/2", all[0].hash};
  SignatureChain wrong_chain(exported);
  for (const SignedDocument& document : from_third) wrong_chain.Add(document);
  const std::vector<Finding> findings = wrong_chain.Finish();
  ASSERT_EQ(ErrorDocuments(findings), std::vector<std::string>{"FT A/3"}) << Describe(findings);
  EXPECT_NE(findings[0].message.find("<Hash de FT A/2, da base de dados>"), std::string::npos);
}

TEST(SignatureChain, UnsignedDocumentsKeysAndOtherOrigins) {
  const SignatureKeys keys = DemoKeys();
  std::vector<SignedDocument> documents = SignChain(kMonth);
  SignedDocument unsigned_document = documents[0];
  unsigned_document.number = "FT A/6";
  unsigned_document.hash = "0";
  unsigned_document.hash_control = "0";
  documents.push_back(unsigned_document);
  unsigned_document.number = "FT A/7";
  documents.push_back(unsigned_document);

  std::vector<Finding> findings = Check(documents, keys);
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].severity, FindingSeverity::Warning);
  EXPECT_EQ(findings[0].message,
            "2 documentos da série FT A sem assinatura (Hash 0) emitidos pelo programa (SourceBilling P), que é "
            "certificado (n.º 3917) e assina todos os documentos que emite; o primeiro é FT A/6");
  EXPECT_EQ(Describe(Check(documents, keys, "0")), "");

  // No key at all; a key version without its key.
  findings = Check(documents, SignatureKeys(), "0");
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].message,
            "Assinaturas não verificadas: falta a chave pública do produtor do programa que assinou os 7 documentos "
            "(Varnel.ini, secção [Assinaturas], ou --public-key); só a forma do Hash foi verificada");
  documents[6].hash_control = "2";
  findings = Check(documents, keys, "0");
  ASSERT_EQ(findings.size(), 1u) << Describe(findings);
  EXPECT_EQ(findings[0].severity, FindingSeverity::Note);
  EXPECT_EQ(findings[0].message,
            "Assinaturas da chave versão 2 não verificadas: falta a chave pública dessa versão (1 documento, o "
            "primeiro FT A/5)");

  // Documents integrated from elsewhere or recovered by hand: their forms.
  SignedDocument other = documents[0];
  other.source_billing = "M";
  other.hash_control = "1-FTM abc/00001";
  EXPECT_EQ(Describe(Check({other}, keys)), "");
  other.hash_control = "1";
  EXPECT_NE(Describe(Check({other}, keys)).find("SourceBilling M"), std::string::npos);
  other.source_billing = "I";
  other.hash_control = "9999.1";
  EXPECT_EQ(Describe(Check({other}, keys)), "");
  other.hash_control = "1-FTM abc/00001";
  EXPECT_NE(Describe(Check({other}, keys)).find("SourceBilling I"), std::string::npos);
}

// Fed through the queue by another reader, the chain finds what it finds on
// its own: batches handed over in order, the reader held back when the checks
// fall behind, the last short batch not lost.
TEST(SignatureChain, ThroughTheQueueAsOnItsOwn) {
  const SignatureKeys keys = DemoKeys();
  std::vector<Issued> issued;
  for (int number = 1; number <= static_cast<int>(3 * QueuedSignatureChain::kBatch + 7); ++number) {
    issued.push_back({"TV A/" + std::to_string(number), "2016-01-04", "1.5", "1.50"});
  }
  std::vector<SignedDocument> documents = SignChain(issued);
  documents[300].gross_total = "1.6";
  documents.back().date = "2016-01-05";
  SignatureChainSetup setup;
  setup.keys = &keys;
  QueuedSignatureChain queued(setup);
  queued.SetCertificateNumber("3917");
  for (const SignedDocument& document : documents) queued.Add(document);
  const std::vector<Finding> findings = queued.Finish();
  EXPECT_EQ(ErrorDocuments(findings), (std::vector<std::string>{"TV A/301", "TV A/775"})) << Describe(findings);
  EXPECT_EQ(Describe(findings), Describe(Check(documents, keys)));
  EXPECT_EQ(queued.signatures_verified(), documents.size() - 2);

  // Dropped before Finish (an abort): the thread stops without the rest.
  QueuedSignatureChain dropped(setup);
  for (const SignedDocument& document : documents) dropped.Add(document);
}

TEST(SignatureChain, GrossTotalWithTwoDecimals) {
  const std::pair<const char*, const char*> cases[] = {
      {"1302", "1302.00"}, {"12.3", "12.30"},   {"12.345", "12.35"}, {"12.344", "12.34"}, {"9.995", "10.00"},
      {"-4.255", "-4.26"}, {"-0.001", "0.00"},  {"0", "0.00"},       {".5", "0.50"},      {"007.10", "7.10"},
      {"99999999999999999.999", "100000000000000000.00"},
  };
  for (const auto& [written, signed_text] : cases) EXPECT_EQ(TwoDecimals(written).value_or("?"), signed_text) << written;
  for (const char* bad : {"", "-", "1.2.3", "12,30", "1e3", "abc"}) EXPECT_FALSE(TwoDecimals(bad)) << bad;
}

}  // namespace
}  // namespace varnel::verify
