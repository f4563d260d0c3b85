// The nineteen assertions of the 1.04_01 schema, each broken once in the
// hand-made file of another program, each caught with its own message in
// its own section; and the file as it stands (an RG receipt with Tax among
// its receipts) breaks none.
#include <gtest/gtest.h>

#include <string>

#include "verify/foreign_audit_file.h"
#include "verify/verify_findings.h"

namespace varnel {
namespace {

using testing::Describe;
using testing::FindOne;
using testing::ForeignAuditFile;
using testing::SmallAuditFile;
using testing::VerifyBytes;

struct Change {
  const char* marker;  // unique in the file
  const char* from;    // its first occurrence after the marker is replaced
  const char* to;
};

struct Case {
  const char* assertion;
  Change change;
  Change second;  // none when its marker is null
  const char* section;
  const char* document;
  const char* expected;
};

constexpr const char* kPercentage23 = "<TaxPercentage>23.00</TaxPercentage>";
constexpr const char* kTaxEnd23 = "<TaxPercentage>23.00</TaxPercentage>\n          </Tax>\n";
constexpr const char* kReasonM07 =
    "          <TaxExemptionReason>Artigo 9.º do CIVA</TaxExemptionReason>\n"
    "          <TaxExemptionCode>M07</TaxExemptionCode>\n";
constexpr const char* kCodeM05 = "          <TaxExemptionCode>M05</TaxExemptionCode>\n";
constexpr const char* kReasonM05 = "          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>\n";
constexpr const char* kTax23 =
    "          <Tax>\n            <TaxType>IVA</TaxType>\n            <TaxCountryRegion>PT</TaxCountryRegion>\n"
    "            <TaxCode>NOR</TaxCode>\n            <TaxPercentage>23.00</TaxPercentage>\n          </Tax>\n";
constexpr const char* kFT1 = "<InvoiceNo>FT A/1</InvoiceNo>";
constexpr const char* kFT3 = "<InvoiceNo>FT A/3</InvoiceNo>";
constexpr const char* kGT1 = "<DocumentNumber>GT A/1</DocumentNumber>";
constexpr const char* kPF1 = "<DocumentNumber>PF A/1</DocumentNumber>";
constexpr const char* kRG1 = "<PaymentRefNo>RG A/1</PaymentRefNo>";
constexpr const char* kRC1 = "<PaymentRefNo>RC A/1</PaymentRefNo>";

const std::string kTaxAmountWithReason = std::string("<TaxAmount>57.50</TaxAmount>\n          </Tax>\n") + kReasonM07;
const std::string kPercentageWithReason = std::string(kTaxEnd23) + kReasonM07;
const std::string kLineWithoutTax =
    "        </Line>\n        <Line>\n          <LineNumber>2</LineNumber>\n          <SourceDocumentID>\n"
    "            <OriginatingON>FT A/3</OriginatingON>\n            <InvoiceDate>2022-05-10</InvoiceDate>\n"
    "          </SourceDocumentID>\n          <CreditAmount>0.00</CreditAmount>\n        </Line>\n";

const Case kCases[] = {
    {"1 TaxonomyCode exactly on GM accounts",
     {"<AccountDescription>Clientes gerais", "        <TaxonomyCode>62</TaxonomyCode>\n", ""}, {},
     "MasterFiles", "", "Conta 2111 (GroupingCategory GM) sem TaxonomyCode"},
    {"2 GroupingCode by category", {"<AccountID>211</AccountID>", "        <GroupingCode>21</GroupingCode>\n", ""}, {},
     "MasterFiles", "", "Conta 211 (GroupingCategory GA) sem GroupingCode"},
    {"3 invoice line, TaxAmount", {"<InvoiceNo>FT A/2</InvoiceNo>", kPercentage23, "<TaxAmount>0.00</TaxAmount>"}, {},
     "SalesInvoices", "FT A/2", "Linha 1 com TaxAmount 0 sem TaxExemptionReason"},
    {"4 invoice line, TaxPercentage", {kFT1, kPercentage23, "<TaxPercentage>0.00</TaxPercentage>"}, {},
     "SalesInvoices", "FT A/1", "Linha 1 de taxa 0 sem TaxExemptionReason nem TaxExemptionCode"},
    {"5 invoice line, reason and code", {kFT1, kCodeM05, ""}, {}, "SalesInvoices", "FT A/1",
     "1 linha com o motivo de isenção \"Artigo 14.º do CIVA\" sem TaxExemptionCode"},
    {"6 invoice line, TaxBase and UnitPrice", {kFT3, "<UnitPrice>0.00</UnitPrice>", "<UnitPrice>10.00</UnitPrice>"},
     {}, "SalesInvoices", "FT A/3", "Linha 2 com TaxBase e UnitPrice 10.00"},
    {"7 invoice line, TaxBase and amount",
     {kFT3, "<CreditAmount>0.00</CreditAmount>", "<CreditAmount>5.00</CreditAmount>"}, {},
     "SalesInvoices", "FT A/3", "Linha 2 com TaxBase e CreditAmount 5.00"},
    {"8 stock movement line, TaxPercentage", {kGT1, "<TaxPercentage>0.00</TaxPercentage>", kPercentage23}, {},
     "MovementOfGoods", "GT A/1", "Linha 1 com taxa 23.00 e motivo de isenção \"Artigo 14.º do CIVA\""},
    {"9 stock movement line, reason and code", {kGT1, kReasonM05, ""}, {}, "MovementOfGoods", "GT A/1",
     "Linha 1 com TaxExemptionCode \"M05\" sem TaxExemptionReason"},
    {"10 working document line, TaxAmount", {kPF1, kTaxEnd23, kTaxAmountWithReason.c_str()}, {},
     "WorkingDocuments", "PF A/1", "Linha 1 com TaxAmount 57.50 e motivo de isenção \"Artigo 9.º do CIVA\""},
    {"11 working document line, TaxPercentage", {kPF1, kTaxEnd23, kPercentageWithReason.c_str()}, {},
     "WorkingDocuments", "PF A/1", "Linha 1 com taxa 23.00 e motivo de isenção \"Artigo 9.º do CIVA\""},
    {"12 working document line, reason and code",
     {kPF1, "</Tax>\n", "</Tax>\n          <TaxExemptionCode>M07</TaxExemptionCode>\n"}, {},
     "WorkingDocuments", "PF A/1", "Linha 1 com TaxExemptionCode \"M07\" sem TaxExemptionReason"},
    {"13 working document line, TaxBase and UnitPrice",
     {kPF1, "<TaxPointDate>", "<TaxBase>250.00</TaxBase>\n          <TaxPointDate>"},
     {kPF1, "<CreditAmount>250.00</CreditAmount>", "<CreditAmount>0.00</CreditAmount>"}, "WorkingDocuments", "PF A/1",
     "Linha 1 com TaxBase e UnitPrice 100.00"},
    {"14 working document line, TaxBase and amount",
     {kPF1, "<UnitPrice>100.00</UnitPrice>", "<UnitPrice>0.00</UnitPrice>\n          <TaxBase>250.00</TaxBase>"}, {},
     "WorkingDocuments", "PF A/1", "Linha 1 com TaxBase e CreditAmount 250.00"},
    {"15 receipt line, TaxAmount", {kRG1, "<TaxPercentage>0.00</TaxPercentage>", "<TaxAmount>2.00</TaxAmount>"}, {},
     "Payments", "RG A/1", "Linha 2 com TaxAmount 2.00 e motivo de isenção \"Artigo 14.º do CIVA\""},
    {"16 receipt line, TaxPercentage", {kRG1, kPercentage23, "<TaxPercentage>0.00</TaxPercentage>"}, {}, "Payments",
     "RG A/1", "Linha 1 de taxa 0 sem TaxExemptionReason nem TaxExemptionCode"},
    {"17 receipt line, reason and code", {kRG1, kCodeM05, ""}, {}, "Payments", "RG A/1",
     "1 linha com o motivo de isenção \"Artigo 14.º do CIVA\" sem TaxExemptionCode"},
    {"18 cash VAT receipt line carries Tax", {kRC1, "        </Line>\n", kLineWithoutTax.c_str()}, {}, "Payments",
     "RC A/1", "Recibo RC (regime de IVA de caixa) com 1 linha sem Tax"},
    {"19 cash VAT receipt has Tax", {kRC1, kTax23, ""}, {}, "Payments", "RC A/1",
     "Recibo RC (regime de IVA de caixa) sem imposto (Tax/TaxType) em nenhuma linha"},
};

TEST(VerifySchemaAssertions, EachAssertionBrokenOnceIsCaughtInItsSection) {
  for (const Case& c : kCases) {
    SmallAuditFile file = ForeignAuditFile();
    file.ReplaceAfter(c.change.marker, c.change.from, c.change.to);
    if (c.second.marker != nullptr) file.ReplaceAfter(c.second.marker, c.second.from, c.second.to);
    const VerificationReport report = VerifyBytes(file.text());
    const Finding* found = nullptr;
    for (const Finding& f : report.findings) {
      const bool match = f.severity == FindingSeverity::Error && f.section == c.section &&
                         f.message.find(c.expected) != std::string::npos;
      if (match) found = &f;
    }
    ASSERT_NE(found, nullptr) << c.assertion << "\n" << Describe(report);
    EXPECT_EQ(found->document, c.document) << c.assertion;
  }
}

TEST(VerifySchemaAssertions, AccountsOnTheOtherSideOfEachRule) {
  SmallAuditFile file = ForeignAuditFile();
  file.ReplaceAfter("<AccountID>21</AccountID>", "        <GroupingCategory>GR</GroupingCategory>\n",
                    "        <GroupingCategory>GR</GroupingCategory>\n        <GroupingCode>99</GroupingCode>\n"
                    "        <TaxonomyCode>1</TaxonomyCode>\n");
  const VerificationReport report = VerifyBytes(file.text());
  FindOne(report, FindingSeverity::Error, "Conta 21 (GroupingCategory GR) com TaxonomyCode");
  FindOne(report, FindingSeverity::Error, "Conta 21 (GroupingCategory GR) com GroupingCode");
  EXPECT_EQ(report.errors(), 2) << Describe(report);
}

}  // namespace
}  // namespace varnel
