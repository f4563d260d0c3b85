// Invoice lines: quantity and unit price rules, the elements of a Line, debit
// or credit by sign and the net sum, withholding lines, OrderReferences by
// compensation day and exemption reasons.
#include "sourcedocs/invoice_lines.h"
#include "sourcedocs/line_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sourcedocs/sales_export.h"

namespace varnel::testing {
namespace {

// The lines of every block of a tag, trimmed, as "tag=value" texts.
TEST(InvoiceLines, QuantityAndUnitPrice) {
  const struct {
    double valor, qtd, punit;
    std::int64_t iva;
    const char* price;
    const char* quantity;
  } cases[] = {
      {10, 1, 0, 23, "10", "1"},
      {10, -2, 0, 23, "5", "2"},          // the sign shows only in debit or credit
      {-10, -2, 0, 23, "5", "2"},
      {1, 3, 0, 23, "0.3333", "3"},
      {2, 3, 0, 23, "0.6667", "3"},
      {0, 0, 12.30, 23, "10", "0"},       // qtd 0: VAT-inclusive price without VAT
      {0, 0, -12.30, 23, "10", "0"},
      {99, 0, 5, 0, "5", "0"},
      {1, 20000, 0, 23, "0", "20000"},    // exact halves of 0.0001 go to the even neighbour
      {3, 20000, 0, 23, "0.0002", "20000"},
      {5, -20000, 0, 23, "0.0002", "20000"},
      {7, 20000, 0, 23, "0.0004", "20000"},
      {1, 1.23456, 0, 23, "0.81", "1.2346"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CurrText(LineUnitPrice(c.valor, c.qtd, Currency::FromFloat(c.punit), c.iva)), c.price)
        << c.valor << " / " << c.qtd;
    EXPECT_EQ(CurrText(LineQuantity(c.qtd)), c.quantity) << c.qtd;
  }
}

TEST(InvoiceLines, LineElements) {
  TestDatabase db;
  SetVersion(db, 2016);
  db.Exec("INSERT INTO unidades (codigo, descricao) VALUES (1, 'Dose')");
  db.Exec("INSERT INTO produtos (codigo, descricao, unidade) VALUES (200, 'Bife', 1)");
  const std::string long_name = std::string(45, 'x') + "&&yyyyyyyyyyyy";  // 60 characters
  Insert(db, DocumentRow{.doc = "FA", .numero = 7});
  Insert(db, SaleLine{.doc = "FA", .numero = 7, .codigo = 200, .descricao = long_name, .qtd = -2, .iva = 23,
                      .total = -24.60, .desconto = 1.005});
  Insert(db, SaleLine{.doc = "FA", .numero = 7, .codigo = 201, .descricao = "Sopa", .qtd = 0, .punit = 12.30,
                      .iva = 23, .total = 0, .desconto = -2.5});
  Insert(db, SaleLine{.doc = "FA", .numero = 7, .codigo = 202, .descricao = "Pao", .qtd = 3, .iva = 6,
                      .total = 1.06});
  ExportRequest request = DefaultRequest();
  request.company.taxCountryRegion = TaxRegion::Madeira;
  const std::string invoice = Invoices(RunExport(db, request)).at(0);
  const std::string cut = std::string(45, 'x') + "&amp;&amp;yyy";
  EXPECT_EQ(invoice.substr(invoice.find("        <Line>"), invoice.find("        <DocumentTotals>") -
                                                                 invoice.find("        <Line>")),
            "        <Line>\n"
            "          <LineNumber>1</LineNumber>\n"
            "          <ProductCode>200</ProductCode>\n"
            "          <ProductDescription>" + cut + "</ProductDescription>\n"
            "          <Quantity>2</Quantity>\n"
            "          <UnitOfMeasure>Dose</UnitOfMeasure>\n"
            "          <UnitPrice>10</UnitPrice>\n"
            "          <TaxPointDate>2016-01-10</TaxPointDate>\n"
            "          <Description>" + cut + "</Description>\n"
            "          <DebitAmount>20</DebitAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>NOR</TaxCode>\n"
            "            <TaxPercentage>23</TaxPercentage>\n"
            "          </Tax>\n"
            "          <SettlementAmount>1.01</SettlementAmount>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>2</LineNumber>\n"
            "          <ProductCode>201</ProductCode>\n"
            "          <ProductDescription>Sopa</ProductDescription>\n"
            "          <Quantity>0</Quantity>\n"
            "          <UnitOfMeasure>N/D</UnitOfMeasure>\n"
            "          <UnitPrice>10</UnitPrice>\n"
            "          <TaxPointDate>2016-01-10</TaxPointDate>\n"
            "          <Description>Sopa</Description>\n"
            "          <CreditAmount>0</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>NOR</TaxCode>\n"
            "            <TaxPercentage>23</TaxPercentage>\n"
            "          </Tax>\n"
            "          <SettlementAmount>2.5</SettlementAmount>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>3</LineNumber>\n"
            "          <ProductCode>202</ProductCode>\n"
            "          <ProductDescription>Pao</ProductDescription>\n"
            "          <Quantity>3</Quantity>\n"
            "          <UnitOfMeasure>N/D</UnitOfMeasure>\n"
            "          <UnitPrice>0.3333</UnitPrice>\n"
            "          <TaxPointDate>2016-01-10</TaxPointDate>\n"
            "          <Description>Pao</Description>\n"
            "          <CreditAmount>1</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>RED</TaxCode>\n"
            "            <TaxPercentage>6</TaxPercentage>\n"
            "          </Tax>\n"
            "        </Line>\n");
  request.company.taxCountryRegion = TaxRegion::NothingChosen;  // no region line
  EXPECT_EQ(RunExport(db, request).text.find("<TaxCountryRegion>"), std::string::npos);
}

// Amounts are debits or credits by their sign; the net sum adds a sale's
// lines and subtracts a credit note's.
TEST(InvoiceLines, DebitOrCreditBySignAndTheNetSum) {
  TestDatabase db;
  SetVersion(db, 2016);
  for (const char* doc : {"NC", "TK"}) {
    Insert(db, DocumentRow{.doc = doc, .numero = 1});
    for (double total : {10.0, -4.0, 0.0}) Insert(db, SaleLine{.doc = doc, .numero = 1, .iva = 0, .total = total});
  }
  const auto invoices = Invoices(RunExport(db, DefaultRequest()));
  ASSERT_EQ(invoices.size(), 2u);
  for (const auto& invoice : invoices) {
    EXPECT_EQ(Values(invoice, "CreditAmount"), (std::vector<std::string>{"10", "0"}));
    EXPECT_EQ(Values(invoice, "DebitAmount"), (std::vector<std::string>{"4"}));
  }
  EXPECT_EQ(Values(invoices[0], "NetTotal"), (std::vector<std::string>{"-6"}));  // NC
  EXPECT_EQ(Values(invoices[1], "NetTotal"), (std::vector<std::string>{"6"}));   // TK
}

TEST(InvoiceLines, WithholdingLinesAreSummedNotWritten) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "FT", .numero = 1, .total = 20});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .codigo = 1, .iva = 0, .total = 10});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .codigo = -999, .iva = 0, .total = -2.5});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .codigo = 2, .iva = 0, .total = 5});
  Insert(db, SaleLine{.doc = "FT", .numero = 1, .codigo = 3, .iva = 0, .total = 5});
  Insert(db, DocumentRow{.doc = "FT", .numero = 2, .total = 0});
  Insert(db, SaleLine{.doc = "FT", .numero = 2, .codigo = -999, .iva = 0, .total = -1});
  const auto invoices = Invoices(RunExport(db, DefaultRequest()));
  ASSERT_EQ(invoices.size(), 2u);
  EXPECT_EQ(Values(invoices[0], "LineNumber"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Values(invoices[0], "ProductCode"), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Values(invoices[0], "WithholdingTaxAmount"), (std::vector<std::string>{"2.5"}));
  // Only withholding lines: no Line at all, not even the placeholder.
  EXPECT_EQ(invoices[1].substr(invoices[1].find("        <CustomerID>")),
            "        <CustomerID>1</CustomerID>\n"
            "        <DocumentTotals>\n"
            "          <TaxPayable>1</TaxPayable>\n"
            "          <NetTotal>0</NetTotal>\n"
            "          <GrossTotal>1</GrossTotal>\n"
            "        </DocumentTotals>\n"
            "        <WithholdingTax>\n"
            "          <WithholdingTaxType>IRS</WithholdingTaxType>\n"
            "          <WithholdingTaxAmount>1</WithholdingTaxAmount>\n"
            "        </WithholdingTax>\n"
            "      </Invoice>\n");
}

