// What every ending of a run must leave behind, checked from outside: the
// window back on its data panel, the error's own text shown, no statement
// holding the database, the audit file closed, and a file whose elements
// nest properly up to the point where the run stopped. Also a wrapper around
// the real back end that numbers every statement run, lets a test act at a
// chosen one (break the link, press "Abortar", drop a table) and tracks which
// statements still hold an open cursor.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "posdb/pos_database.h"
#include "support/export_harness.h"
#include "support/recording_observer.h"

namespace varnel::testing::reliability {

// The text of the last showApplicationError call; "" when there was none.
std::string LastApplicationError(const RecordingObserver& observer);

// "" when the window ended on its data panel: no processing panel showing,
// and showData is the last panel call whenever showProcessing was made.
// Otherwise what is wrong.
std::string DataPanelProblem(const RecordingObserver& observer);

// Number of lines whose text, trimmed, equals line.
int CountLines(const ExportResult& result, std::string_view line);
// The values of every <tag>value</tag> line, in order.
std::vector<std::string> ElementValues(const ExportResult& result, std::string_view tag);

// Whether this process still has a file descriptor open on path.
bool FileIsOpen(const std::filesystem::path& path);

// Whether another connection can take the database file's exclusive lock at
// once, which it cannot while any statement of the run still reads it.
bool DatabaseIsIdle(const std::filesystem::path& database_file);

// The nesting of an audit file written one element per line. Every closing
// tag must close the element last opened; open_elements lists what is still
// open at the end (outermost first). problem is "" when the nesting is sound.
struct Nesting {
  std::vector<std::string> open_elements;
  std::string problem;
};
Nesting CheckNesting(const std::vector<std::string>& lines);

// "" when an aborted run's file ends as the closing tail leaves it: its body
// nests soundly, "</SourceDocuments>" and "</AuditFile>" follow, each one
// indentation step further out than the line before it (never below the
// first column). Otherwise what is wrong.
std::string AbortedFileProblem(const ExportResult& result);

// What was still open when the run made its last calls: showData, and on a
// failure the error box after it. The run object still lives then, and a
// modal error box would keep anything left open held for as long as it
// shows. RunChecked fills problems with what it found ("" problems: none).
struct StatementProbe;
struct EndingCheck {
  explicit EndingCheck(const StatementProbe* statements = nullptr) : probe(statements) {}
  const StatementProbe* probe;            // statements, when the connection is probed
  std::filesystem::path database_file;    // the file whose lock is tried; empty: not tried
  std::vector<std::string> problems;
};

// One whole export like RunExportWith, with the ending checked. With
// read_back false the file is not read (a file that is /dev/full reads as
// endless zeros).
ExportResult RunChecked(PosDatabase& connection, const std::filesystem::path& folder,
                        const ExportRequest& request, EndingCheck& check,
                        const std::function<void(RecordingObserver&)>& prepare = {}, bool read_back = true);

// A connection wrapped around another (the real back end by default). Every
// statement run (an Open, an Execute, a counting pass) is numbered from 0;
// before_run may act on it and may throw, as a failing driver would.
struct StatementProbe {
  int runs = 0;
  std::vector<std::string> queries_run;        // query name of every run, in order
  std::map<std::string, int> active;           // statements run and not finished, by query
  std::function<void(int run, const std::string& query_name)> before_run;

  int active_count() const;
  std::string active_names() const;
};
PosDatabase::ConnectionFactory ProbedFactory(StatementProbe& probe,
                                             PosDatabase::ConnectionFactory inner = {});

}  // namespace varnel::testing::reliability
