// A document's arithmetic: its totals against its lines on either side, with
// the tolerances stated beside each rule, and the document whose lines' value
// and tax differ in sign (one warning, no error). On the rule functions
// directly, and on the hand-made file of another program broken one way at a
// time: a stamp duty line's tax, a withholding tax above the total, a foreign
// currency, a refund on the debit side, a credit note on the credit side, a
// receipt's settlement.
#include <gtest/gtest.h>

#include <string>

#include "verify/document_amounts.h"
#include "verify/foreign_audit_file.h"
#include "verify/verify_findings.h"

namespace varnel {
namespace {

using testing::Describe;
using testing::FindOne;
using testing::ForeignAuditFile;
using testing::SmallAuditFile;
using testing::VerifyBytes;
using verify::DecimalAmount;
using verify::DocumentAmounts;
using verify::DocumentSide;
using verify::LineState;

DecimalAmount Amount(const char* text) { return DecimalAmount::Parse(text).value(); }

LineState Line(const char* credit, const char* debit, const char* percentage) {
  LineState line;
  if (*credit) line.credit = Amount(credit);
  if (*debit) line.debit = Amount(debit);
  line.has_tax = true;
  line.tax_percentage = Amount(percentage);
  return line;
}

struct Checked {
  DocumentSide side;
  std::vector<Finding> findings;
};

Checked Check(const std::vector<LineState>& lines, const char* tax, const char* net, const char* gross) {
  DocumentAmounts amounts;
  for (const LineState& line : lines) amounts.AddLine(line, verify::TaxOfLine(line));
  amounts.tax_payable = Amount(tax);
  amounts.net_total = Amount(net);
  amounts.gross_total = Amount(gross);
  verify::FindingList findings;
  const DocumentSide side = verify::CheckDocumentAmounts(amounts, verify::SectionId::Payments, "RC A/86", findings);
  return {side, findings.Take()};
}

TEST(VerifyDocumentAmounts, TolerancesOfTheTotals) {
  // Five lines of 0.07 at 23 %: 0.0805 of tax, which a program rounding each
  // line's tax writes as 0.10; half a cent per further line allows it.
  const LineState small = Line("0.07", "", "23");
  const std::vector<LineState> five(5, small);
  EXPECT_TRUE(Check(five, "0.10", "0.35", "0.45").findings.empty());
  EXPECT_EQ(Check(five, "0.12", "0.35", "0.47").findings.size(), 1u);
  // One line: one cent, not two.
  EXPECT_TRUE(Check({Line("10", "", "23")}, "2.31", "10.01", "12.32").findings.empty());
  const auto two_cents = Check({Line("10", "", "23")}, "2.32", "10.02", "12.34").findings;
  ASSERT_EQ(two_cents.size(), 2u);
  EXPECT_EQ(two_cents[0].message, "NetTotal 10.02 difere da soma das linhas 10.00 (diferença -0.02)");
  EXPECT_EQ(two_cents[1].message, "TaxPayable 2.32 difere do imposto das linhas 2.30 (diferença -0.02)");
  // GrossTotal is NetTotal + TaxPayable as written, to the cent.
  EXPECT_EQ(Check({Line("10", "", "23")}, "2.30", "10", "12.32").findings.at(0).message,
            "GrossTotal 12.32 difere de NetTotal + TaxPayable 12.30 (diferença -0.02)");
}

TEST(VerifyDocumentAmounts, DebitSideDocumentsWritePositiveTotals) {
  // A refund paid back by a receipt, or a credit note.
  const Checked refund = Check({Line("", "20", "23")}, "4.60", "20", "24.60");
  EXPECT_EQ(refund.side, DocumentSide::Debit);
  EXPECT_TRUE(refund.findings.empty()) << refund.findings.at(0).message;
  EXPECT_EQ(Check({Line("", "20", "23")}, "4.60", "20.50", "25.10").findings.at(0).message,
            "NetTotal 20.50 difere da soma das linhas 20.00 (diferença -0.50)");
}

TEST(VerifyDocumentAmounts, ValueAndTaxOfOppositeSignsAreOneWarning) {
  // An invoice mostly exempt settled with a credit note at 23 %: the lines
  // come to +19.5163 of value and -1.866 of VAT, written as their absolute
  // values, whose sum is not the gross.
  const std::vector<LineState> lines = {Line("27.6293", "", "0"), Line("", "8.113", "23")};
  const Checked checked = Check(lines, "1.866", "19.5163", "17.6503");
  ASSERT_EQ(checked.findings.size(), 1u);
  EXPECT_EQ(checked.findings[0].severity, FindingSeverity::Warning);
  EXPECT_EQ(checked.findings[0].document, "RC A/86");
  EXPECT_EQ(checked.findings[0].message,
            "Documento não representável de forma coerente: as linhas somam 19.5163 sem imposto e -1.86599 de "
            "imposto, valores de sinais contrários, e os totais só podem ser positivos (NetTotal 19.5163 mais "
            "TaxPayable 1.866 não perfaz o GrossTotal 17.6503)");
  // The totals are still the lines' absolute sums.
  const Checked wrong = Check(lines, "1.866", "19.5163", "21.38");
  ASSERT_EQ(wrong.findings.size(), 2u);
  EXPECT_EQ(wrong.findings[1].message,
            "GrossTotal 21.38 difere da soma das linhas com imposto 17.65031 (diferença -3.72969)");
}

TEST(VerifyDocumentAmounts, LineTaxOnItsBaseAndSide) {
  LineState stamp_duty;
  stamp_duty.credit = Amount("0");
  stamp_duty.tax_base = Amount("1000");
  stamp_duty.has_tax = true;
  stamp_duty.tax_percentage = Amount("0.5");
  EXPECT_EQ(verify::TaxOfLine(stamp_duty).tax->Text(), "5.00");
  stamp_duty.credit.reset();
  stamp_duty.debit = Amount("0");
  EXPECT_EQ(verify::TaxOfLine(stamp_duty).tax->Text(), "-5.00");
  LineState amount;
  amount.debit = Amount("0");
  amount.has_tax = true;
  amount.tax_amount = Amount("1.20");
  EXPECT_EQ(verify::TaxOfLine(amount).tax->Text(), "-1.20");
}

// The hand-made file broken one way: each change gives its one finding.
TEST(VerifyDocumentAmounts, BrokenInTheFileOfAnotherProgram) {
  struct Case {
    const char* marker;
    const char* from;
    const char* to;
    FindingSeverity severity;
    const char* expected;
  };
  const Case cases[] = {
      {"<InvoiceNo>FT A/3</InvoiceNo>", "<TaxPayable>235.00</TaxPayable>", "<TaxPayable>230.00</TaxPayable>",
       FindingSeverity::Error, "TaxPayable 230.00 difere do imposto das linhas 235.00"},
      // After an invoice's DocumentTotals/Payment, the invoice is still open.
      {"<InvoiceNo>FT A/1</InvoiceNo>", "        </DocumentTotals>\n",
       "        </DocumentTotals>\n        <WithholdingTax>\n          <WithholdingTaxAmount>300.00"
       "</WithholdingTaxAmount>\n        </WithholdingTax>\n",
       FindingSeverity::Error, "Retenção na fonte (WithholdingTaxAmount) 300.00 superior ao GrossTotal 261.00"},
      {"<InvoiceNo>FT A/2</InvoiceNo>", "<CurrencyAmount>528.07</CurrencyAmount>",
       "<CurrencyAmount>600.00</CurrencyAmount>", FindingSeverity::Warning,
       "Moeda estrangeira: CurrencyAmount 600.00 à taxa de câmbio 0.9317 dá 559.02 (ou 643.98, dividindo pela "
       "taxa), não o GrossTotal 492.00"},
      {"<PaymentRefNo>RG A/2</PaymentRefNo>", "<NetTotal>3.00</NetTotal>", "<NetTotal>3.50</NetTotal>",
       FindingSeverity::Error, "NetTotal 3.50 difere da soma das linhas 3.00"},
      {"<InvoiceNo>NC A/1</InvoiceNo>", "<DebitAmount>3.00</DebitAmount>", "<CreditAmount>3.00</CreditAmount>",
       FindingSeverity::Warning,
       "1 documento do tipo NC com as linhas a crédito, quando o tipo se escreve a débito (o primeiro, NC A/1)"},
      {"<PaymentRefNo>RG A/1</PaymentRefNo>", "<SettlementAmount>5.22</SettlementAmount>\n          </Settlement>",
       "<SettlementAmount>6.00</SettlementAmount>\n          </Settlement>", FindingSeverity::Warning,
       "Settlement/SettlementAmount 6.00 difere da soma dos SettlementAmount das linhas 5.22"},
  };
  for (const Case& c : cases) {
    SmallAuditFile file = ForeignAuditFile();
    file.ReplaceAfter(c.marker, c.from, c.to);
    FindOne(VerifyBytes(file.text()), c.severity, c.expected);
  }
}

// What other programs write differently and rightly: a receipt's totals
// less its settlement discount, the tax on the discounted base, an exchange
// rate written the other way round, control totals rounded to the cent,
// documents billed by another (status F) left out of them.
TEST(VerifyDocumentAmounts, ValidVariantsOfOtherPrograms) {
  struct Case {
    const char* what;
    const char* marker;
    const char* from;
    const char* to;
  };
  const Case cases[] = {
      {"receipt's gross less its settlement", "<PaymentRefNo>RG A/1</PaymentRefNo>", "<GrossTotal>261.00</GrossTotal>",
       "<GrossTotal>255.78</GrossTotal>"},
      {"tax on the discounted base", "<PaymentRefNo>RG A/1</PaymentRefNo>",
       "<TaxPayable>46.00</TaxPayable>\n          <NetTotal>215.00</NetTotal>\n          <GrossTotal>261.00",
       "<TaxPayable>44.88</TaxPayable>\n          <NetTotal>215.00</NetTotal>\n          <GrossTotal>259.88"},
      {"exchange rate as dollars per euro", "<InvoiceNo>FT A/2</InvoiceNo>", "<ExchangeRate>0.9317</ExchangeRate>",
       "<ExchangeRate>1.0733</ExchangeRate>"},
      {"control total of the sum rounded to the cent", "<InvoiceNo>FS A/1</InvoiceNo>",
       "<CreditAmount>25.00</CreditAmount>", "<CreditAmount>25.004</CreditAmount>"},
      {"a billed document left out of the control totals", "<SalesInvoices>",
       "<TotalCredit>1640.00</TotalCredit>", "<TotalCredit>1615.00</TotalCredit>"},
  };
  for (const Case& c : cases) {
    SmallAuditFile file = ForeignAuditFile();
    file.ReplaceAfter(c.marker, c.from, c.to);
    if (std::string(c.what).starts_with("a billed")) {
      file.ReplaceAfter("<InvoiceNo>FS A/1</InvoiceNo>", "<InvoiceStatus>N<", "<InvoiceStatus>F<");
    }
    const VerificationReport report = VerifyBytes(file.text());
    EXPECT_EQ(report.errors() + report.warnings(), 0) << c.what << "\n" << Describe(report);
  }
}

}  // namespace
}  // namespace varnel
