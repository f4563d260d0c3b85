// varnel-export end to end: the real program in a working directory with a
// real database, its exit codes, its lines on standard error and SIGINT.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/file_names.h"
#include "support/child_process.h"
#include "support/test_database.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::ChildProcess;
using testing::Finished;
using testing::TestDatabase;

// varnel-export with arguments in directory, standard error read through a
// pipe.
class Exporter : public ChildProcess {
 public:
  Exporter(const std::filesystem::path& directory, const std::vector<std::string>& arguments)
      : ChildProcess(testing::ProgramPath("src/cli/varnel-export"), directory, arguments) {}
};

Finished RunExporter(const std::filesystem::path& directory, const std::vector<std::string>& arguments) {
  return Exporter(directory, arguments).Wait();
}

void WriteCompany(const std::filesystem::path& folder, const std::string& nif) {
  testing::WriteFileBytes(folder / "Varnel.ini",
                          "[Company Info]\r\nCompanyID=" + nif + "\r\nCompanyName=Restaurante Teste\r\n");
}

const std::vector<std::string> kPeriod = {"--from", "2016-01-01", "--to", "2016-01-31"};

std::vector<std::string> Args(std::vector<std::string> extra) {
  std::vector<std::string> all = kPeriod;
  all.insert(all.end(), extra.begin(), extra.end());
  return all;
}

TEST(VarnelExport, UsageErrorsExitWithTwo) {
  testing::TempDir dir;
  const Finished none = RunExporter(dir.path(), {});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_NE(none.error_output.find("--output is required"), std::string::npos);
  EXPECT_NE(none.error_output.find("Usage: varnel-export"), std::string::npos);
  EXPECT_EQ(RunExporter(dir.path(), {"--output", "x", "--type", "full"}).exit_code, 2);
  EXPECT_EQ(RunExporter(dir.path(), {"--output", "x", "--workdir", "/no/such/dir"}).exit_code, 2);
  EXPECT_EQ(RunExporter(dir.path(), {"--help"}).exit_code, 0);
}

TEST(VarnelExport, AFailedCheckIsOneErroLineAndExitOne) {
  testing::TempDir dir;
  const Finished missing = RunExporter(dir.path(), Args({"--output", "out.txt"}));
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.error_output.find(
                "Erro: Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!\n"),
            std::string::npos)
      << missing.error_output;

  TestDatabase db;
  WriteCompany(db.folder(), "123456780");
  const Finished invalid = RunExporter(db.folder(), Args({"--output", "out"}));
  EXPECT_EQ(invalid.exit_code, 1);
  EXPECT_NE(invalid.error_output.find("Erro: Número de contribuinte inválido\n"), std::string::npos);
}

TEST(VarnelExport, AFinalDateBeforeTheInitialOneIsACheckThatWritesNothing) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  const std::string settings = testing::ReadFileBytes(db.folder() / "Varnel.ini");
  const Finished reversed =
      RunExporter(db.folder(), {"--output", "out.xml", "--from", "2016-02-01", "--to", "2016-01-31"});
  EXPECT_EQ(reversed.exit_code, 1);
  EXPECT_NE(reversed.error_output.find("Erro: A data final é anterior à data inicial!\n"), std::string::npos)
      << reversed.error_output;
  EXPECT_EQ(reversed.error_output.find("Usage:"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(db.folder() / "out.xml"));
  EXPECT_EQ(testing::ReadFileBytes(db.folder() / "Varnel.ini"), settings);
}

