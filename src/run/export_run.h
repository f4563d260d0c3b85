// One export run: from the operator's request to the closed audit file. The
// run checks the request, connects, repairs the database, writes the Header,
// MasterFiles and SourceDocuments in the schema's order, reports progress and
// honours "Abortar", and ends every path through the same closing tail.
//
// States of a run (the window's panels in brackets):
//   1. checks        [data panel]  blank path, final date not before the
//                                  initial one, the producer's key files,
//                                  data link file, connection, taxpayer
//                                  number; a failed check shows "Erro" and
//                                  ends the run with nothing written
//   2. maintenance   [data panel]  customer repair (its progress in the status
//                                  line, every batch) and schema upgrade
//   3. writing       [processing]  Header, MasterFiles, SourceDocuments
//   4. closing tail  [processing]  queries closed, closing lines, file closed,
//                                  progress hidden, final status
//   5. verification  [processing]  a completed export's file read back and
//                                  checked, its signatures verified against
//                                  the database's previous documents, compared
//                                  with the database; the findings shown, the
//                                  outcome's status
//   6. ended         [data panel]
// The abort exit jumps from anywhere in 3 to 4; "Abortar" in 5 stops the
// verification (the file stays, the outcome says it was not verified). Any error in 2 to 4 closes
// what is open, keeps the lines written so far and shows the error's text
// captioned "Varnel v6".
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "run/export_observer.h"
#include "section/export_request.h"
#include "section/schema_generation.h"
#include "section/section_context.h"
#include "verify/signature_chain.h"
#include "verify/signature_keys.h"

namespace varnel {

class PosDatabase;
class XmlLineWriter;
class SalesInvoicesSection;
class WorkingDocumentsSection;
class PaymentsSection;

enum class RunOutcome { Completed, CheckFailed, Failed, Aborted };

// The run is the context every section writes through; the sections own
// their queries, which close when the sections go, before the closing tail.
class ExportRun : public SectionContext {
 public:
  // The progress bar moves one step per this many documents, written or
  // checked.
  static constexpr int kDocumentsPerStep = 50;

  // The connection outlives the run: the front end keeps it between runs and
  // each run connects again (nothing happens when it is still open).
  explicit ExportRun(PosDatabase& database);
  ~ExportRun() override;
  ExportRun(const ExportRun&) = delete;
  ExportRun& operator=(const ExportRun&) = delete;

  // Runs one export to its end. Never throws: the outcome shows through the
  // observer (status line, error boxes) and in the file; the result tells a
  // headless front end how the run ended.
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer);

  // Sets the abort flag; called by the front end from processPendingEvents.
  void requestAbort() { m_abort = true; }

  // The section context: setStatus(text), then processPendingEvents; the
  // progress text; one more document written (every 50th moves the bar).
  void showStage(std::string_view text) override;
  void reportProgress() override;
  void documentDone() override;
  bool aborted() const override { return m_abort; }
  const ExportRequest& request() const override { return m_request; }
  SchemaGeneration generation() const override { return m_generation; }
  XmlLineWriter& writer() override;
  PosDatabase& database() override { return m_database; }

  // The last completed export's verification, when it ran.
  const std::optional<VerificationReport>& verification() const { return m_verification; }

  int documentCount() const { return m_document_count; }
  int exportedCount() const { return m_exported_count; }

 private:
  bool passChecks(std::string& output_path);
  void writeAuditFile();
  void writeSections();
  void countDocuments(SalesInvoicesSection& sales, WorkingDocumentsSection& consultations,
                      PaymentsSection& receipts);
  void closingTail(const std::string& output_path);
  void verifyFile(const std::string& output_path);
  verify::SignatureChainSetup signatureSetup();
  void failRun(const std::string& message) noexcept;

  PosDatabase& m_database;
  ExportRequest m_request;
  ExportObserver* m_observer = nullptr;
  std::unique_ptr<XmlLineWriter> m_writer;
  SchemaGeneration m_generation = SchemaGeneration::Legacy;
  bool m_abort = false;
  int m_document_count = 0;
  int m_exported_count = 0;
  int m_batch_counter = 0;
  std::optional<VerificationReport> m_verification;
  SignatureKeys m_signature_keys;  // read by the checks, used by the verification
};

}  // namespace varnel
