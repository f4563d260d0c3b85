// The verifier on hand-made files: the small valid file verifies clean, and
// each file broken in one way is caught with its own message (a total off by
// a cent, a missing customer, a tax absent from the tax table, a gap and a
// duplicate in a series, a bad check digit, an undefined byte, bare line
// feeds, a date outside the period, a truncated file); plus the summary, the
// progress and abort, and the exact arithmetic underneath.
#include <gtest/gtest.h>

#include <string>

#include "base/file_names.h"
#include "base/utf8.h"
#include "support/test_paths.h"
#include "verify/audit_file_verifier.h"
#include "verify/decimal_amount.h"
#include "verify/file_bytes.h"
#include "verify/small_audit_file.h"
#include "verify/taxpayer_number.h"
#include "verify/verify_findings.h"

namespace varnel {
namespace {

using testing::Describe;
using testing::FindOne;
using testing::SmallAuditFile;
using testing::VerifyBytes;

VerificationReport Verify(const SmallAuditFile& file, bool crlf = true, VerificationOptions options = {}) {
  testing::TempDir dir;
  file.Write(dir / "a.xml", crlf);
  return VerifyAuditFile(dir / "a.xml", options);
}

TEST(VerifySmallFile, TheValidFileVerifiesCleanWithItsSummary) {
  const VerificationReport report = Verify(SmallAuditFile());
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(report.errors(), 0) << Describe(report);
  EXPECT_EQ(report.warnings(), 0) << Describe(report);

  const VerificationSummary& s = report.summary;
  EXPECT_EQ(s.documents_by_type.at("FT"), 2);
  EXPECT_EQ(s.documents_by_type.at("NC"), 1);
  EXPECT_EQ(s.documents_by_type.at("DC"), 1);
  EXPECT_EQ(s.documents_by_type.at("RC"), 1);
  EXPECT_EQ(s.annulled_by_type.at("FT"), 1);
  EXPECT_EQ(s.annulled_by_type.count("NC"), 0u);
  // FT A/1 less the credit note; the annulled FT A/2 is left out.
  ASSERT_EQ(s.vat.size(), 2u);
  EXPECT_EQ(s.vat[0].tax_code, "ISE");
  EXPECT_EQ(s.vat[0].taxable, Currency::FromRaw(105000));
  EXPECT_EQ(s.vat[1].region, "PT");
  EXPECT_EQ(s.vat[1].tax_code, "NOR");
  EXPECT_EQ(s.vat[1].percentage, "23.00");
  EXPECT_EQ(s.vat[1].taxable, Currency::FromInteger(80));
  EXPECT_EQ(s.vat[1].vat, Currency::FromRaw(184000));
  EXPECT_EQ(s.vat[1].gross, Currency::FromRaw(984000));
}

TEST(VerifySmallFile, ControlTotalOffByOneCent) {
  SmallAuditFile file;
  file.Replace("<TotalCredit>110.50</TotalCredit>", "<TotalCredit>110.51</TotalCredit>");
  const VerificationReport report = Verify(file);
  const Finding* f = FindOne(report, FindingSeverity::Error, "TotalCredit 110.51 difere da soma das linhas 110.50");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->section, "SalesInvoices");
  EXPECT_NE(f->message.find("(diferença -0.01)"), std::string::npos) << f->message;
  EXPECT_EQ(report.errors(), 1) << Describe(report);
}

TEST(VerifySmallFile, DocumentTotalsAgainstTheirLines) {
  SmallAuditFile file;
  // A credit note compares with its debit lines; a difference of a cent is
  // tolerated, two are not.
  file.Replace("<NetTotal>20.00</NetTotal>\n          <GrossTotal>24.60</GrossTotal>",
               "<NetTotal>20.01</NetTotal>\n          <GrossTotal>24.61</GrossTotal>");
  file.Replace("<TaxPayable>6.90</TaxPayable>", "<TaxPayable>6.92</TaxPayable>");
  const VerificationReport report = Verify(file);
  const Finding* f = FindOne(report, FindingSeverity::Error, "TaxPayable 6.92 difere do imposto das linhas 6.90");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->document, "CM A/1");
  EXPECT_NE(f->message.find("(diferença -0.02)"), std::string::npos);
  FindOne(report, FindingSeverity::Error, "GrossTotal 36.90 difere de NetTotal + TaxPayable 36.92");
  EXPECT_EQ(report.errors(), 2) << Describe(report);
}

