// The export run: checks, maintenance, the sections in the schema's order,
// progress and abort, and the one closing tail every ending goes through.
// Sections leave by throwing AbortExit; any other exception is a failure that
// closes what is open, keeps the lines written so far and shows its text.
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
#include "sourcedocs/source_documents.h"

namespace varnel {

namespace {

constexpr int kDocumentsPerStep = 50;

}  // namespace

ExportRun::ExportRun(PosDatabase& database) : m_database(database) {}

ExportRun::~ExportRun() { closeAllQueries(); }

XmlLineWriter& ExportRun::writer() { return *m_writer; }

RunOutcome ExportRun::execute(const ExportRequest& request, ExportObserver& observer) {
  m_request = request;
  m_observer = &observer;
  m_writer.reset();
  m_document_count = 0;
  m_exported_count = 0;
  m_batch_counter = 0;
  m_generation = SchemaGeneration::Legacy;

  std::string output_path;
  if (!passChecks(output_path)) return RunOutcome::CheckFailed;
  try {
    RunPreExportMaintenance(m_database);
    m_abort = false;
    observer.showProcessing();
    showStage("A salvar a configuração");
    observer.persistSettings();
    showStage("Criação do ficheiro de saida");
    m_writer = std::make_unique<XmlLineWriter>(PathFromTyped(output_path).string());
    try {
      writeAuditFile();
    } catch (const AbortExit&) {
      // Straight to the closing tail, wherever the run stood.
    }
    closingTail();
    return m_abort ? RunOutcome::Aborted : RunOutcome::Completed;
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
  if (!IsValidNif(m_request.companyID)) {
    m_observer->showError("Número de contribuinte inválido");
    return false;
  }
  return true;
}

void ExportRun::writeAuditFile() {
  m_generation = WriteHeader(*this);
  writeMasterFiles();
  countDocuments();
  writeSourceDocuments();
}

void ExportRun::writeMasterFiles() {
  XmlLineWriter& out = writer();
  showStage("Exportação da lista de clientes");
  out.WriteLine("<MasterFiles>");
  out.Indent();
  WriteCustomers(*this);
  if (aborted()) abortExit();

  showStage("Exportação da lista de fornecedores");
  WriteSuppliers(*this);
  if (aborted()) abortExit();

  if (m_request.saftType == 0) {
    showStage("Exportação da lista de produtos");
    WriteProducts(*this);
    if (aborted()) abortExit();
  }

  showStage("Exportação das taxas de iva");
  WriteTaxTable(*this);
  if (aborted()) abortExit();
  out.Outdent();
  out.WriteLine("</MasterFiles>");
}

void ExportRun::countDocuments() {
  const int sales = sales_invoices::countDocuments(*this);
  const int consultations = working_documents::countDocuments(*this);
  const int receipts = payments::countDocuments(*this);
  m_document_count = sales + consultations + receipts;
  m_exported_count = 0;
  m_batch_counter = 0;
  m_observer->progressStart(m_document_count / kDocumentsPerStep);
}

void ExportRun::writeSourceDocuments() {
  XmlLineWriter& out = writer();
  out.WriteLine("<SourceDocuments>");
  out.Indent();
  out.WriteLine("<SalesInvoices>");
  out.Indent();
  showStage("Abertura de tabelas de vendas");
  sales_invoices::Write(*this);
  working_documents::Write(*this);
  payments::Write(*this);
}

void ExportRun::closingTail() {
  closeAllQueries();
  XmlLineWriter& out = writer();
  out.Outdent();
  out.WriteLine("</SourceDocuments>");
  out.Outdent();
  out.WriteLine("</AuditFile>");
  out.Close();
  m_writer.reset();
  m_observer->progressHide();
  if (m_abort) {
    m_observer->setStatus("Operação abortada!");
  } else {
    const std::string count = IntText(m_document_count);
    m_observer->setStatus("Exportados " + count + " de " + count + " registos. Exportação efectuada");
  }
  m_observer->showData();
}

void ExportRun::failRun(const std::string& message) noexcept {
  closeAllQueries();
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

void ExportRun::closeAllQueries() noexcept {
  for (auto& entry : m_queries) {
    try {
      entry.second->Close();
    } catch (...) {
      // Closing releases client-side state; there is nothing to recover.
    }
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

void ExportRun::abortExit() { throw AbortExit{}; }

PosQuery& ExportRun::query(std::string_view name) {
  auto found = m_queries.find(name);
  if (found == m_queries.end()) {
    found = m_queries.emplace(std::string(name), std::make_unique<PosQuery>(m_database, std::string(name))).first;
  }
  return *found->second;
}

}  // namespace varnel