TEST(VarnelExport, ACompleteExportPrintsItsStatusLinesAndExitsZero) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");
  const Finished done = RunExporter(db.folder(), Args({"--output", "saft.txt", "--type", "normal"}));
  EXPECT_EQ(done.exit_code, 0) << done.error_output;
  for (const char* line : {"A salvar a configuração\n", "Exportação da lista de produtos\n",
                           "Exportados 0 de 0 registos. Exportação efectuada\n", "Verificação do ficheiro\n",
                           "Verificação: 0 erros, 0 avisos", "Ficheiro verificado: sem erros\n"}) {
    EXPECT_NE(done.error_output.find(line), std::string::npos) << line;
  }
  const std::string file = testing::ReadFileBytes(db.folder() / "saft.xml");
  EXPECT_NE(file.find("<CompanyID>123456789</CompanyID>"), std::string::npos);
  EXPECT_NE(file.find("<CompanyName>Restaurante Teste</CompanyName>"), std::string::npos);
  EXPECT_NE(file.find("<StartDate>2016-01-01</StartDate>"), std::string::npos);
}

// A period a day short of the month's end exports as asked, with a warning.
TEST(VarnelExport, APeriodShortOfTheMonthsEndIsExportedWithAWarning) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");
  const Finished done =
      RunExporter(db.folder(), {"--output", "saft", "--from", "2016-01-01", "--to", "2016-01-30"});
  EXPECT_EQ(done.exit_code, 0) << done.error_output;
  EXPECT_EQ(done.error_output.rfind(
                "Aviso: A data final, 30/01/2016, deixa de fora o dia 31/01/2016, o último do mês.\n", 0),
            0u)
      << done.error_output;
  EXPECT_NE(testing::ReadFileBytes(db.folder() / "saft.xml").find("<EndDate>2016-01-30</EndDate>"),
            std::string::npos);
}

TEST(VarnelExport, TheVerifiersErrorsGiveExitThreeAndTheirReport) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  // No VAT rate: the file's TaxTable is empty, which the schema refuses.
  const Finished done = RunExporter(db.folder(), Args({"--output", "out", "--report", "report.json"}));
  EXPECT_EQ(done.exit_code, 3) << done.error_output;
  EXPECT_NE(done.error_output.find("Ficheiro verificado: 1 erro\n"), std::string::npos)
      << done.error_output;
  EXPECT_NE(done.error_output.find("ERRO Ficheiro: "), std::string::npos) << done.error_output;
  const std::string json = testing::ReadFileBytes(db.folder() / "report.json");
  EXPECT_NE(json.find("\"errors\": 1,"), std::string::npos) << json;
  EXPECT_NE(json.find("{\"severity\": \"error\", \"section\": \"Ficheiro\""), std::string::npos) << json;

  // The same file verified on its own, without exporting.
  const Finished verified = RunExporter(db.folder(), {"--verify", "out.xml"});
  EXPECT_EQ(verified.exit_code, 3) << verified.error_output;
  EXPECT_NE(verified.error_output.find("Verificação: 1 erro, 0 avisos"), std::string::npos) << verified.error_output;
  const Finished usage = RunExporter(db.folder(), {"--verify", "out.xml", "--output", "x"});
  EXPECT_EQ(usage.exit_code, 2);
}