TEST(VerifySmallFile, ReferencesToMasterFilesAndDocuments) {
  SmallAuditFile file;
  file.Replace("<CustomerID>2</CustomerID>\n      <AccountID>", "<CustomerID>22</CustomerID>\n      <AccountID>");
  file.Replace("<TaxCode>ISE</TaxCode>\n            <TaxPercentage>0</TaxPercentage>\n          </Tax>\n          "
               "<TaxExemptionReason>",
               "<TaxCode>RED</TaxCode>\n            <TaxPercentage>0</TaxPercentage>\n          </Tax>\n          "
               "<TaxExemptionReason>");
  file.Replace("<OriginatingON>CM A/1</OriginatingON>", "<OriginatingON>CM /1</OriginatingON>");
  file.Replace("<OriginatingON>FT A/1</OriginatingON>", "<OriginatingON>FT A/9</OriginatingON>");
  const VerificationReport report = Verify(file);
  // Customer 2 is gone: FT A/1, NC A/1 and RC A/1 name it.
  int missing_customer = 0;
  for (const Finding& f : report.findings) {
    if (f.message == "CustomerID \"2\" não consta dos clientes (MasterFiles)") ++missing_customer;
  }
  EXPECT_EQ(missing_customer, 3) << Describe(report);
  const Finding* tax = FindOne(report, FindingSeverity::Error,
                               "Imposto IVA/PT/RED da linha 2 não consta da tabela de impostos (TaxTable)");
  ASSERT_NE(tax, nullptr);
  EXPECT_EQ(tax->document, "FT A/1");
  FindOne(report, FindingSeverity::Note, "1 referências OrderReferences/OriginatingON não correspondem");
  FindOne(report, FindingSeverity::Note, "1 linhas de recibos liquidam documentos que não constam de SalesInvoices");
  EXPECT_EQ(report.errors(), 4) << Describe(report);

  // With libxml2's identity constraints on, the schema's key reference
  // messages are counted against these findings, not reported a second time.
  VerificationOptions with_keys;
  with_keys.schema_key_constraints = true;
  const VerificationReport keyed = Verify(file, true, with_keys);
  EXPECT_EQ(keyed.errors(), 4) << Describe(keyed);
}

TEST(VerifySmallFile, MasterFileCodesAreUnique) {
  SmallAuditFile file;
  file.Replace("<CustomerID>2</CustomerID>\n      <AccountID>", "<CustomerID>1</CustomerID>\n      <AccountID>");
  const VerificationReport report = Verify(file);
  const Finding* f = FindOne(report, FindingSeverity::Error, "CustomerID \"1\" repetido nos clientes");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->section, "MasterFiles");
}

TEST(VerifySmallFile, GapAndDuplicateInASeries) {
  SmallAuditFile file;
  file.Replace("<InvoiceNo>FT A/2</InvoiceNo>", "<InvoiceNo>FT A/5</InvoiceNo>");
  file.Replace("<InvoiceNo>NC A/1</InvoiceNo>", "<InvoiceNo>FT A/5</InvoiceNo>");
  file.Replace("<InvoiceType>NC</InvoiceType>", "<InvoiceType>FT</InvoiceType>");
  file.Replace("<DebitAmount>20.00</DebitAmount>", "<CreditAmount>20.00</CreditAmount>");
  file.Replace("<TotalDebit>20.00</TotalDebit>\n      <TotalCredit>110.50</TotalCredit>",
               "<TotalDebit>0</TotalDebit>\n      <TotalCredit>130.50</TotalCredit>");
  const VerificationReport report = Verify(file);
  const Finding* duplicate = FindOne(report, FindingSeverity::Error, "Número FT A/5 repetido em 2 documentos");
  ASSERT_NE(duplicate, nullptr);
  EXPECT_EQ(duplicate->document, "FT A/5");
  FindOne(report, FindingSeverity::Warning, "Série FT A: faltam 3 números entre 1 e 5: 2 a 4");
  EXPECT_EQ(report.errors(), 1) << Describe(report);
}

