// The signature chain through the real run: the demo month signed with the
// demo key exports with every signature verified, the first document of each
// series against the database's document before the period; the same file
// checked on its own gets one note per series instead; an edited file is
// caught, and nothing of the chain is said once "Abortar" stopped the
// verification; and a key file that cannot be read stops the run before anything
// is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "base/file_names.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"
#include "verify/signature_keys.h"
#include "verify/signature_verification.h"

namespace varnel {
namespace {

std::string Describe(const std::vector<Finding>& findings, FindingSeverity severity) {
  std::string text;
  for (const Finding& f : findings) {
    if (f.severity == severity) text += "[" + f.section + "] " + f.document + ": " + f.message + "\n";
  }
  return text;
}

int Count(const std::vector<Finding>& findings, const std::string& start) {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [&](const Finding& f) { return f.message.rfind(start, 0) == 0; }));
}

TEST(SignatureExport, TheSecondHalfOfTheMonthVerifiesFromTheDatabase) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2016, 1, 1}), demo::DayNumber({2016, 1, 31})};
  options.documents = 1200;
  options.seed = 2016;
  demo::WriteDemoWorkingDirectory(dir.path(), options);

  ExportRequest request = testing::DefaultRequest();
  request.fserienum = SeriesIndex(1);
  request.datai = DateTime::FromDate(2016, 1, 16);
  request.publicKeys = {{1, Utf8FromPath(dir / demo::kDemoPublicKeyName)}};
  PosDatabase connection;
  const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
  ASSERT_EQ(result.outcome, RunOutcome::Completed) << result.observer.calls.back();
  ASSERT_TRUE(result.observer.verification);
  const std::vector<Finding>& exported = result.observer.verification->findings;
  EXPECT_EQ(Describe(exported, FindingSeverity::Error), "");
  EXPECT_EQ(Count(exported, "Primeiro documento da série"), 0) << Describe(exported, FindingSeverity::Note);
  EXPECT_EQ(Count(exported, "Assinaturas"), 0) << Describe(exported, FindingSeverity::Note);

  // On its own, the file cannot show what came before its series' first
  // documents: a note for each of the five series it signs (FA, FS, FT, NC, CM).
  SignatureKeys keys = SignatureKeys::Load(request.publicKeys);
  verify::SignatureChainSetup alone;
  alone.keys = &keys;
  const VerificationReport report = VerifyAuditFileAndSignatures(dir / "out.xml", VerificationOptions{}, alone);
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(Describe(report.findings, FindingSeverity::Error), "");
  EXPECT_EQ(Count(report.findings, "Primeiro documento da série"), 5) << Describe(report.findings, FindingSeverity::Note);

  // One amount edited in the file (of the series' second document, as the
  // first is not checked here): that document, named.
  std::ifstream in(dir / "out.xml", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t invoice = bytes.find("<InvoiceNo>FT A/", bytes.find("<InvoiceNo>FT A/") + 1);
  const std::size_t gross = bytes.find("<GrossTotal>", invoice) + 12;
  bytes.insert(gross, "1");
  std::ofstream(dir / "edited.xml", std::ios::binary) << bytes;
  const std::string number = bytes.substr(invoice + 11, bytes.find('<', invoice + 11) - invoice - 11);
  const VerificationReport edited = VerifyAuditFileAndSignatures(dir / "edited.xml", VerificationOptions{}, alone);
  const auto named = std::find_if(edited.findings.begin(), edited.findings.end(), [&](const Finding& f) {
    return f.message.rfind("Assinatura não confere", 0) == 0;
  });
  ASSERT_NE(named, edited.findings.end()) << Describe(edited.findings, FindingSeverity::Error);
  EXPECT_EQ(named->document, number);

  // "Abortar" at the first progress report: the chain's thread stops with the
  // verifier's pass, and what it had not said is not said.
  struct AbortAtOnce : VerificationProgress {
    void documentsChecked(int) override {}
    bool aborted() override { return true; }
  } abort;
  const VerificationReport stopped =
      VerifyAuditFileAndSignatures(dir / "edited.xml", VerificationOptions{}, alone, &abort);
  EXPECT_FALSE(stopped.completed);
  EXPECT_EQ(Count(stopped.findings, "Assinatura"), 0) << Describe(stopped.findings, FindingSeverity::Error);
  EXPECT_EQ(Count(stopped.findings, "Verificação interrompida ao fim de 50 documentos"), 1);
}

TEST(SignatureExport, AKeyFileThatCannotBeReadStopsTheRunBeforeAnythingIsWritten) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2016, 1, 1}), demo::DayNumber({2016, 1, 31})};
  options.documents = 20;
  demo::WriteDemoWorkingDirectory(dir.path(), options);
  testing::WriteFileBytes(dir / "lixo.pem", "-----BEGIN PUBLIC KEY-----\nnada\n-----END PUBLIC KEY-----\n");
  for (const char* file : {"falta.pem", "lixo.pem"}) {
    ExportRequest request = testing::DefaultRequest();
    request.publicKeys = {{1, demo::kDemoPublicKeyName}, {2, file}};
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    EXPECT_EQ(result.outcome, RunOutcome::CheckFailed);
    const std::string expected = "showError: O ficheiro da chave pública \"" + std::string(file) + "\" (versão 2) n";
    EXPECT_TRUE(std::any_of(result.observer.calls.begin(), result.observer.calls.end(),
                            [&](const std::string& call) { return call.rfind(expected, 0) == 0; }))
        << file;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.xml"));
  }
}

}  // namespace
}  // namespace varnel
