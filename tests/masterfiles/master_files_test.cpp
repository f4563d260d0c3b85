// The MasterFiles lists over real point-of-sale databases, through whole
// export runs: the fixed elements byte for byte, customer and supplier records
// with their defaults, cuts, escapes and postal-code rules, the product
// query's union over the period, the summarized type's products sold in the
// period, the tax table, and the abort found at the first test of each list
// with the closing tail's levels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "support/export_harness.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::DefaultRequest;
using testing::RunExport;
using testing::TestDatabase;

using Lines = std::vector<std::string>;

// The lines from the first line whose trimmed text is open_line to the next
// whose trimmed text is close_line, both included, indentation kept; empty
// when open_line is missing.
Lines Section(const Lines& lines, std::string_view open_line, std::string_view close_line,
              std::size_t from = 0) {
  Lines block;
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (block.empty() && TrimBlanks(lines[i]) != open_line) continue;
    block.push_back(lines[i]);
    if (block.size() > 1 && TrimBlanks(lines[i]) == close_line) break;
  }
  return block;
}

// Every element that opens with open_line, in file order.
std::vector<Lines> Elements(const Lines& lines, std::string_view open_line, std::string_view close_line) {
  std::vector<Lines> elements;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (TrimBlanks(lines[i]) == open_line) elements.push_back(Section(lines, open_line, close_line, i));
  }
  return elements;
}

const Lines kFinalConsumer = {
    "    <Customer>",
    "      <CustomerID>1</CustomerID>",
    "      <AccountID>Desconhecido</AccountID>",
    "      <CustomerTaxID>999999990</CustomerTaxID>",
    "      <CompanyName>Consumidor final</CompanyName>",
    "      <BillingAddress>",
    "      <AddressDetail>Desconhecido</AddressDetail>",
    "      <City>Desconhecido</City>",
    "      <PostalCode>0000-000</PostalCode>",
    "      <Country>PT</Country>",
    "      </BillingAddress>",
    "      <SelfBillingIndicator>0</SelfBillingIndicator>",
    "    </Customer>",
};

const Lines kAnonymousSupplier = {
    "    <Supplier>",
    "      <SupplierID>0</SupplierID>",
    "      <AccountID>Desconhecido</AccountID>",
    "      <SupplierTaxID>999999990</SupplierTaxID>",
    "      <CompanyName>Fornecedor Desconhecido</CompanyName>",
    "      <BillingAddress>",
    "      <AddressDetail>Desconhecido</AddressDetail>",
    "      <City>Desconhecido</City>",
    "      <PostalCode>0000-000</PostalCode>",
    "      <Country>PT</Country>",
    "      </BillingAddress>",
    "      <SelfBillingIndicator>0</SelfBillingIndicator>",
    "    </Supplier>",
};

const Lines kMinimumConsumption = {
    "    <Product>",
    "      <ProductType>P</ProductType>",
    "      <ProductCode>0</ProductCode>",
    "      <ProductGroup>0</ProductGroup>",
    "      <ProductDescription>Consumo Minimo</ProductDescription>",
    "      <ProductNumberCode>0</ProductNumberCode>",
    "    </Product>",
};

// The lines of one customer or supplier record at levels 2 to 4.
Lines PartyRecord(const std::string& kind, const std::string& id, const std::string& tax_id,
                  const std::string& name, const std::string& address, const std::string& city,
                  const std::string& postal_code) {
  return {"    <" + kind + ">",
          "      <" + kind + "ID>" + id + "</" + kind + "ID>",
          "      <AccountID>Desconhecido</AccountID>",
          "      <" + kind + "TaxID>" + tax_id + "</" + kind + "TaxID>",
          "      <CompanyName>" + name + "</CompanyName>",
          "      <BillingAddress>",
          "        <AddressDetail>" + address + "</AddressDetail>",
          "        <City>" + city + "</City>",
          "        <PostalCode>" + postal_code + "</PostalCode>",
          "        <Country>PT</Country>",
          "      </BillingAddress>",
          "      <SelfBillingIndicator>0</SelfBillingIndicator>",
          "    </" + kind + ">"};
}

