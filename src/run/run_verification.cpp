// The run's last stage: a completed export's file is read back from disk by
// the verifier, compared with the database it came from, and the findings go
// to the front end. Progress moves the bar a step every 50 documents checked,
// as the export did, and "Abortar" stops the check (the file stays as
// written; the outcome says it was not verified).
#include <exception>
#include <string>

#include "base/file_names.h"
#include "base/value_routines.h"
#include "run/database_reconciliation.h"
#include "run/export_run.h"
#include "run/previous_signatures.h"
#include "verify/signature_verification.h"

namespace varnel {

namespace {

class RunVerificationProgress : public VerificationProgress {
 public:
  RunVerificationProgress(ExportObserver& observer, const bool& abort, int document_count)
      : m_observer(observer), m_abort(abort), m_document_count(document_count) {}

  void documentsChecked(int count) override {
    while (count - m_stepped >= ExportRun::kDocumentsPerStep) {
      m_observer.progressStep();
      m_stepped += ExportRun::kDocumentsPerStep;
    }
    // A count already shown is not shown again: while a pass beside the
    // verifier's own still runs, it is told the same count to keep the
    // window answering, and the status lines must not depend on that timing.
    if (count != m_shown) {
      m_observer.setStatus("Verificados " + IntText(count) + " de " + IntText(m_document_count) + " documentos...");
      m_shown = count;
    }
    m_observer.processPendingEvents();
  }
  bool aborted() override { return m_abort; }

 private:
  ExportObserver& m_observer;
  const bool& m_abort;
  int m_document_count;
  int m_stepped = 0;
  int m_shown = -1;
};

std::string OutcomeText(const VerificationReport& report) {
  if (!report.completed) return "Ficheiro não verificado: verificação abortada";
  if (report.errors() == 0 && report.warnings() == 0) return "Ficheiro verificado: sem erros";
  std::string text = "Ficheiro verificado: ";
  text += report.errors() == 0 ? std::string("sem erros") : CountText(report.errors(), "erro", "erros");
  if (report.warnings() > 0) text += ", " + CountText(report.warnings(), "aviso", "avisos");
  return text;
}

}  // namespace

// The keys read by the checks, and the Hash of each series' document before
// the period from the database, so the first documents are verified too. A
// database that fails here leaves them to the rule of a file verified alone.
verify::SignatureChainSetup ExportRun::signatureSetup() {
  verify::SignatureChainSetup setup;
  setup.keys = &m_signature_keys;
  if (m_signature_keys.empty()) return setup;
  try {
    setup.previous = PreviousSignatures(m_database, m_request, m_generation);
    setup.previous_from_database = m_generation == SchemaGeneration::Current;
  } catch (const std::exception&) {
    setup.previous.clear();
  }
  return setup;
}

void ExportRun::verifyFile(const std::string& output_path) {
  showStage("Verificação do ficheiro");
  m_observer->progressStart(m_document_count / ExportRun::kDocumentsPerStep);
  RunVerificationProgress progress(*m_observer, m_abort, m_document_count);
  VerificationOptions options;
  // Both types list the products their lines name (the Resumido type those
  // the period sold), so a file of either type is expected with its product
  // list.
  options.summarized_type_expected = false;
  // "Abortar" pressed as the stage began stops the check before it reads.
  VerificationReport report;
  if (!m_abort) report = VerifyAuditFileAndSignatures(PathFromTyped(output_path), options, signatureSetup(), &progress);
  if (report.completed) {
    try {
      showStage("Comparação com a base de dados");
      for (Finding& finding :
           ReconcileWithDatabase(m_database, m_request, m_generation, report.summary, PathFromTyped(output_path))) {
        report.findings.push_back(std::move(finding));
      }
    } catch (const std::exception& error) {
      // The export is complete and its file checked; a database that fails
      // now leaves only the comparison undone, and says so.
      report.findings.push_back({FindingSeverity::Error, "Base de dados", "",
                                 "Não foi possível comparar o ficheiro com a base de dados: " +
                                     std::string(error.what())});
    }
  }
  m_observer->progressHide();
  m_observer->showVerification(report);
  m_observer->setStatus(OutcomeText(report));
  m_verification = std::move(report);
}

}  // namespace varnel
