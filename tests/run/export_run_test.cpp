// The export run over a real database: the four checks, the Header and the
// frame, the closing tail on every ending, abort and failure.
#include "run/export_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/value_routines.h"
#include "support/export_harness.h"
#include "support/platform_facts.h"

namespace varnel {
namespace {

using testing::DefaultRequest;
using testing::ExportResult;
using testing::RunExport;
using testing::TestDatabase;

bool Called(const ExportResult& result, const std::string& call) {
  const auto& calls = result.observer.calls;
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

TEST(ExportRunChecks, BlankOutputPathStopsBeforeAnything) {
  TestDatabase db;
  for (const char* path : {"", "   "}) {
    ExportRequest request = DefaultRequest();
    request.ficheiro = path;
    PosDatabase fresh;
    const ExportResult result = testing::RunExportWith(fresh, db.folder(), request);
    EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
    EXPECT_EQ(result.observer.calls, std::vector<std::string>{"showError: Falta definir o ficheiro a exportar!"});
    EXPECT_FALSE(fresh.IsConnected());
  }
}

TEST(ExportRunChecks, MissingDataLinkFileIsReportedAfterThePathIsCorrected) {
  TestDatabase db;
  std::filesystem::remove(db.data_link_file());
  ExportRequest request = DefaultRequest();
  request.ficheiro = "saft\\export.txt";
  PosDatabase fresh;
  const ExportResult result = testing::RunExportWith(fresh, db.folder(), request);
  EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
  EXPECT_EQ(result.observer.calls,
            (std::vector<std::string>{
                "showOutputPath: saft\\export.xml",
                "showError: Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!"}));
}

TEST(ExportRunChecks, DataLinkFileIsFoundIgnoringLetterCase) {
  TestDatabase db;
  std::filesystem::rename(db.data_link_file(), db.folder() / "KORVEL.udl");
  PosDatabase fresh;
  const ExportResult result = testing::RunExportWith(fresh, db.folder(), DefaultRequest());
  EXPECT_EQ(result.outcome, RunOutcome::Completed);
}

TEST(ExportRunChecks, ConnectionFailureHidesTheDriversText) {
  TestDatabase db;
  testing::WriteFileBytes(db.data_link_file(),
                          testing::DataLinkFileBytes("Provider=SQLite;Data Source=missing-folder\\none.db"));
  PosDatabase fresh;
  const ExportResult result = testing::RunExportWith(fresh, db.folder(), DefaultRequest());
  EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
  EXPECT_EQ(result.observer.calls.back(),
            "showError: Falha na ligação à base de dados, verifique a ligação de rede ou o ficheiro \"Korvel.udl\"");
  EXPECT_FALSE(std::filesystem::exists(db.folder() / "out.xml"));
}

TEST(ExportRunChecks, InvalidTaxpayerNumberStopsBeforeMaintenanceAndFile) {
  TestDatabase db;
  db.Exec("INSERT INTO documentos (doc, numero, data, cliente, contribuinte) VALUES ('FA', 1, '2016-01-05 00:00:00', 0, '123456789')");
  ExportRequest request = DefaultRequest();
  request.company.companyID = "123456780";
  const ExportResult result = RunExport(db, request);
  EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
  EXPECT_EQ(result.observer.calls,
            (std::vector<std::string>{"showOutputPath: out.xml", "showError: Número de contribuinte inválido"}));
  EXPECT_EQ(db.QueryInteger("SELECT COUNT(*) FROM clientes"), 0);
  EXPECT_FALSE(std::filesystem::exists(db.folder() / "out.xml"));
}

TEST(ExportRunHeader, WritesTheOpeningLinesAndTheHeader) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2011)");
  ExportRequest request = DefaultRequest();
  request.company.companyID = " 123456789 ";
  request.company.companyName = "Bar O'Neill & Filhos";
  request.company.addressDetail = "  ";
  request.company.buildingNumber = "12 & 14";
  request.company.postalCode1 = " 4000 ";
  request.company.postalCode2 = "";
  request.company.city = "Vila Nova <Gaia>";
  request.company.estabelecimento = "Esplanada";
  request.datai = DateTime(DateTime::FromDate(2015, 12, 1).days() + 0.5);
  request.dataf = DateTime::FromDate(2016, 1, 31);
  const ExportResult result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n"
      "<!--Exported by Varnel: Versão 6.5.1 Korvel-->\n"
      "<AuditFile xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.03_01\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"urn:OECD:StandardAuditFile-Tax:PT_1.03_01 SAF-T-PT.XSD\">\n"
      "  <Header>\n"
      "    <AuditFileVersion>1.03_01</AuditFileVersion>\n"
      "    <CompanyID> 123456789 </CompanyID>\n"
      "    <TaxRegistrationNumber> 123456789 </TaxRegistrationNumber>\n"
      "    <TaxAccountingBasis>F</TaxAccountingBasis>\n"
      "    <CompanyName>Bar O&apos;Neill &amp; Filhos</CompanyName>\n"
      "    <CompanyAddress>\n"
      "      <BuildingNumber>12 &amp; 14</BuildingNumber>\n"
      "      <StreetName>Rua do Teste</StreetName>\n"
      "      <AddressDetail>?</AddressDetail>\n"
      "      <City>Vila Nova &lt;Gaia&gt;</City>\n"
      "      <PostalCode>4000-000</PostalCode>\n"
      "      <Country>PT</Country>\n"
      "    </CompanyAddress>\n"
      "    <FiscalYear>2015</FiscalYear>\n"
      "    <StartDate>2015-12-01</StartDate>\n"
      "    <EndDate>2016-01-31</EndDate>\n"
      "    <CurrencyCode>EUR</CurrencyCode>\n"
      "    <DateCreated>" + DateText(DateTime::Today()) + "</DateCreated>\n"
      "    <TaxEntity>Esplanada</TaxEntity>\n"
      "    <ProductCompanyTaxID>500000000</ProductCompanyTaxID>\n"
      "    <SoftwareCertificateNumber>3917</SoftwareCertificateNumber>\n"
      "    <ProductID>KORVEL/Velmora</ProductID>\n"
      "    <ProductVersion>2011</ProductVersion>\n"
      "  </Header>\n";
  std::string head;
  for (const auto& line : result.lines()) {
    head += line + "\n";
    if (line == "  </Header>") break;
  }
  EXPECT_EQ(head, expected);
  EXPECT_EQ(result.bytes.substr(0, 5), "<?xml");  // no byte-order mark
}

TEST(ExportRunHeader, ProductVersionFromVersao) {
  const struct {
    const char* rows;
    const char* line;
  } cases[] = {
      {"", "<ProductVersion>1</ProductVersion>"},
      {"INSERT INTO versao VALUES (NULL)", "<ProductVersion>0</ProductVersion>"},
      {"INSERT INTO versao VALUES (2010)", "<ProductVersion>2010</ProductVersion>"},
      {"INSERT INTO versao VALUES (2011); INSERT INTO versao VALUES (2009)", "<ProductVersion>2011</ProductVersion>"},
  };
  for (const auto& c : cases) {
    TestDatabase db;
    if (*c.rows) db.Exec(c.rows);
    const ExportResult result = RunExport(db);
    EXPECT_TRUE(result.HasLine(c.line)) << c.line;
  }
}

TEST(ExportRunHeader, EstablishmentNameCases) {
  const struct {
    const char* typed;
    const char* line;
  } cases[] = {
      {"", "<TaxEntity>Global</TaxEntity>"},
      {"12345678901234567890", "<TaxEntity>12345678901234567890</TaxEntity>"},
      {"   ", "<TaxEntity>   </TaxEntity>"},
      {"Café & Bar", "<TaxEntity>Café &amp; Bar</TaxEntity>"},
  };
  TestDatabase db;
  for (const auto& c : cases) {
    ExportRequest request = DefaultRequest();
    request.company.estabelecimento = c.typed;
    const ExportResult result = RunExport(db, request);
    const auto lines = result.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string("    ") + c.line), lines.end()) << c.line;
  }
}