TEST(InvoiceLines, OrderReferencesByCompensationDayOnEveryLine) {
  TestDatabase db;
  SetVersion(db, 2016);
  for (std::int64_t numero : {20, 21, 22}) {
    Insert(db, DocumentRow{.doc = "TK", .numero = numero});
    Insert(db, SaleLine{.doc = "TK", .numero = numero, .iva = 0, .total = 1});
    Insert(db, SaleLine{.doc = "TK", .numero = numero, .iva = 0, .total = 2});
  }
  // A document code stored with trailing blanks, its line without them.
  Insert(db, DocumentRow{.doc = "VD   ", .numero = 20});
  Insert(db, SaleLine{.doc = "VD", .numero = 20, .iva = 0, .total = 1});
  const char* rows =
      "INSERT INTO compensacoes (TK, VD, CM, data) VALUES"
      " (20, NULL, 60, '2016-01-11 09:00:00'), (20, NULL, 58, '2016-01-10 11:00:00'),"
      " (20, NULL, 57, '2016-01-10 10:00:00'), (21, NULL, 61, '2016-01-12 00:00:00'),"
      " (NULL, 20, 62, '2016-01-10 00:00:00'), (22, NULL, 63, '2016-02-01 00:00:00')";
  db.Exec(rows);
  const auto invoices = Invoices(RunExport(db, DefaultRequest()));
  ASSERT_EQ(invoices.size(), 4u);
  const std::string two_days =
      "          <OrderReferences>\n"
      "            <OriginatingON>CM /57;CM /58</OriginatingON>\n"
      "            <OrderDate>2016-01-10</OrderDate>\n"
      "          </OrderReferences>\n"
      "          <OrderReferences>\n"
      "            <OriginatingON>CM /60</OriginatingON>\n"
      "            <OrderDate>2016-01-11</OrderDate>\n"
      "          </OrderReferences>\n";
  for (const char* line_number : {"1", "2"}) {
    const std::string opening = std::string("          <LineNumber>") + line_number + "</LineNumber>\n";
    EXPECT_NE(invoices[0].find(opening + two_days + "          <ProductCode>"), std::string::npos) << line_number;
  }
  EXPECT_EQ(Values(invoices[1], "OriginatingON"), (std::vector<std::string>{"CM /61", "CM /61"}));
  EXPECT_EQ(Values(invoices[1], "OrderDate"), (std::vector<std::string>{"2016-01-12", "2016-01-12"}));
  EXPECT_EQ(invoices[2].find("<OrderReferences>"), std::string::npos);  // its row is after the period
  EXPECT_EQ(Values(invoices[3], "OriginatingON"), (std::vector<std::string>{"CM /62"}));
  SetVersion(db, 2010);  // Legacy: no compensation rows at all
  EXPECT_EQ(RunExport(db, DefaultRequest()).text.find("<OrderReferences>"), std::string::npos);
}

