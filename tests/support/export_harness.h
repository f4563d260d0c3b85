// Runs whole exports over a test database: the real ExportRun in the
// database's folder (where its Korvel.UDL lies), a RecordingObserver, and the
// audit file read back both as written and as UTF-8 text for matching.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "section/export_request.h"
#include "run/export_run.h"
#include "support/recording_observer.h"
#include "support/test_database.h"

namespace varnel::testing {

// A valid company, the period 2016-01-01..2016-01-31, the Normal type,
// region Continente, no series, output "out.xml" in the working directory.
ExportRequest DefaultRequest();

struct ExportResult {
  RunOutcome outcome = RunOutcome::Failed;
  std::string bytes;  // the audit file as written (Windows-1252); empty when none
  std::string text;   // the same, as UTF-8
  RecordingObserver observer;

  std::vector<std::string> lines() const;
  // From the first line whose trimmed text is open_line to the next line
  // whose trimmed text is close_line, both included, each line with its
  // indentation and a "\n" after it; "" when not found.
  std::string Block(std::string_view open_line, std::string_view close_line) const;
  // Whether some line, trimmed, equals line.
  bool HasLine(std::string_view line) const;
};

// Changes the working directory for the object's life.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& directory);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path m_previous;
};

// One whole export in the database's folder; prepare may set up the observer
// (abort_on_status, on_pending_events) before the run starts.
ExportResult RunExport(TestDatabase& database, const ExportRequest& request = DefaultRequest(),
                       const std::function<void(RecordingObserver&)>& prepare = {});

// The same with a PosDatabase of the caller's (a fresh or wrapped one).
ExportResult RunExportWith(PosDatabase& connection, const std::filesystem::path& folder,
                           const ExportRequest& request = DefaultRequest(),
                           const std::function<void(RecordingObserver&)>& prepare = {});

// xmllint --noout on the file (and --schema with the SAF-T schema when
// schema is true); returns xmllint's messages, empty when it accepts it.
std::string XmlLintErrors(const std::filesystem::path& file, bool schema);
// The same against the schema at schema (relative to the source tree, as
// "third_party/reference/saftpt1.04_01-2022-05-17-libxml.xsd").
std::string XmlLintErrorsAgainst(const std::filesystem::path& file, const std::string& schema);

}  // namespace varnel::testing