TEST(VerifySmallFile, TaxpayerNumbers) {
  SmallAuditFile file;
  file.Replace("<CustomerTaxID>510827365</CustomerTaxID>", "<CustomerTaxID>510827366</CustomerTaxID>");
  file.Replace("<CustomerTaxID>999999990</CustomerTaxID>", "<CustomerTaxID>Desconhecido</CustomerTaxID>");
  const VerificationReport report = Verify(file);
  FindOne(report, FindingSeverity::Error, "CustomerTaxID 510827366 de 2: dígito de controlo errado (esperado 5)");
  FindOne(report, FindingSeverity::Warning, "CustomerTaxID \"Desconhecido\" de 1 não é um número de contribuinte");
  EXPECT_EQ(report.errors(), 1) << Describe(report);

  EXPECT_EQ(verify::CheckTaxpayerNumber("999999990"), verify::TaxpayerNumberCheck::Valid);
  EXPECT_EQ(verify::CheckTaxpayerNumber("123456789"), verify::TaxpayerNumberCheck::Valid);
  EXPECT_EQ(verify::CheckTaxpayerNumber("123456780"), verify::TaxpayerNumberCheck::BadCheckDigit);
  EXPECT_EQ(verify::CheckTaxpayerNumber("12345678"), verify::TaxpayerNumberCheck::NotANumber);
}

TEST(VerifySmallFile, CompanyTaxpayerNumberIsChecked) {
  SmallAuditFile file;
  file.Replace("<TaxRegistrationNumber>599999993</TaxRegistrationNumber>",
               "<TaxRegistrationNumber>599999994</TaxRegistrationNumber>");
  const VerificationReport report = Verify(file);
  const Finding* f =
      FindOne(report, FindingSeverity::Error, "TaxRegistrationNumber 599999994 da empresa: dígito de controlo errado");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->section, "Header");
}

TEST(VerifySmallFile, DatesAndSignatures) {
  SmallAuditFile file;
  file.Replace("<InvoiceDate>2016-01-07</InvoiceDate>", "<InvoiceDate>2015-12-31</InvoiceDate>");
  file.Replace("<SystemEntryDate>2016-01-05T11:00:00</SystemEntryDate>",
               "<SystemEntryDate>2016-01-04T11:00:00</SystemEntryDate>");
  file.Replace("<HashControl>1</HashControl>", "");
  const VerificationReport report = Verify(file);
  const Finding* outside =
      FindOne(report, FindingSeverity::Error, "InvoiceDate 2015-12-31 fora do período do ficheiro 2016-01-01 a 2016-01-31");
  ASSERT_NE(outside, nullptr);
  EXPECT_EQ(outside->document, "NC A/1");
  FindOne(report, FindingSeverity::Error, "SystemEntryDate 2016-01-04T11:00:00 anterior à data do documento 2016-01-05");
  FindOne(report, FindingSeverity::Error, "Documento assinado sem HashControl");
  EXPECT_EQ(report.errors(), 3) << Describe(report);

  SmallAuditFile short_hash;
  short_hash.Replace(std::string(170, 'Q') + "Q=", std::string(168, 'Q'));
  FindOne(Verify(short_hash), FindingSeverity::Error, "Hash com 168 caracteres não é uma assinatura");
}

