// The export run: checks, maintenance, the sections in the schema's order,
// progress and abort, and the one closing tail every ending goes through.
// Sections leave by throwing AbortExit; any other exception is a failure that
// closes what is open, keeps the lines written so far and shows its text.
// The sections live inside writeAuditFile, so their queries are closed on
// every ending before the closing lines and the final status.
#include "run/export_run.h"

#include <exception>
#include <filesystem>

#include "base/file_names.h"
#include "header/header_section.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/master_files.h"
#include "posdb/pos_database.h"
#include "posdb/pre_export_maintenance.h"
#include "section/section_context.h"
#include "sourcedocs/source_documents.h"

namespace varnel {

ExportRun::ExportRun(PosDatabase& database) : m_database(database) {}

ExportRun::~ExportRun() = default;

XmlLineWriter& ExportRun::writer() { return *m_writer; }

RunOutcome ExportRun::execute(const ExportRequest& request, ExportObserver& observer) {
  m_request = request;
  m_observer = &observer;
  m_writer.reset();
  m_document_count = 0;
  m_exported_count = 0;
  m_batch_counter = 0;
  m_generation = SchemaGeneration::Legacy;
  m_verification.reset();

  std::string output_path;
  if (!passChecks(output_path)) return RunOutcome::CheckFailed;
  try {
    RunPreExportMaintenance(m_database, [this](int repaired, int total) {
      showStage("Manutenção da base de dados: " + IntText(repaired) + " de " + IntText(total) + " documentos");
    });
    m_abort = false;
    observer.showProcessing();
    showStage("A salvar a configuração");
    observer.persistSettings();
    showStage("Criação do ficheiro de saida");
    m_writer = std::make_unique<XmlLineWriter>(PathFromTyped(output_path));
    writeAuditFile();
    // The export's own ending; "Abortar" during the verification that
    // follows stops only the verification.
    const RunOutcome outcome = m_abort ? RunOutcome::Aborted : RunOutcome::Completed;
    closingTail(output_path);
    return outcome;
  } catch (const std::exception& error) {
    failRun(error.what());
  } catch (const AbortExit&) {
    failRun("Export aborted outside a section");
  }
  return RunOutcome::Failed;
}

bool ExportRun::passChecks(std::string& output_path) {
  if (TrimBlanks(m_request.ficheiro).empty()) {
    m_observer->showError("Falta definir o ficheiro a exportar!");
    return false;
  }
  output_path = ForceXmlExtension(m_request.ficheiro);
  m_observer->showOutputPath(output_path);
  if (m_request.dataf < m_request.datai) {
    m_observer->showError("A data final é anterior à data inicial!");
    return false;
  }
  try {
    m_signature_keys = SignatureKeys::Load(m_request.publicKeys);
  } catch (const SignatureKeyError& error) {
    m_observer->showError(error.what());
    return false;
  }

  std::error_code ignored;
  const auto data_link = FindFileIgnoringCase(std::filesystem::current_path(ignored), "Korvel.udl");
  if (!data_link) {
    m_observer->showError("Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!");
    return false;
  }
  try {
    m_database.Connect(*data_link);
  } catch (const std::exception&) {
    // The operator gets the one message that points at the network or the
    // data link file; the driver's own text is not shown.
    m_observer->showError(
        "Falha na ligação à base de dados, verifique a ligação de rede ou o ficheiro \"Korvel.udl\"");
    return false;
  }
  if (!IsValidNif(m_request.company.companyID)) {
    m_observer->showError("Número de contribuinte inválido");
    return false;
  }
  return true;
}

// The AuditFile element: the prologue, the root's opening tag, the sections
// and the root's closing tag. An abort anywhere in the sections still ends
// with the closing tags; an error skips them.
void ExportRun::writeAuditFile() {
  XmlLineWriter& out = writer();
  WritePrologue(out, m_request);
  out.WriteRawLine(AuditFileOpening(RulesForVersion(m_request.saftVersion)));
  out.Indent();
  writeSections();
  out.Outdent();
  out.WriteLine("</" + std::string(kAuditFileTag) + ">");
}

// Header, MasterFiles and SourceDocuments. The abort exit, taken anywhere in
// them, lands here: the sections go (closing their queries) and
// "</SourceDocuments>" is written at the level one above where the writer
// stood, as the file's closing tail, whether or not SourceDocuments had been
// opened yet.
void ExportRun::writeSections() {
  XmlLineWriter& out = writer();
  try {
    m_generation = WriteHeader(*this);
    WriteMasterFiles(*this);

    SalesInvoicesSection sales(*this);
    WorkingDocumentsSection consultations(*this);
    PaymentsSection receipts(*this);
    countDocuments(sales, consultations, receipts);

    out.WriteLine("<SourceDocuments>");
    out.Indent();
    sales.Write(consultations);
    consultations.Write();
    receipts.Write();
  } catch (const AbortExit&) {
    // Straight to the closing lines, wherever the run stood.
  }
  out.Outdent();
  out.WriteLine("</SourceDocuments>");
}

void ExportRun::countDocuments(SalesInvoicesSection& sales, WorkingDocumentsSection& consultations,
                               PaymentsSection& receipts) {
  const int sales_count = sales.countDocuments();
  const int consultation_count = consultations.countDocuments();
  const int receipt_count = receipts.countDocuments();
  m_document_count = sales_count + consultation_count + receipt_count;
  m_exported_count = 0;
  m_batch_counter = 0;
  m_observer->progressStart(m_document_count / kDocumentsPerStep);
}

void ExportRun::closingTail(const std::string& output_path) {
  writer().Close();
  m_writer.reset();
  m_observer->progressHide();
  if (m_abort) {
    m_observer->setStatus("Operação abortada!");
  } else {
    const std::string count = IntText(m_document_count);
    m_observer->setStatus("Exportados " + count + " de " + count + " registos. Exportação efectuada");
    if (m_request.verify) verifyFile(output_path);
  }
  m_observer->showData();
}

void ExportRun::failRun(const std::string& message) noexcept {
  if (m_writer) {
    try {
      m_writer->Close();
    } catch (...) {
      // The error that ended the run is the one reported; the file keeps
      // whatever reached the disk.
    }
    m_writer.reset();
  }
  try {
    m_observer->progressHide();
    m_observer->showData();
    m_observer->showApplicationError(WithFullStop(message));
  } catch (...) {
    // A front end that fails while showing an error has nothing left to show.
  }
}

void ExportRun::showStage(std::string_view text) {
  m_observer->setStatus(std::string(text));
  m_observer->processPendingEvents();
}

void ExportRun::reportProgress() {
  m_observer->setStatus("Exportados " + IntText(m_exported_count) + " de " + IntText(m_document_count) +
                        " registos...");
  m_observer->processPendingEvents();
}

void ExportRun::documentDone() {
  if (++m_batch_counter < kDocumentsPerStep) return;
  m_batch_counter = 0;
  m_exported_count += kDocumentsPerStep;
  m_observer->progressStep();
  reportProgress();
}

}  // namespace varnel