Lines ProductRecord(const std::string& code, const std::string& group, const std::string& description) {
  return {"    <Product>",
          "      <ProductType>P</ProductType>",
          "      <ProductCode>" + code + "</ProductCode>",
          "      <ProductGroup>" + group + "</ProductGroup>",
          "      <ProductDescription>" + description + "</ProductDescription>",
          "      <ProductNumberCode>" + code + "</ProductNumberCode>",
          "    </Product>"};
}

Lines Joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(MasterFiles, FixedElementsOnAnEmptyDatabase) {
  TestDatabase db;
  // The final consumer's and the anonymous supplier's own codes are never
  // written as records; neither are customer code 0 nor products 0 and -999.
  db.Exec(
      "INSERT INTO clientes (codigo, nome) VALUES (0, 'Zero'), (1, 'Consumidor');"
      "INSERT INTO fornecedores (codigo, nome) VALUES (0, 'Anónimo'), (-3, 'Negativo');"
      "INSERT INTO produtos (codigo, descricao, familia) VALUES (0, 'Zero', 1), (-999, 'Retenção', 1);");
  db.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, data) VALUES ('TK', 1, 0, 'Zero', ?), "
          "('TK', 1, -999, 'Retenção', ?)",
          {testing::StoredDate(2016, 1, 10), testing::StoredDate(2016, 1, 10)});

  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const Lines expected = Joined({{"  <MasterFiles>"},
                                 kFinalConsumer,
                                 kAnonymousSupplier,
                                 kMinimumConsumption,
                                 {"    <TaxTable>", "    </TaxTable>", "  </MasterFiles>"}});
  EXPECT_EQ(Section(result.lines(), "<MasterFiles>", "</MasterFiles>"), expected);
}

TEST(MasterFiles, CustomerRecordsTakeTheirDefaultsCutsAndEscapes) {
  TestDatabase db;
  const std::string name_50_ampersand = std::string(49, 'N') + "&";
  const std::string address_70 = std::string(60, 'R') + "0123456789";
  db.Exec(
      "INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) VALUES"
      " (2, 'Ana', ' 123 456 789 ', 'Rua A', 'Lisboa', '1000', '123'),"
      " (3, '   ', NULL, '', NULL, '100', '0123'),"
      " (4, ?, 'A&B 1', ?, 'Porto', '10a0', '12'),"
      " (5, 'João \"Zé\" d''Ávila <SA>', '   ', NULL, '  ', '-001', ' 12'),"
      " (6, 'Łódź Café', '  5000', 'Av. Ç', '  Évora ', NULL, NULL),"
      " (9, NULL, '999999990', 'Rua', 'Faro', ' 400', 'abc'),"
      " (10, 'Longo', '1 2 3 4 5 6 7 8 9 0 1 2', 'Rua', 'Faro', '9999', '999')",
      {name_50_ampersand, address_70});

  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const auto customers = Elements(result.lines(), "<Customer>", "</Customer>");
  ASSERT_EQ(customers.size(), 8u);
  EXPECT_EQ(customers[0], kFinalConsumer);
  const std::vector<Lines> expected = {
      PartyRecord("Customer", "2", "123456789", "Ana", "Rua A", "Lisboa", "1000-123"),
      PartyRecord("Customer", "3", "Desconhecido", "Consumidor final", "Desconhecido", "?", "0000-000"),
      // Escaped first, blank removed after; the cut name ends in "&amp;".
      PartyRecord("Customer", "4", "A&amp;B1", std::string(49, 'N') + "&amp;", std::string(60, 'R'), "Porto",
                  "0000-000"),
      PartyRecord("Customer", "5", "Desconhecido", "João &quot;Zé&quot; d&apos;Ávila &lt;SA&gt;",
                  "Desconhecido", "?", "0000- 12"),
      // The file holds the best-fit form of what Windows-1252 lacks.
      PartyRecord("Customer", "6", "5000", "Lódz Café", "Av. Ç", "Évora", "0000-000"),
      PartyRecord("Customer", "9", "999999990", "Consumidor final", "Rua", "Faro", " 400-000"),
      // Cut to 20 characters before the blanks go.
      PartyRecord("Customer", "10", "1234567890", "Longo", "Rua", "Faro", "9999-999"),
  };
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(customers[i + 1], expected[i]) << i;

  // Accents reach the file as Windows-1252 bytes.
  EXPECT_NE(result.bytes.find("<CompanyName>L\xF3" "dz Caf\xE9</CompanyName>"), std::string::npos);
  EXPECT_NE(result.bytes.find("<CompanyName>Jo\xE3o &quot;Z\xE9&quot;"), std::string::npos);
}