TEST(VerifyBytes, UndefinedByteAndLineEnds) {
  SmallAuditFile file;
  file.Replace("Prato do dia</ProductDescription>\n      <ProductNumberCode>",
               "Prato do dia \x81</ProductDescription>\n      <ProductNumberCode>");
  const VerificationReport undefined = Verify(file);
  FindOne(undefined, FindingSeverity::Error, "1 bytes sem caractere definido em Windows-1252 (o primeiro, 0x81, na linha 56)");
  // The byte is reported and the rest of the file is still checked.
  EXPECT_EQ(undefined.errors(), 1) << Describe(undefined);
  EXPECT_EQ(undefined.summary.documents_by_type.at("RC"), 1);

  // Line ends other than CR LF are one note: no SAF-T rule asks for CR LF.
  const VerificationReport bare = Verify(SmallAuditFile(), false);
  FindOne(bare, FindingSeverity::Note,
          "316 fins de linha LF sem CR (o primeiro na linha 1); nenhuma regra do SAF-T (PT) pede CR LF");
  EXPECT_EQ(bare.errors() + bare.warnings(), 0) << Describe(bare);

  std::string mixed = SmallAuditFile().Bytes();
  mixed.replace(mixed.find("\r\n  <Header>"), 2, "\r");
  const VerificationReport mixed_report = VerifyBytes(mixed);
  FindOne(mixed_report, FindingSeverity::Note, "1 fins de linha CR sem LF (o primeiro na linha 2)");
  EXPECT_EQ(mixed_report.errors() + mixed_report.warnings(), 0) << Describe(mixed_report);
}

TEST(VerifyBytes, LineEndsAreCountedTheSameWhateverTheReadSize) {
  testing::TempDir dir;
  // 40 plain bytes, CR LF, a bare LF, a CR LF split by any read size, a bare
  // CR, an undefined byte, a UTF-8 "ç" and a final bare CR.
  const std::string bytes = std::string(40, 'x') + "\r\n" + std::string(9, 'y') + "\nz\r\n\r" + "w\x9D" +
                            std::string(20, 'v') + "\xC3\xA7\r";
  testing::WriteFileBytes(dir / "b.txt", bytes);
  for (const int read_size : {1, 2, 3, 7, 8, 4096}) {
    verify::AuditFileBytes source(dir / "b.txt");
    char buffer[4096];
    std::string passed;
    for (int got; (got = verify::AuditFileBytes::Read(&source, buffer, read_size)) > 0;) passed.append(buffer, got);
    source.Finish();
    const verify::ByteFindings& f = source.findings();
    EXPECT_EQ(f.bytes, bytes.size()) << read_size;
    EXPECT_EQ(f.bare_line_feeds, 1u) << read_size;
    EXPECT_EQ(f.first_bare_line_feed_line, 2u) << read_size;
    EXPECT_EQ(f.bare_carriage_returns, 2u) << read_size;
    EXPECT_EQ(f.first_bare_carriage_return_line, 4u) << read_size;
    EXPECT_EQ(f.undefined_bytes, 1u) << read_size;
    EXPECT_EQ(f.first_undefined_line, 5u) << read_size;
    EXPECT_EQ(f.utf8_sequences, 1u) << read_size;
    EXPECT_EQ(f.other_high_bytes, 1u) << read_size;
    EXPECT_EQ(passed.find('\x9D'), std::string::npos) << "the undefined byte reaches the parser as ?";
  }
}

TEST(VerifyBytes, TruncatedAndMissingFiles) {
  const std::string bytes = SmallAuditFile().Bytes();
  const VerificationReport truncated = VerifyBytes(bytes.substr(0, bytes.find("<WorkingDocuments>")));
  EXPECT_TRUE(truncated.completed);
  EXPECT_GE(truncated.errors(), 1);
  bool malformed = false;
  for (const Finding& f : truncated.findings) malformed |= f.message.rfind("XML mal formado na linha", 0) == 0;
  EXPECT_TRUE(malformed) << Describe(truncated);
  FindOne(truncated, FindingSeverity::Note, "O ficheiro não pôde ser lido até ao fim");

  const VerificationReport missing = VerifyAuditFile("/nonexistent/file.xml", {});
  // The file is named with the platform's separator.
  FindOne(missing, FindingSeverity::Error,
          "Não foi possível abrir o ficheiro " + DisplayPath("/nonexistent/file.xml"));

  const VerificationReport empty = VerifyBytes("");
  EXPECT_GE(empty.errors(), 1) << Describe(empty);

  // libxml2 quotes the raw bytes of a broken name; the report stays UTF-8.
  const VerificationReport broken = VerifyBytes(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AuditFile xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.04_01\">"
      "<Header><CompanyNam\xff\xff_\xc0");
  EXPECT_GE(broken.errors(), 1);
  for (const Finding& f : broken.findings) EXPECT_TRUE(IsValidUtf8(f.message)) << f.message;
}