// The monthly task's command line: files named by the month, and the exit
// status beside them on every ending, with the error a console would show.
TEST(VarnelExport, AScheduledRunNamesItsFilesByTheMonthAndWritesItsStatus) {
  const std::vector<std::string> scheduled = {"--output", "saida/SAFT-{YYYY-MM}.xml", "--report",
                                              "saida/SAFT-{YYYY-MM}-relatorio.json", "--status",
                                              "saida/SAFT-{YYYY-MM}-estado.txt"};
  TestDatabase db;
  std::filesystem::create_directory(db.folder() / "saida");
  WriteCompany(db.folder(), "123456789");
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");
  const Finished done = RunExporter(db.folder(), Args(scheduled));
  EXPECT_EQ(done.exit_code, 0) << done.error_output;
  EXPECT_NE(testing::ReadFileBytes(db.folder() / "saida/SAFT-2016-01.xml").find("</AuditFile>\r\n"), std::string::npos);
  EXPECT_NE(testing::ReadFileBytes(db.folder() / "saida/SAFT-2016-01-relatorio.json").find("\"errors\": 0,"),
            std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(db.folder() / "saida/SAFT-2016-01-estado.txt"), "0\r\nExportação completa.\r\n");

  WriteCompany(db.folder(), "123456780");  // a check that fails: nothing exported, the status says why
  const Finished refused = RunExporter(db.folder(), Args(scheduled));
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(testing::ReadFileBytes(db.folder() / "saida/SAFT-2016-01-estado.txt"),
            "1\r\nUma verificação falhou ou um erro terminou a exportação.\r\n"
            "Erro: Número de contribuinte inválido\r\n");

  // No working directory: exit 2, and still a status, where the run started.
  testing::TempDir elsewhere;
  const Finished lost =
      RunExporter(elsewhere.path(), {"--workdir", "/no/such/dir", "--output", "x", "--status", "estado.txt"});
  EXPECT_EQ(lost.exit_code, 2);
  EXPECT_EQ(testing::ReadFileBytes(elsewhere.path() / "estado.txt").substr(0, 3), "2\r\n");

  // A status that cannot be written turns a complete export into a failure.
  WriteCompany(db.folder(), "123456789");
  const Finished unwritten = RunExporter(db.folder(), Args({"--output", "x", "--status", "nao/existe.txt"}));
  EXPECT_EQ(unwritten.exit_code, 1) << unwritten.error_output;
  EXPECT_NE(unwritten.error_output.find("não foi possível escrever o estado de saída"), std::string::npos);
}

TEST(VarnelExport, AnErrorDuringTheRunIsOneVarnelLine) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  db.Exec("DROP TABLE versao");
  const Finished failed = RunExporter(db.folder(), Args({"--output", "out"}));
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_NE(failed.error_output.find("\nVarnel v6: "), std::string::npos) << failed.error_output;
}

TEST(VarnelExport, AnOutputNameWithAccentsAndTheEuroSignIsTheFileNameMade) {
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal')");  // a tax table the schema accepts
  const std::string name = "Mar\xC3\xA7o \xE2\x82\xAC";  // "Março €", UTF-8
  const Finished done = RunExporter(db.folder(), Args({"--output", name + ".txt"}));
  EXPECT_EQ(done.exit_code, 0) << done.error_output;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(db.folder())) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  EXPECT_NE(std::find(names.begin(), names.end(), name + ".xml"), names.end()) << ::testing::PrintToString(names);
  EXPECT_NE(done.error_output.find("Ficheiro: " + name + ".xml\n"), std::string::npos) << done.error_output;
  EXPECT_NE(testing::ReadFileBytes(db.folder() / PathFromUtf8(name + ".xml")).find("</AuditFile>\r\n"),
            std::string::npos);
}

TEST(VarnelExport, SigintAbortsAtTheNextPointOfInput) {
  if (!ChildProcess::CanInterrupt()) {
    GTEST_SKIP() << "Ctrl+C and Ctrl+Break reach only the processes of one console; a test process cannot send them "
                    "to a program it starts with pipes (checked by hand on a Windows console)";
  }
  TestDatabase db;
  WriteCompany(db.folder(), "123456789");
  // Hold the database so the exporter waits in its first read; the signal
  // arrives while it waits and takes effect at its first status text.
  db.Exec("BEGIN EXCLUSIVE; INSERT INTO versao VALUES (2011)");
  Exporter exporter(db.folder(), Args({"--output", "out"}));
  ASSERT_TRUE(exporter.WaitFor("out.xml"));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  exporter.Interrupt();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  db.Exec("COMMIT");
  const Finished aborted = exporter.Wait();
  EXPECT_EQ(aborted.exit_code, 130) << aborted.error_output;
  EXPECT_NE(aborted.error_output.find("Operação abortada!\n"), std::string::npos);
  const std::string file = testing::ReadFileBytes(db.folder() / "out.xml");
  EXPECT_NE(file.find("</AuditFile>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace varnel