TEST(ExportRunFrame, CompleteRunEndsWithTheTailAndFinalStatus) {
  TestDatabase db;
  const ExportResult result = RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  const auto lines = result.lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 2], "  </SourceDocuments>");
  EXPECT_EQ(lines.back(), "</AuditFile>");
  EXPECT_EQ(result.bytes.substr(result.bytes.size() - 2), "\r\n");
  EXPECT_TRUE(result.HasLine("<MasterFiles>"));
  EXPECT_TRUE(result.HasLine("</MasterFiles>"));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  <MasterFiles>"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  <SourceDocuments>"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "    <SalesInvoices>"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "    </SalesInvoices>"), lines.end());
  EXPECT_EQ(result.observer.export_status(), "Exportados 0 de 0 registos. Exportação efectuada");
  // The file is read back and verified; its outcome is the last status. A
  // database without VAT rates gives an empty TaxTable, which the schema
  // refuses: the verifier says so.
  const auto errors = result.observer.verification_errors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Element 'TaxTable': Missing child element(s)"), std::string::npos) << errors[0];
  EXPECT_EQ(result.observer.status, "Ficheiro verificado: 1 erro");
  EXPECT_EQ(result.observer.progress_maximum, 0);
  EXPECT_EQ(result.observer.calls.back(), "showData");
  EXPECT_FALSE(result.observer.processing);

  // The stage texts come in the run's order, the settings saved after the checks.
  const auto statuses = result.observer.statuses();
  const std::vector<std::string> stages = {
      "A salvar a configuração", "Criação do ficheiro de saida", "Exportação da lista de clientes",
      "Exportação da lista de fornecedores", "Exportação da lista de produtos", "Exportação das taxas de iva",
      "Abertura de tabelas de vendas"};
  auto at = statuses.begin();
  for (const auto& stage : stages) {
    at = std::find(at, statuses.end(), stage);
    EXPECT_NE(at, statuses.end()) << stage;
  }
  const auto& calls = result.observer.calls;
  const auto persist = std::find(calls.begin(), calls.end(), "persistSettings");
  const auto processing = std::find(calls.begin(), calls.end(), "showProcessing");
  EXPECT_LT(processing, persist);
}