TEST(InvoiceLines, ExemptionReasons) {
  TestDatabase db;
  SetVersion(db, 2016);
  db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M07', 'Artigo 9.º do CIVA'),"
          " ('M10', 'Artigo 53.º do CIVA'), ('M99', '" + std::string(59, 'n') + "&tail')");
  db.Exec("INSERT INTO produtos (codigo, descricao, isencao) VALUES (200, 'a', 'M10'), (201, 'b', NULL),"
          " (202, 'c', 'M07')");
  Insert(db, DocumentRow{.doc = "VD", .numero = 1});
  const struct {
    std::int64_t codigo;
    const char* isencao;
  } lines[] = {{202, "M07"}, {200, ""}, {201, ""}, {200, "M99"}, {202, "XX"}, {200, ""}, {999, ""}};
  for (const auto& line : lines) {
    Insert(db, SaleLine{.doc = "VD", .numero = 1, .codigo = line.codigo, .iva = 0, .total = 1,
                        .isencao = line.isencao});
  }
  Insert(db, SaleLine{.doc = "VD", .numero = 1, .codigo = 200, .iva = 23, .total = 1});  // taxed: no reason
  const std::string invoice = Invoices(RunExport(db, DefaultRequest())).at(0);
  EXPECT_EQ(Values(invoice, "TaxExemptionReason"),
            (std::vector<std::string>{"Artigo 9.º do CIVA",        // the line's own code
                                      "Artigo 53.º do CIVA",       // the product's code
                                      "",                          // neither has one
                                      std::string(59, 'n') + "&amp;",  // cut to 60, then escaped
                                      "",                          // a code without a norm
                                      "Artigo 53.º do CIVA",       // the same product again
                                      ""}));                       // no product row
  EXPECT_NE(invoice.find("          <TaxExemptionReason></TaxExemptionReason>\n"), std::string::npos);
}

}  // namespace
}  // namespace varnel::testing