TEST(MasterFiles, SupplierRecordsDifferFromCustomers) {
  TestDatabase db;
  const std::string town_60 = std::string(55, 'T') + " & Co";
  db.Exec(
      "INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) VALUES"
      " (1, 'Bebidas Lda', ' 123 456 789', 'Zona Industrial', 'Vila Nova & Lagos', '4000', '321'),"
      " (2, '  ', NULL, NULL, '', '400', '32'),"
      " (3, NULL, '   ', '  ', '   ', '40000', '3210'),"
      " (4, 'Tab', ?, 'Rua', ?, 'ABCD', '000'),"
      " (5, 'Amp', 'A&B 1', 'Rua', 'Braga', '$FFF', '-01')",
      {std::string("\t123"), town_60});

  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const auto suppliers = Elements(result.lines(), "<Supplier>", "</Supplier>");
  ASSERT_EQ(suppliers.size(), 6u);
  EXPECT_EQ(suppliers[0], kAnonymousSupplier);
  const std::vector<Lines> expected = {
      PartyRecord("Supplier", "1", "123456789", "Bebidas Lda", "Zona Industrial", "Vila Nova &amp; Lagos",
                  "4000-321"),
      PartyRecord("Supplier", "2", "999999990", "Nao definido", "Desconhecido", "Desconhecido", "0000-000"),
      PartyRecord("Supplier", "3", "999999990", "Nao definido", "Desconhecido", "Desconhecido", "0000-000"),
      // Only U+0020 blanks are removed: the tab stays. The town is not cut.
      PartyRecord("Supplier", "4", "\t123", "Tab", "Rua", std::string(55, 'T') + " &amp; Co", "0000-000"),
      PartyRecord("Supplier", "5", "A&amp;B1", "Amp", "Rua", "Braga", "$FFF-000"),
  };
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(suppliers[i + 1], expected[i]) << i;
}

// Products in the table and sales around the period's edges.
void FillProductsAndSales(TestDatabase& db) {
  db.Exec(
      "INSERT INTO produtos (codigo, descricao, familia) VALUES"
      " (5, 'Bife & batatas', 2), (6, 'Só na tabela', 3), (7, 'Família nula', NULL),"
      " (8, 'Vendido tarde', 4), (0, 'Zero', 1), (-999, 'Retenção', 1), (14, '  Sem grupo ', NULL),"
      " (16, NULL, 5)");
  const auto sale = [&](int code, const char* description, const std::string& stamp) {
    db.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, data) VALUES ('TK', 1, ?, ?, ?)",
            {code, description, stamp});
  };
  using testing::StoredDate;
  sale(5, "Bife com outro nome", StoredDate(2016, 1, 5, 12, 30));  // the table's description wins
  sale(9, "Só vendido", StoredDate(2016, 1, 20, 9));                // deleted from the table
  sale(7, "Família nula", StoredDate(2016, 1, 20));                 // group 0 here, NULL in the table
  sale(16, "Descrição da venda", StoredDate(2016, 1, 20));          // NULL description in the table
  sale(0, "Zero", StoredDate(2016, 1, 20));
  sale(-999, "Retenção", StoredDate(2016, 1, 20));
  sale(-4, "Negativo", StoredDate(2016, 1, 20));
  sale(8, "Vendido tarde", StoredDate(2016, 1, 31, 0, 0, 1));  // after 00:00 on the last day
  sale(10, "Fora: tarde", StoredDate(2016, 1, 31, 10));
  sale(11, "Último dia", StoredDate(2016, 1, 31));
  sale(12, "Fora: antes", StoredDate(2015, 12, 31, 23, 59, 59));
  sale(13, "Primeiro dia", StoredDate(2016, 1, 1));
  sale(15, "Fora: depois", StoredDate(2016, 2, 1));
}