TEST(VerifyBytes, UnknownVersion) {
  SmallAuditFile other;
  other.Replace("PT_1.03_01\">", "PT_9.99\">");
  FindOne(Verify(other), FindingSeverity::Error, "não é o AuditFile de uma versão conhecida");
}

TEST(VerifySchema, SchemaMessagesCarryTheirLine) {
  SmallAuditFile file;
  file.Replace("<InvoiceType>FT</InvoiceType>\n        <SpecialRegimes>\n          <SelfBillingIndicator>0"
               "</SelfBillingIndicator>\n          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>\n          "
               "<ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>\n        </SpecialRegimes>\n        "
               "<SourceID>1</SourceID>\n        <SystemEntryDate>2016-01-05T12:00:00",
               "<InvoiceType>XX</InvoiceType>\n        <SpecialRegimes>\n          <SelfBillingIndicator>0"
               "</SelfBillingIndicator>\n          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>\n          "
               "<ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>\n        </SpecialRegimes>\n        "
               "<SourceID>1</SourceID>\n        <SystemEntryDate>2016-01-05T12:00:00");
  file.Replace("<TotalCredit>30.00</TotalCredit>", "<TotalCredit>30.001</TotalCredit>");
  const VerificationReport report = Verify(file);
  bool found = false;
  for (const Finding& f : report.findings) {
    found |= f.message.rfind("Linha 92: não cumpre o esquema 1.03_01: Element 'InvoiceType'", 0) == 0;
  }
  EXPECT_TRUE(found) << Describe(report);
  // The schema's message, the total, and the internal code FT now naming
  // two types (XX and FT).
  EXPECT_EQ(report.errors(), 3) << Describe(report);

  // Validated on a second thread instead of in the reader's own pass: the
  // same findings.
  VerificationOptions two_threads;
  two_threads.schema_on_second_thread = true;
  EXPECT_EQ(Describe(Verify(file, true, two_threads)), Describe(report));
}

TEST(VerifySchema, SummarizedFileGivesOneNoteForItsProductCodes) {
  SmallAuditFile file;
  file.Replace("    <Product>\n      <ProductType>P</ProductType>\n      <ProductCode>P1</ProductCode>\n      "
               "<ProductDescription>Prato do dia</ProductDescription>\n      <ProductNumberCode>P1</ProductNumberCode>"
               "\n    </Product>\n",
               "");
  VerificationOptions summarized;
  summarized.summarized_type_expected = true;
  const VerificationReport report = Verify(file, true, summarized);
  EXPECT_EQ(report.errors(), 0) << Describe(report);
  EXPECT_EQ(report.warnings(), 0) << Describe(report);
  FindOne(report, FindingSeverity::Note, "Ficheiro do tipo Resumido, sem lista de produtos: as 5 referências ProductCode");

  // Asked for the Normal type, the same file is still recognised, and the
  // mismatch said.
  FindOne(Verify(file), FindingSeverity::Warning, "mas foi pedido o tipo Normal");

  // The schema's key references, when libxml2 checks them, fail by design:
  // still one note.
  summarized.schema_key_constraints = true;
  const VerificationReport keyed = Verify(file, true, summarized);
  EXPECT_EQ(keyed.errors(), 0) << Describe(keyed);
  FindOne(keyed, FindingSeverity::Note, "as 5 referências ProductCode");
}

class CountingProgress : public VerificationProgress {
 public:
  explicit CountingProgress(int abort_after) : m_abort_after(abort_after) {}
  void documentsChecked(int count) override { last = count; }
  bool aborted() override { return last >= m_abort_after; }
  int last = 0;

 private:
  int m_abort_after;
};