TEST(ExportRunFrame, SummarizedTypeListsTheMinimumConsumptionProduct) {
  TestDatabase db;
  ExportRequest request = DefaultRequest();
  request.saftType = SaftType::Resumido;
  const ExportResult result = RunExport(db, request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_TRUE(Called(result, "setStatus: Exportação da lista de produtos"));
  EXPECT_TRUE(result.HasLine("<ProductCode>0</ProductCode>"));
}

TEST(ExportRunAbort, AtTheSuppliersStageTheTailFollowsTheLastList) {
  TestDatabase db;
  const ExportResult result = RunExport(db, DefaultRequest(), [](testing::RecordingObserver& observer) {
    observer.abort_on_status = "Exportação da lista de fornecedores";
  });
  EXPECT_EQ(result.outcome, RunOutcome::Aborted);
  const auto lines = result.lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "  </SourceDocuments>");
  EXPECT_EQ(lines.back(), "</AuditFile>");
  EXPECT_FALSE(result.HasLine("</MasterFiles>"));
  EXPECT_FALSE(result.HasLine("<SourceDocuments>"));
  EXPECT_EQ(result.observer.status, "Operação abortada!");
  EXPECT_EQ(result.observer.calls.back(), "showData");
  EXPECT_TRUE(Called(result, "progressHide"));
}

TEST(ExportRunAbort, ASecondRunAfterAnAbortedOneStartsAfresh) {
  TestDatabase db;
  PosDatabase& connection = db.database();
  ExportRun run(connection);
  testing::RecordingObserver first;
  first.run = &run;
  first.abort_on_status = "Exportação da lista de clientes";
  {
    testing::WorkingDirectory in_folder(db.folder());
    EXPECT_EQ(run.execute(DefaultRequest(), first), RunOutcome::Aborted);
  }
  const ExportResult second = RunExport(db);
  EXPECT_EQ(second.outcome, RunOutcome::Completed);
  const auto lines = second.lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  <Header>"), lines.end());
  EXPECT_EQ(second.observer.export_status(), "Exportados 0 de 0 registos. Exportação efectuada");
}

TEST(ExportRunFailure, ADatabaseErrorKeepsTheLinesWrittenAndShowsItsText) {
  TestDatabase db;
  db.Exec("DROP TABLE versao");
  const ExportResult result = RunExport(db);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  const auto lines = result.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "    <ProductID>KORVEL/Velmora</ProductID>");
  const auto& calls = result.observer.calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 3], "progressHide");
  EXPECT_EQ(calls[calls.size() - 2], "showData");
  EXPECT_NE(calls.back().find("showApplicationError: "), std::string::npos);
  EXPECT_NE(calls.back().find("versao"), std::string::npos) << calls.back();
  EXPECT_NE(calls.back().find("q_versao"), std::string::npos) << calls.back();
  EXPECT_FALSE(result.observer.processing);
  EXPECT_EQ(result.observer.status, "Criação do ficheiro de saida");  // keeps its last text
}

TEST(ExportRunFailure, AnUncreatableFileIsAnErrorOfTheRun) {
  TestDatabase db;
  ExportRequest request = DefaultRequest();
  request.ficheiro = "no-such-folder/out";
  const ExportResult result = RunExport(db, request);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  // The message shows the path with the platform's separator.
  const std::string shown = testing::kOnWindows ? "no-such-folder\\out.xml" : "no-such-folder/out.xml";
  EXPECT_EQ(result.observer.calls.back(),
            "showApplicationError: Cannot create file \"" + shown + "\". No such file or directory.");
}

}  // namespace
}  // namespace varnel