// The request of the product tests: a time of day on the operator's dates is
// dropped from the bounds.
ExportRequest ProductsRequest(SaftType saft_type) {
  auto request = DefaultRequest();
  request.saftType = saft_type;
  request.datai = DateTime(DateTime::FromDate(2016, 1, 1).days() + 0.75);
  request.dataf = DateTime(DateTime::FromDate(2016, 1, 31).days() + 0.5);
  return request;
}

TEST(MasterFiles, ProductsAreTheSoldAndTheListedOnesOfThePeriod) {
  TestDatabase db;
  FillProductsAndSales(db);
  const auto result = RunExport(db, ProductsRequest(SaftType::Normal));
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const auto products = Elements(result.lines(), "<Product>", "</Product>");
  const std::vector<Lines> expected = {
      kMinimumConsumption,
      ProductRecord("5", "2", "Bife &amp; batatas"),
      ProductRecord("6", "3", "Só na tabela"),
      // The union gives two rows (family 0 and NULL); the code is written once.
      ProductRecord("7", "0", "Família nula"),
      ProductRecord("8", "4", "Vendido tarde"),
      ProductRecord("9", "0", "Só vendido"),
      ProductRecord("11", "0", "Último dia"),
      ProductRecord("13", "0", "Primeiro dia"),
      ProductRecord("14", "", "  Sem grupo "),
      ProductRecord("16", "5", "Descrição da venda"),
  };
  EXPECT_EQ(products, expected);

  // The query itself still yields both rows of codes 7 and 16.
  PosQuery q_prod(db.database(), kQ_prod);
  q_prod.BindDateTime("datai", DateTime::FromDate(2016, 1, 1));
  q_prod.BindDateTime("dataf", DateTime::FromDate(2016, 1, 31));
  q_prod.Open();
  int rows_of_7 = 0;
  int rows_of_16 = 0;
  for (; !q_prod.Eof(); q_prod.Next()) {
    rows_of_7 += q_prod.AsInteger("codigo") == 7;
    rows_of_16 += q_prod.AsInteger("codigo") == 16;
  }
  EXPECT_EQ(rows_of_7, 2);
  EXPECT_EQ(rows_of_16, 2);
}

TEST(MasterFiles, SummarizedTypeListsOnlyTheProductsThePeriodSold) {
  TestDatabase db;
  FillProductsAndSales(db);
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");
  const auto result = RunExport(db, ProductsRequest(SaftType::Resumido));
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  // Each written as the Normal type writes it; nothing only in the table
  // (6, 14), nor sold after 00:00 on the last day (8), nor outside the period.
  const std::vector<Lines> expected = {
      kMinimumConsumption,
      ProductRecord("5", "2", "Bife &amp; batatas"),
      ProductRecord("7", "0", "Família nula"),
      ProductRecord("9", "0", "Só vendido"),
      ProductRecord("11", "0", "Último dia"),
      ProductRecord("13", "0", "Primeiro dia"),
      ProductRecord("16", "5", "Descrição da venda"),
  };
  EXPECT_EQ(Elements(result.lines(), "<Product>", "</Product>"), expected);
  // After the suppliers, under the same stage text, before the tax table.
  const auto stages = result.observer.statuses();
  const auto products_stage = std::find(stages.begin(), stages.end(), "Exportação da lista de produtos");
  ASSERT_NE(products_stage, stages.end());
  EXPECT_EQ(*(products_stage - 1), "Exportação da lista de fornecedores");
  EXPECT_EQ(*(products_stage + 1), "Exportação das taxas de iva");
  const Lines lines = result.lines();
  const auto supplier_end = std::find(lines.begin(), lines.end(), "    </Supplier>");
  ASSERT_NE(supplier_end, lines.end());
  EXPECT_EQ(*(supplier_end + 1), "    <Product>");
}