TEST(VerifyProgress, ReportsEveryFiftyDocumentsAndStopsOnAbort) {
  // 120 receipts of one cent each, numbered 2 to 121 after RC A/1.
  SmallAuditFile file;
  std::string receipts;
  for (int n = 2; n <= 121; ++n) {
    receipts += "      <Payment>\n        <PaymentRefNo>RC A/" + std::to_string(n) +
                "</PaymentRefNo>\n        <TransactionDate>2016-01-08</TransactionDate>\n        <PaymentType>RC"
                "</PaymentType>\n        <DocumentStatus>\n          <PaymentStatus>N</PaymentStatus>\n          "
                "<PaymentStatusDate>2016-01-08T15:00:00</PaymentStatusDate>\n          <SourceID>1</SourceID>\n  "
                "        <SourcePayment>P</SourcePayment>\n        </DocumentStatus>\n        <SourceID>1</SourceID>"
                "\n        <SystemEntryDate>2016-01-08T15:00:00</SystemEntryDate>\n        <CustomerID>1"
                "</CustomerID>\n        <Line>\n          <LineNumber>1</LineNumber>\n          <SourceDocumentID>\n"
                "            <OriginatingON>FT A/1</OriginatingON>\n            <InvoiceDate>2016-01-05</InvoiceDate>"
                "\n          </SourceDocumentID>\n          <CreditAmount>0.01</CreditAmount>\n        </Line>\n    "
                "    <DocumentTotals>\n          <TaxPayable>0</TaxPayable>\n          <NetTotal>0.01</NetTotal>\n  "
                "        <GrossTotal>0.01</GrossTotal>\n        </DocumentTotals>\n      </Payment>\n";
  }
  file.Replace("    </Payments>", receipts + "    </Payments>");
  file.Replace("<NumberOfEntries>1</NumberOfEntries>\n      <TotalDebit>0</TotalDebit>\n      <TotalCredit>100.00",
               "<NumberOfEntries>121</NumberOfEntries>\n      <TotalDebit>0</TotalDebit>\n      <TotalCredit>101.20");
  testing::TempDir dir;
  file.Write(dir / "a.xml");

  CountingProgress all(1000);
  const VerificationReport complete = VerifyAuditFile(dir / "a.xml", {}, &all);
  EXPECT_TRUE(complete.completed);
  EXPECT_EQ(all.last, 125);
  EXPECT_EQ(complete.errors(), 0) << Describe(complete);

  CountingProgress stop(50);
  const VerificationReport stopped = VerifyAuditFile(dir / "a.xml", {}, &stop);
  EXPECT_FALSE(stopped.completed);
  EXPECT_EQ(stop.last, 50);
  FindOne(stopped, FindingSeverity::Note, "Verificação interrompida ao fim de 50 documentos");
  EXPECT_EQ(stopped.errors(), 0) << Describe(stopped);
}

TEST(VerifyArithmetic, DecimalAmountsAreExact) {
  using verify::DecimalAmount;
  const auto parse = [](const char* text) { return DecimalAmount::Parse(text).value(); };
  // 0.1 + 0.2, which a double gets wrong, and a long sum of small amounts.
  EXPECT_EQ(parse("0.1") + parse("0.2"), parse("0.3"));
  DecimalAmount sum;
  for (int i = 0; i < 100000; ++i) sum += parse("0.0001");
  EXPECT_EQ(sum.Text(), "10.00");
  EXPECT_EQ(parse("658414.8831").Text(), "658414.8831");
  EXPECT_EQ((parse("2297.94") - parse("2440.21")).Text(), "-142.27");
  EXPECT_EQ(DecimalAmount::PercentOf(parse("51.3274"), parse("13"))->Text(), "6.672562");
  EXPECT_EQ(DecimalAmount::PercentOf(parse("-20"), parse("23"))->Text(), "-4.60");
  EXPECT_EQ(parse("1.23456").ToCurrency(), Currency::FromRaw(12346));
  EXPECT_EQ(parse("-1.23455").ToCurrency(), Currency::FromRaw(-12346));
  EXPECT_FALSE(DecimalAmount::Parse("1e3"));
  EXPECT_FALSE(DecimalAmount::Parse("1,5"));
  EXPECT_FALSE(DecimalAmount::Parse(""));
  EXPECT_FALSE(DecimalAmount::Parse("1234567890123456"));
  EXPECT_TRUE(DecimalAmount::Parse(" 000000000000000001.5000000000000 "));
}

}  // namespace
}  // namespace varnel
