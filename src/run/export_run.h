// One export run: from the operator's request to the closed audit file. The
// run checks the request, connects, repairs the database, writes the Header,
// MasterFiles and SourceDocuments in the schema's order, reports progress and
// honours "Abortar", and ends every path through the same closing tail.
//
// States of a run (the window's panels in brackets):
//   1. checks        [data panel]  blank path, data link file, connection,
//                                  taxpayer number; a failed check shows "Erro"
//                                  and ends the run with nothing written
//   2. maintenance   [data panel]  customer repair and schema upgrade
//   3. writing       [processing]  Header, MasterFiles, SourceDocuments
//   4. closing tail  [processing]  queries closed, closing lines, file closed,
//                                  progress hidden, final status
//   5. ended         [data panel]
// The abort exit jumps from anywhere in 3 to 4. Any error in 2 to 4 closes
// what is open, keeps the lines written so far and shows the error's text
// captioned "Varnel v6".
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "run/export_observer.h"
#include "section/export_request.h"
#include "section/schema_generation.h"

namespace varnel {

class PosDatabase;
class PosQuery;
class XmlLineWriter;

// Thrown by the sections to leave the run by the abort exit; the run catches
// it and goes straight to the closing tail.
struct AbortExit {};

enum class RunOutcome { Completed, CheckFailed, Failed, Aborted };

class ExportRun {
 public:
  // The connection outlives the run: the front end keeps it between runs and
  // each run connects again (nothing happens when it is still open).
  explicit ExportRun(PosDatabase& database);
  ~ExportRun();
  ExportRun(const ExportRun&) = delete;
  ExportRun& operator=(const ExportRun&) = delete;

  // Runs one export to its end. Never throws: the outcome shows through the
  // observer (status line, error boxes) and in the file; the result tells a
  // headless front end how the run ended.
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer);

  // Sets the abort flag; called by the front end from processPendingEvents.
  void requestAbort() { m_abort = true; }
  bool aborted() const { return m_abort; }

  // setStatus(text), then processPendingEvents.
  void showStage(std::string_view text);
  // "Exportados <exported> de <count> registos...", then processPendingEvents.
  void reportProgress();
  // One more document written; every 50th moves the progress bar.
  void documentDone();
  // Leaves the run by the abort exit (throws AbortExit).
  [[noreturn]] void abortExit();

  // What the sections read and write through the run.
  const ExportRequest& request() const { return m_request; }
  PosDatabase& database() { return m_database; }
  XmlLineWriter& writer();
  SchemaGeneration generation() const { return m_generation; }
  // The period's first and last day without their time of day.
  DateTime periodStart() const { return m_request.datai.DatePart(); }
  DateTime periodEnd() const { return m_request.dataf.DatePart(); }

  // The query object of this name, created on first use and kept for the
  // whole run so its statement is prepared once and re-run per document. The
  // closing tail closes every query still open, on every ending.
  PosQuery& query(std::string_view name);

  int documentCount() const { return m_document_count; }
  int exportedCount() const { return m_exported_count; }

 private:
  bool passChecks(std::string& output_path);
  void writeAuditFile();
  void writeMasterFiles();
  void countDocuments();
  void writeSourceDocuments();
  void closingTail();
  void closeAllQueries() noexcept;
  void failRun(const std::string& message) noexcept;

  PosDatabase& m_database;
  ExportRequest m_request;
  ExportObserver* m_observer = nullptr;
  std::unique_ptr<XmlLineWriter> m_writer;
  std::map<std::string, std::unique_ptr<PosQuery>, std::less<>> m_queries;
  SchemaGeneration m_generation = SchemaGeneration::Legacy;
  bool m_abort = false;
  int m_document_count = 0;
  int m_exported_count = 0;
  int m_batch_counter = 0;
};

}  // namespace varnel