TEST(MasterFiles, TaxTableEntriesByRegion) {
  TestDatabase db;
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Taxa normal'), (0, 'Isento'), (13, 'Intermédia'),"
          " (6, 'Reduzida')");
  const struct {
    int region;
    const char* line;  // the region line of every entry, or none
  } cases[] = {{0, "<TaxCountryRegion>PT</TaxCountryRegion>"},
               {1, "<TaxCountryRegion>PT-MA</TaxCountryRegion>"},
               {2, "<TaxCountryRegion>PT-AC</TaxCountryRegion>"},
               {-1, nullptr}};
  for (const auto& c : cases) {
    auto request = DefaultRequest();
    request.company.taxCountryRegion = TaxRegionOfNumber(c.region);
    const auto result = RunExport(db, request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed) << c.region;
    Lines expected = {"    <TaxTable>"};
    const struct {
      const char* rate;
      const char* code;
    } entries[] = {{"0", "ISE"}, {"6", "RED"}, {"13", "INT"}, {"23", "NOR"}};
    for (const auto& entry : entries) {
      expected.push_back("      <TaxTableEntry>");
      expected.push_back("        <TaxType>IVA</TaxType>");
      if (c.line != nullptr) expected.push_back(std::string("        ") + c.line);
      expected.push_back(std::string("        <TaxCode>") + entry.code + "</TaxCode>");
      expected.push_back(std::string("        <Description>") + entry.rate + "%</Description>");
      expected.push_back(std::string("        <TaxPercentage>") + entry.rate + "</TaxPercentage>");
      expected.push_back("      </TaxTableEntry>");
    }
    expected.push_back("    </TaxTable>");
    expected.push_back("  </MasterFiles>");
    EXPECT_EQ(Section(result.lines(), "<TaxTable>", "</MasterFiles>"), expected) << c.region;
  }
}

TEST(MasterFiles, AbortFoundAtTheFirstTestOfEachList) {
  TestDatabase db;
  db.Exec(
      "INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) VALUES"
      " (2, 'Ana', '123456789', 'Rua A', 'Lisboa', '1000', '123');"
      "INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) VALUES"
      " (1, 'Bebidas', '123456789', 'Rua B', 'Porto', '4000', '321');"
      "INSERT INTO produtos (codigo, descricao, familia) VALUES (5, 'Bife', 2);"
      "INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");
  const Lines customer = PartyRecord("Customer", "2", "123456789", "Ana", "Rua A", "Lisboa", "1000-123");
  const Lines supplier = PartyRecord("Supplier", "1", "123456789", "Bebidas", "Rua B", "Porto", "4000-321");
  const Lines product = ProductRecord("5", "2", "Bife");
  const Lines tail = {"  </SourceDocuments>", "</AuditFile>"};
  const struct {
    const char* stage;
    Lines master_files;  // from "<MasterFiles>" to the end of the file
  } cases[] = {
      {"Exportação da lista de clientes", Joined({{"  <MasterFiles>"}, kFinalConsumer, tail})},
      {"Exportação da lista de fornecedores",
       Joined({{"  <MasterFiles>"}, kFinalConsumer, customer, kAnonymousSupplier, tail})},
      {"Exportação da lista de produtos",
       Joined({{"  <MasterFiles>"}, kFinalConsumer, customer, kAnonymousSupplier, supplier, kMinimumConsumption,
               tail})},
      // The TaxTable stays open: the tail steps out from level 3.
      {"Exportação das taxas de iva",
       Joined({{"  <MasterFiles>"}, kFinalConsumer, customer, kAnonymousSupplier, supplier, kMinimumConsumption,
               product, {"    <TaxTable>", "    </SourceDocuments>", "  </AuditFile>"}})},
  };
  for (const auto& c : cases) {
    const auto result = RunExport(db, DefaultRequest(),
                                  [&](testing::RecordingObserver& observer) { observer.abort_on_status = c.stage; });
    EXPECT_EQ(result.outcome, RunOutcome::Aborted) << c.stage;
    const Lines lines = result.lines();
    const auto start = std::find(lines.begin(), lines.end(), "  <MasterFiles>");
    ASSERT_NE(start, lines.end()) << c.stage;
    EXPECT_EQ(Lines(start, lines.end()), c.master_files) << c.stage;
    const auto stages = result.observer.statuses();
    ASSERT_GE(stages.size(), 2u);
    EXPECT_EQ(stages[stages.size() - 2], c.stage);
    EXPECT_EQ(stages.back(), "Operação abortada!");
  }
}

}  // namespace
}  // namespace varnel
