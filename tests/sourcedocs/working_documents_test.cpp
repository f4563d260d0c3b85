// The WorkingDocuments section through whole export runs: control totals and
// their filters, a consultation with every kind of line, the placeholder of a
// consultation without lines, the Legacy schema, and progress and abort across
// the document sections.
#include <gtest/gtest.h>

#include <algorithm>

#include "sourcedocs/section_blocks.h"

namespace varnel {
namespace {

using testing::Blocks;
using testing::DefaultRequest;
using testing::RunExport;
using testing::Tail;
using testing::StoredDate;
using testing::TestDatabase;

void AddConsultation(TestDatabase& db, int numero, const std::string& data, const std::string& datahora,
                     testing::SqlValue cliente, double total, testing::SqlValue anulado, const char* saftsign,
                     const char* hash, const char* hashcontrol, const char* emp, int pagamento = 0) {
  db.Exec(
      "INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, saftsign, hash, hashcontrol, "
      "emp, pagamento) VALUES ('CM', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {numero, data, datahora, cliente, total, anulado, saftsign, hash, hashcontrol, emp, pagamento});
}

void AddLine(TestDatabase& db, int numero, int codigo, const char* descricao, double qtd, double punit, int iva,
             double total, double desconto, testing::SqlValue isencao) {
  db.Exec(
      "INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, valor, desconto, isencao) "
      "VALUES ('CM', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {numero, codigo, descricao, qtd, punit, iva, total, total, desconto, isencao});
}

TEST(WorkingDocuments, EmptyPeriodWritesOnlyTheControlTotals) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(Tail(result, 7),
            "    <WorkingDocuments>\n"
            "      <NumberOfEntries>0</NumberOfEntries>\n"
            "      <TotalDebit>0</TotalDebit>\n"
            "      <TotalCredit>0</TotalCredit>\n"
            "    </WorkingDocuments>\n"
            "  </SourceDocuments>\n"
            "</AuditFile>\n");  // no receipt: no Payments element
}

class WorkingDocumentsExport : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Exec("INSERT INTO versao (major) VALUES (2011)");
    db.Exec("INSERT INTO unidades (codigo, descricao) VALUES (1, 'Unidade')");
    db.Exec("INSERT INTO produtos (codigo, descricao, unidade, isencao) VALUES (5, 'Bife', 1, NULL)");
    db.Exec("INSERT INTO produtos (codigo, descricao, unidade, isencao) VALUES (6, 'Agua', 1, 'M10')");
    db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M07', 'Isento & artigo 9')");
    db.Exec(
        "INSERT INTO motivos_isencao (codigo, norma) VALUES ('M10', "
        "'Artigo 53 do CIVA - regime especial de isencao para pequenos retalhistas')");

    // Total 12.345 against a net sum of 10.0365.
    AddConsultation(db, 15, StoredDate(2016, 1, 5), StoredDate(2016, 1, 5, 9, 7, 3), 7, 12.345, 0, "CM A/15", "abc",
                    "1", "Caixa<1>");
    AddLine(db, 15, 5, "Bife & batatas", 0, 12.30, 23, 12.30, 0, nullptr);
    AddLine(db, 15, 7, "Desconto", -1, 0.5, 0, -0.5, 0, "M07");
    AddLine(db, 15, 8, "Vinho", 3, 0.5888, 0, 1.7665, -0.125, "M07");
    AddLine(db, 15, -999, "Retencao", 1, -1.23, 0, -1.23, 0, "M07");
    AddLine(db, 15, 6, "Agua", 1, 0, 0, 0, 0, nullptr);
    // Annulled, no customer, no signed number, no lines.
    AddConsultation(db, 16, StoredDate(2016, 1, 6), StoredDate(2016, 1, 6, 10, 0, 0), 0, 5, 1, "", "", "0", "1");
    // Annulled with a line: listed, but out of the control totals.
    AddConsultation(db, 18, StoredDate(2016, 1, 8), StoredDate(2016, 1, 8, 12, 0, 0), nullptr, 50, 1, "", "", "",
                    "1");
    AddLine(db, 18, 5, "Bife", 1, 50, 0, 50, 0, nullptr);
    // Paid with pagamento 6: neither listed nor in the control totals.
    AddConsultation(db, 17, StoredDate(2016, 1, 7), StoredDate(2016, 1, 7), 0, 100, 0, "", "", "", "1", 6);
    AddLine(db, 17, 5, "Bife", 1, 100, 0, 100, 0, nullptr);
    AddLine(db, 17, 5, "Bife", 1, -100, 0, -100, 0, nullptr);
    // After the period.
    AddConsultation(db, 19, StoredDate(2016, 2, 1), StoredDate(2016, 2, 1), 0, 100, 0, "", "", "", "1");
    AddLine(db, 19, 5, "Bife", 1, 100, 0, 100, 0, nullptr);
  }
  TestDatabase db;
};

TEST_F(WorkingDocumentsExport, ControlTotalsAndDocuments) {
  ExportRequest request = DefaultRequest();
  request.company.taxCountryRegion = TaxRegion::Madeira;
  const auto result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(testing::XmlLintErrors(db.folder() / "out.xml", false), "");  // every database text escaped

  // Credit: 10 + 1.7665 + 0; debit: 0.5 and the withholding line's 1.23,
  // as the lines stand in the file; the annulled consultation stays out.
  const std::string section = result.Block("<WorkingDocuments>", "</WorkingDocuments>");
  EXPECT_EQ(section.substr(0, section.find("<WorkDocument>")),
            "    <WorkingDocuments>\n"
            "      <NumberOfEntries>3</NumberOfEntries>\n"
            "      <TotalDebit>1.73</TotalDebit>\n"
            "      <TotalCredit>11.7665</TotalCredit>\n"
            "      ");

  const auto documents = Blocks(result, "<WorkDocument>", "</WorkDocument>");
  ASSERT_EQ(documents.size(), 3u);
  EXPECT_EQ(documents[0],
            "      <WorkDocument>\n"
            "        <DocumentNumber>CM A/15</DocumentNumber>\n"
            "        <DocumentStatus>\n"
            "          <WorkStatus>N</WorkStatus>\n"
            "          <WorkStatusDate>2016-01-05T09:07:03</WorkStatusDate>\n"
            "          <SourceID>Caixa&lt;1&gt;</SourceID>\n"
            "          <SourceBilling>P</SourceBilling>\n"
            "        </DocumentStatus>\n"
            "        <Hash>abc</Hash>\n"
            "        <HashControl>1</HashControl>\n"
            "        <Period>1</Period>\n"
            "        <WorkDate>2016-01-05</WorkDate>\n"
            "        <WorkType>DC</WorkType>\n"
            "        <SourceID>Caixa&lt;1&gt;</SourceID>\n"
            "        <SystemEntryDate>2016-01-05T09:07:03</SystemEntryDate>\n"
            "        <CustomerID>7</CustomerID>\n"
            "        <Line>\n"
            "          <LineNumber>1</LineNumber>\n"
            "          <ProductCode>5</ProductCode>\n"
            "          <ProductDescription>Bife &amp; batatas</ProductDescription>\n"
            "          <Quantity>0</Quantity>\n"
            "          <UnitOfMeasure>Unidade</UnitOfMeasure>\n"
            "          <UnitPrice>10</UnitPrice>\n"
            "          <TaxPointDate>2016-01-05</TaxPointDate>\n"
            "          <Description>Bife &amp; batatas</Description>\n"
            "          <CreditAmount>10</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>NOR</TaxCode>\n"
            "            <TaxPercentage>23</TaxPercentage>\n"
            "          </Tax>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>2</LineNumber>\n"
            "          <ProductCode>7</ProductCode>\n"
            "          <ProductDescription>Desconto</ProductDescription>\n"
            "          <Quantity>1</Quantity>\n"
            "          <UnitOfMeasure>N/D</UnitOfMeasure>\n"
            "          <UnitPrice>0.5</UnitPrice>\n"
            "          <TaxPointDate>2016-01-05</TaxPointDate>\n"
            "          <Description>Desconto</Description>\n"
            "          <DebitAmount>0.5</DebitAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>ISE</TaxCode>\n"
            "            <TaxPercentage>0</TaxPercentage>\n"
            "          </Tax>\n"
            "          <TaxExemptionReason>Isento &amp; artigo 9</TaxExemptionReason>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>3</LineNumber>\n"
            "          <ProductCode>8</ProductCode>\n"
            "          <ProductDescription>Vinho</ProductDescription>\n"
            "          <Quantity>3</Quantity>\n"
            "          <UnitOfMeasure>N/D</UnitOfMeasure>\n"
            "          <UnitPrice>0.5888</UnitPrice>\n"
            "          <TaxPointDate>2016-01-05</TaxPointDate>\n"
            "          <Description>Vinho</Description>\n"
            "          <CreditAmount>1.7665</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>ISE</TaxCode>\n"
            "            <TaxPercentage>0</TaxPercentage>\n"
            "          </Tax>\n"
            "          <TaxExemptionReason>Isento &amp; artigo 9</TaxExemptionReason>\n"
            "          <SettlementAmount>0.13</SettlementAmount>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>4</LineNumber>\n"
            "          <ProductCode>-999</ProductCode>\n"
            "          <ProductDescription>Retencao</ProductDescription>\n"
            "          <Quantity>1</Quantity>\n"
            "          <UnitOfMeasure>N/D</UnitOfMeasure>\n"
            "          <UnitPrice>1.23</UnitPrice>\n"
            "          <TaxPointDate>2016-01-05</TaxPointDate>\n"
            "          <Description>Retencao</Description>\n"
            "          <DebitAmount>1.23</DebitAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>ISE</TaxCode>\n"
            "            <TaxPercentage>0</TaxPercentage>\n"
            "          </Tax>\n"
            "          <TaxExemptionReason>Isento &amp; artigo 9</TaxExemptionReason>\n"
            "        </Line>\n"
            "        <Line>\n"
            "          <LineNumber>5</LineNumber>\n"
            "          <ProductCode>6</ProductCode>\n"
            "          <ProductDescription>Agua</ProductDescription>\n"
            "          <Quantity>1</Quantity>\n"
            "          <UnitOfMeasure>Unidade</UnitOfMeasure>\n"
            "          <UnitPrice>0</UnitPrice>\n"
            "          <TaxPointDate>2016-01-05</TaxPointDate>\n"
            "          <Description>Agua</Description>\n"
            "          <CreditAmount>0</CreditAmount>\n"
            "          <Tax>\n"
            "            <TaxType>IVA</TaxType>\n"
            "            <TaxCountryRegion>PT-MA</TaxCountryRegion>\n"
            "            <TaxCode>ISE</TaxCode>\n"
            "            <TaxPercentage>0</TaxPercentage>\n"
            "          </Tax>\n"
            "          <TaxExemptionReason>Artigo 53 do CIVA - regime especial de isencao para pequenos</TaxExemptionReason>\n"
            "        </Line>\n"
            "        <DocumentTotals>\n"
            "          <TaxPayable>2.31</TaxPayable>\n"
            "          <NetTotal>10.0365</NetTotal>\n"
            "          <GrossTotal>12.35</GrossTotal>\n"
            "        </DocumentTotals>\n"
            "      </WorkDocument>\n");

  // No lines: the placeholder, CreditAmount and region PT whatever the
  // request's region; the stored (empty) hash with no series.
  EXPECT_EQ(documents[1],
            "      <WorkDocument>\n"
            "        <DocumentNumber>CM ?/16</DocumentNumber>\n"
            "        <DocumentStatus>\n"
            "          <WorkStatus>A</WorkStatus>\n"
            "          <WorkStatusDate>2016-01-06T10:00:00</WorkStatusDate>\n"
            "          <SourceID>1</SourceID>\n"
            "          <SourceBilling>P</SourceBilling>\n"
            "        </DocumentStatus>\n"
            "        <Hash>0</Hash>\n"
            "        <Period>1</Period>\n"
            "        <WorkDate>2016-01-06</WorkDate>\n"
            "        <WorkType>DC</WorkType>\n"
            "        <SourceID>1</SourceID>\n"
            "        <SystemEntryDate>2016-01-06T10:00:00</SystemEntryDate>\n"
            "        <CustomerID>1</CustomerID>\n"
            "        <Line>\n"
            "          <LineNumber>1</LineNumber>\n"
            "          <ProductCode>0</ProductCode>\n"
            "          <ProductDescription>?</ProductDescription>\n"
            "          <Quantity>1</Quantity>\n"
            "          <UnitOfMeasure>?</UnitOfMeasure>\n"
            "          <UnitPrice>0</UnitPrice>\n"
            "          <TaxPointDate>2016-01-06</TaxPointDate>\n"
            "          <Description>?</Description>\n"
            "          <CreditAmount>0</CreditAmount>\n"
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
            "      </WorkDocument>\n");

  // The annulled document with a line is written whole; a null customer is
  // the final consumer.
  EXPECT_NE(documents[2].find("<DocumentNumber>CM ?/18</DocumentNumber>"), std::string::npos);
  EXPECT_NE(documents[2].find("<WorkStatus>A</WorkStatus>"), std::string::npos);
  EXPECT_NE(documents[2].find("<CustomerID>1</CustomerID>"), std::string::npos);
  EXPECT_NE(documents[2].find("<GrossTotal>50</GrossTotal>"), std::string::npos);
}

TEST_F(WorkingDocumentsExport, SeriesLetterBuildsNumbersAndDropsUnsignedHashes) {
  ExportRequest request = DefaultRequest();
  request.fserienum = SeriesIndex(4);
  request.company.taxCountryRegion = TaxRegion::NothingChosen;
  const auto result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const auto documents = Blocks(result, "<WorkDocument>", "</WorkDocument>");
  ASSERT_EQ(documents.size(), 3u);
  EXPECT_NE(documents[0].find("<DocumentNumber>CM A/15</DocumentNumber>"), std::string::npos);
  EXPECT_NE(documents[0].find("<Hash>abc</Hash>"), std::string::npos);
  EXPECT_EQ(documents[0].find("<TaxCountryRegion>"), std::string::npos);  // no region chosen
  EXPECT_NE(documents[1].find("<DocumentNumber>CM D/16</DocumentNumber>\n"), std::string::npos);
  EXPECT_NE(documents[1].find("<TaxCountryRegion>PT</TaxCountryRegion>"), std::string::npos);  // placeholder
}

TEST(WorkingDocuments, LegacyDatabase) {
  // No versao row: the Legacy query, which supplies no signed number, no hash
  // and reads a null anulado as not annulled.
  TestDatabase db;
  AddConsultation(db, 20, StoredDate(2016, 1, 20), StoredDate(2016, 1, 20, 20, 0, 0), nullptr, 12.30, nullptr,
                  "CM A/20", "xyz", "1", "2");
  AddLine(db, 20, 5, "Bife", 1, 12.30, 23, 12.30, 0, nullptr);
  ExportRequest request = DefaultRequest();
  request.fserienum = SeriesIndex(2);
  const auto result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const std::string document = result.Block("<WorkDocument>", "</WorkDocument>");
  EXPECT_EQ(document.substr(0, document.find("<Line>")),
            "      <WorkDocument>\n"
            "        <DocumentNumber>CM B/20</DocumentNumber>\n"
            "        <DocumentStatus>\n"
            "          <WorkStatus>N</WorkStatus>\n"
            "          <WorkStatusDate>2016-01-20T20:00:00</WorkStatusDate>\n"
            "          <SourceID>2</SourceID>\n"
            "          <SourceBilling>P</SourceBilling>\n"
            "        </DocumentStatus>\n"
            "        <Hash>0</Hash>\n"
            "        <Period>1</Period>\n"
            "        <WorkDate>2016-01-20</WorkDate>\n"
            "        <WorkType>DC</WorkType>\n"
            "        <SourceID>2</SourceID>\n"
            "        <SystemEntryDate>2016-01-20T20:00:00</SystemEntryDate>\n"
            "        <CustomerID>1</CustomerID>\n"
            "        ");
  EXPECT_NE(document.find("<TaxPayable>2.3</TaxPayable>\n"), std::string::npos);
  EXPECT_NE(document.find("<NetTotal>10</NetTotal>\n"), std::string::npos);
  EXPECT_NE(document.find("<GrossTotal>12.3</GrossTotal>\n"), std::string::npos);
}

TEST(WorkingDocuments, NegativeDocumentKeepsItsSigns) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  AddConsultation(db, 30, StoredDate(2016, 1, 3), StoredDate(2016, 1, 3), 3, -12.30, 0, "", "", "", "1");
  AddLine(db, 30, 5, "Bife", 2, 6.15, 23, -12.30, 0, nullptr);
  const auto result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const std::string document = result.Block("<WorkDocument>", "</WorkDocument>");
  EXPECT_NE(document.find("<DebitAmount>10</DebitAmount>\n"), std::string::npos);
  EXPECT_NE(document.find("<UnitPrice>5</UnitPrice>\n"), std::string::npos);
  EXPECT_NE(document.find("          <TaxPayable>-2.3</TaxPayable>\n"
                          "          <NetTotal>-10</NetTotal>\n"
                          "          <GrossTotal>-12.3</GrossTotal>\n"),
            std::string::npos);
  EXPECT_NE(result.Block("<WorkingDocuments>", "</WorkingDocuments>").find("<TotalDebit>10</TotalDebit>\n"),
            std::string::npos);
}

}  // namespace
}  // namespace varnel
