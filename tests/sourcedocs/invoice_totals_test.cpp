// Invoice totals: the arithmetic of DocumentTotals for sales and credit
// notes, WithholdingTax, and the placeholder line of a document without
// line rows.
#include "sourcedocs/invoice_totals.h"

#include <gtest/gtest.h>

#include "sourcedocs/invoice_document.h"
#include "sourcedocs/sales_export.h"

namespace varnel::testing {
namespace {

Currency Amount(const char* text) { return Currency::FromFloat(std::stold(text)); }

TEST(InvoiceTotals, Arithmetic) {
  const struct {
    const char *total, *net, *withholding;
    bool credit_note;
    const char *tax, *gross;
  } cases[] = {
      {"9.80", "10", "-2.50", false, "2.3", "12.3"},
      {"-9.80", "10", "-2.50", true, "2.3", "12.3"},  // the matching credit note
      {"12.30", "10", "0", false, "2.3", "12.3"},
      {"10", "8.1301", "0", false, "1.87", "10"},     // NetTotal keeps four decimals
      {"1.125", "1", "0", false, "0.13", "1.13"},     // halves of a cent away from zero
      {"0.875", "1", "0", false, "-0.13", "0.88"},
      {"-1.125", "1", "0", true, "0.13", "1.13"},
      {"-0.875", "1", "0", true, "-0.13", "0.88"},
  };
  for (const auto& c : cases) {
    const InvoiceSums sums{Amount(c.net), Amount(c.withholding), {}};
    const DocumentTotalsValues values = ComputeDocumentTotals(Amount(c.total), sums, c.credit_note);
    EXPECT_EQ(CurrText(values.tax_payable), c.tax) << c.total << " " << c.net;
    EXPECT_EQ(CurrText(values.net_total), CurrText(sums.net));
    EXPECT_EQ(CurrText(values.gross_total), c.gross) << c.total << " " << c.net;
  }
}

std::string EndOf(const std::string& invoice, const std::string& from) {
  return invoice.substr(invoice.find(from));
}

TEST(InvoiceTotals, SaleAndCreditNoteWithWithholding) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "FT", .numero = 1, .total = 9.80});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .iva = 23, .total = 12.30});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .codigo = -999, .iva = 0, .total = -2.50});
  Insert(db, DocumentRow{.doc = "NC", .numero = 1, .total = -9.80});
  Insert(db, SaleLine{.doc = "NC", .numero = 1, .iva = 23, .total = -12.30});
  Insert(db, SaleLine{.doc = "NC", .numero = 1, .codigo = -999, .iva = 0, .total = 2.50});
  Insert(db, DocumentRow{.doc = "VD", .numero = 1, .total = 12.30});
  Insert(db, SaleLine{.doc = "VD", .numero = 1, .iva = 23, .total = 12.30});
  Insert(db, SaleLine{.doc = "VD", .numero = 1, .codigo = -999, .iva = 0, .total = 0.5});
  const auto invoices = Invoices(RunExport(db, DefaultRequest()));
  ASSERT_EQ(invoices.size(), 3u);
  const std::string expected =
      "        <DocumentTotals>\n"
      "          <TaxPayable>2.3</TaxPayable>\n"
      "          <NetTotal>10</NetTotal>\n"
      "          <GrossTotal>12.3</GrossTotal>\n"
      "        </DocumentTotals>\n"
      "        <WithholdingTax>\n"
      "          <WithholdingTaxType>IRS</WithholdingTaxType>\n"
      "          <WithholdingTaxAmount>2.5</WithholdingTaxAmount>\n"
      "        </WithholdingTax>\n"
      "      </Invoice>\n";
  EXPECT_EQ(EndOf(invoices[0], "        <DocumentTotals>"), expected);  // FT
  EXPECT_EQ(EndOf(invoices[1], "        <DocumentTotals>"), expected);  // NC
  // A positive withholding sum on a sale gives a negative amount.
  EXPECT_EQ(EndOf(invoices[2], "          <WithholdingTaxAmount>"),
            "          <WithholdingTaxAmount>-0.5</WithholdingTaxAmount>\n"
            "        </WithholdingTax>\n"
            "      </Invoice>\n");
}

TEST(InvoiceTotals, PlaceholderLineForADocumentWithoutLines) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "NC", .numero = 3, .data = "2016-01-20 00:00:00", .total = 5});
  Insert(db, DocumentRow{.doc = "TK", .numero = 4, .total = 5});
  ExportRequest request = DefaultRequest();
  request.company.taxCountryRegion = TaxRegion::Madeira;  // Madeira: the placeholder still says PT
  const auto invoices = Invoices(RunExport(db, request));
  ASSERT_EQ(invoices.size(), 2u);
  auto placeholder = [](const char* date, const char* amount) {
    return std::string(
               "        <Line>\n"
               "          <LineNumber>1</LineNumber>\n"
               "          <ProductCode>0</ProductCode>\n"
               "          <ProductDescription>?</ProductDescription>\n"
               "          <Quantity>1</Quantity>\n"
               "          <UnitOfMeasure>?</UnitOfMeasure>\n"
               "          <UnitPrice>0</UnitPrice>\n"
               "          <TaxPointDate>") +
           date +
           "</TaxPointDate>\n"
           "          <Description>?</Description>\n"
           "          " + amount + "\n"
           "          <Tax>\n"
           "            <TaxType>IVA</TaxType>\n"
           "            <TaxCountryRegion>PT</TaxCountryRegion>\n"
           "            <TaxCode>ISE</TaxCode>\n"
           "            <TaxPercentage>0</TaxPercentage>\n"
           "          </Tax>\n"
           "        </Line>\n"
           "        <DocumentTotals>\n"
           "          <TaxPayable>0</TaxPayable>\n"
           "          <NetTotal>0</NetTotal>\n"
           "          <GrossTotal>0</GrossTotal>\n"
           "        </DocumentTotals>\n"
           "      </Invoice>\n";
  };
  EXPECT_EQ(EndOf(invoices[0], "        <Line>"), placeholder("2016-01-20", "<CreditAmount>0</CreditAmount>"));
  EXPECT_EQ(EndOf(invoices[1], "        <Line>"), placeholder("2016-01-10", "<DebitAmount>0</DebitAmount>"));
}

}  // namespace
}  // namespace varnel::testing
