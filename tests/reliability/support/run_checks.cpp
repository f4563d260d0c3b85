// Checks on the endings of a run, and the statement probe: whether the
// window is back on its data panel, the audit file closed, the database file
// free of any statement of the run, and the elements of a stopped file
// properly nested up to the closing tail.
#include "reliability/support/run_checks.h"

#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "base/file_names.h"
#include "base/value_routines.h"
#include "base/windows1252.h"
#include "support/forwarding_backend.h"
#include "tools/sqlite_file.h"

namespace varnel::testing::reliability {

std::string LastApplicationError(const RecordingObserver& observer) {
  constexpr std::string_view prefix = "showApplicationError: ";
  for (auto call = observer.calls.rbegin(); call != observer.calls.rend(); ++call) {
    if (call->starts_with(prefix)) return call->substr(prefix.size());
  }
  return "";
}

std::string DataPanelProblem(const RecordingObserver& observer) {
  if (observer.processing) return "the processing panel is still showing";
  std::string last_panel_call;
  for (const auto& call : observer.calls) {
    if (call == "showProcessing" || call == "showData") last_panel_call = call;
  }
  if (last_panel_call == "showProcessing") return "showProcessing was not followed by showData";
  return "";
}

int CountLines(const ExportResult& result, std::string_view line) {
  int count = 0;
  for (const auto& text : result.lines()) count += TrimBlanks(text) == line ? 1 : 0;
  return count;
}

std::vector<std::string> ElementValues(const ExportResult& result, std::string_view tag) {
  const std::string open = "<" + std::string(tag) + ">";
  const std::string close = "</" + std::string(tag) + ">";
  std::vector<std::string> values;
  for (const auto& text : result.lines()) {
    const std::string line = TrimBlanks(text);
    if (line.starts_with(open) && line.ends_with(close) && line.size() >= open.size() + close.size()) {
      values.push_back(line.substr(open.size(), line.size() - open.size() - close.size()));
    }
  }
  return values;
}

bool FileIsOpen(const std::filesystem::path& path) {
  std::error_code error;
  const auto wanted = std::filesystem::weakly_canonical(path, error);
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    std::error_code ignored;
    const auto target = std::filesystem::read_symlink(entry.path(), ignored);
    if (!ignored && target == wanted) return true;
  }
  return false;
}

bool DatabaseIsIdle(const std::filesystem::path& database_file) {
  // A connection of its own with no busy timeout: the exclusive lock is had
  // at once only when no statement of the run still reads the file.
  std::optional<tools::SqliteFile> file;
  try {
    file.emplace(database_file, tools::SqliteFile::Mode::ReadWrite);
    file->ExecuteScript("BEGIN EXCLUSIVE", "begin exclusive");
  } catch (const tools::SqliteError&) {
    return false;
  }
  try {
    file->ExecuteScript("ROLLBACK", "rollback");
  } catch (const tools::SqliteError&) {
    // The lock was had; closing the connection releases it all the same.
  }
  return true;
}

Nesting CheckNesting(const std::vector<std::string>& lines) {
  Nesting nesting;
  // A value holding a CR LF of its own spreads its element over several
  // lines; a line that does not start with "<" continues the one before
  // (values are escaped, so none of their lines starts with "<").
  std::vector<std::pair<std::size_t, std::string>> logical;
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string line = TrimBlanks(lines[number - 1]);
    if (!logical.empty() && !line.starts_with("<")) {
      logical.back().second += line;
    } else {
      logical.emplace_back(number, line);
    }
  }
  for (const auto& [number, line] : logical) {
    if (line.starts_with("<?") || line.starts_with("<!--")) continue;
    if (!line.starts_with("<")) {
      nesting.problem = "line " + std::to_string(number) + " is not an element: " + line;
      return nesting;
    }
    if (line.starts_with("</")) {
      const std::string name = line.substr(2, line.find('>') - 2);
      if (nesting.open_elements.empty() || nesting.open_elements.back() != name) {
        nesting.problem = "line " + std::to_string(number) + " closes " + name + " but " +
                          (nesting.open_elements.empty() ? std::string("nothing") : nesting.open_elements.back()) +
                          " is open";
        return nesting;
      }
      nesting.open_elements.pop_back();
      continue;
    }
    const std::size_t name_end = line.find_first_of(" >");
    const std::string name = line.substr(1, name_end - 1);
    // A bare opening tag (or the root's, with attributes) opens an element;
    // any other line is an element with its value, closed on the line.
    if (line == "<" + name + ">" || (line.starts_with("<" + name + " ") && line.ends_with(">") &&
                                     line.find("</") == std::string::npos)) {
      nesting.open_elements.push_back(name);
    } else if (!line.ends_with("</" + name + ">")) {
      nesting.problem = "line " + std::to_string(number) + " opens " + name + " without closing it: " + line;
      return nesting;
    }
  }
  return nesting;
}

namespace {

std::size_t Indentation(const std::string& line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? line.size() : first;
}

}  // namespace

std::string AbortedFileProblem(const ExportResult& result) {
  std::vector<std::string> lines = result.lines();
  if (!result.text.ends_with("\r\n")) return "the file does not end with a line end";
  if (lines.size() < 2) return "the file has fewer than two lines";
  const std::string audit_file = lines.back();
  lines.pop_back();
  const std::string source_documents = lines.back();
  lines.pop_back();
  if (TrimBlanks(audit_file) != "</AuditFile>" || TrimBlanks(source_documents) != "</SourceDocuments>") {
    return "the file does not end with the closing tail: " + source_documents + " / " + audit_file;
  }
  const Nesting body = CheckNesting(lines);
  if (!body.problem.empty()) return "before the tail: " + body.problem;
  const std::size_t outer = Indentation(source_documents);
  const std::size_t expected = outer >= 2 ? outer - 2 : 0;
  if (Indentation(audit_file) != expected) {
    return "</AuditFile> stands at column " + std::to_string(Indentation(audit_file)) + ", expected " +
           std::to_string(expected);
  }
  return "";
}

namespace {

class EndingObserver : public RecordingObserver {
 public:
  EndingObserver(EndingCheck& check, std::filesystem::path output) : m_check(check), m_output(std::move(output)) {}
  void showData() override {
    RecordingObserver::showData();
    Check("showData");
  }
  void showApplicationError(const std::string& message) override {
    RecordingObserver::showApplicationError(message);
    Check("the error box");
  }

 private:
  void Check(const std::string& call) {
    if (m_check.probe != nullptr && m_check.probe->active_count() > 0) {
      m_check.problems.push_back("at " + call + " statements still open: " + m_check.probe->active_names());
    }
    if (!m_check.database_file.empty() && !DatabaseIsIdle(m_check.database_file)) {
      m_check.problems.push_back("at " + call + " a statement still holds the database file");
    }
    if (FileIsOpen(m_output)) m_check.problems.push_back("at " + call + " the audit file is still open");
  }

  EndingCheck& m_check;
  std::filesystem::path m_output;
};

}  // namespace

ExportResult RunChecked(PosDatabase& connection, const std::filesystem::path& folder, const ExportRequest& request,
                        EndingCheck& check, const std::function<void(RecordingObserver&)>& prepare,
                        bool read_back) {
  WorkingDirectory in_folder(folder);
  const std::filesystem::path output = folder / PathFromTyped(ForceXmlExtension(request.ficheiro));
  std::error_code ignored;
  std::filesystem::remove(output, ignored);
  ExportResult result;
  {
    ExportRun run(connection);
    EndingObserver observer(check, output);
    observer.run = &run;
    if (prepare) prepare(observer);
    result.outcome = run.execute(request, observer);
    observer.run = nullptr;
    observer.on_pending_events = nullptr;
    result.observer = observer;
  }
  if (read_back) {
    result.bytes = ReadFileBytes(output);
    result.text = Windows1252ToUtf8(result.bytes);
  }
  return result;
}

int StatementProbe::active_count() const {
  int count = 0;
  for (const auto& [name, open] : active) count += open;
  return count;
}

std::string StatementProbe::active_names() const {
  std::string names;
  for (const auto& [name, open] : active) {
    if (open > 0) names += (names.empty() ? "" : ", ") + name;
  }
  return names;
}

namespace {

class ProbedStatement : public ForwardingStatement {
 public:
  ProbedStatement(std::unique_ptr<BackendStatement> inner, StatementProbe& probe, std::string query_name)
      : ForwardingStatement(std::move(inner), std::move(query_name)), m_probe(probe) {}
  ~ProbedStatement() override { MarkFinished(); }

  void Run(const ParameterValues& values) override {
    MarkFinished();
    const int run = m_probe.runs++;
    m_probe.queries_run.push_back(query_name());
    if (m_probe.before_run) m_probe.before_run(run, query_name());
    m_running = true;
    ++m_probe.active[query_name()];
    ForwardingStatement::Run(values);
  }
  void Finish() noexcept override {
    MarkFinished();
    ForwardingStatement::Finish();
  }

 private:
  void MarkFinished() noexcept {
    if (!m_running) return;
    m_running = false;
    --m_probe.active[query_name()];
  }

  StatementProbe& m_probe;
  bool m_running = false;
};

class ProbedConnection : public ForwardingConnection {
 public:
  ProbedConnection(std::unique_ptr<BackendConnection> inner, StatementProbe& probe)
      : ForwardingConnection(std::move(inner)), m_probe(probe) {}

 protected:
  std::unique_ptr<BackendStatement> WrapStatement(std::unique_ptr<BackendStatement> inner,
                                                  const std::string& query_name) override {
    return std::make_unique<ProbedStatement>(std::move(inner), m_probe, query_name);
  }

 private:
  StatementProbe& m_probe;
};

}  // namespace

PosDatabase::ConnectionFactory ProbedFactory(StatementProbe& probe, PosDatabase::ConnectionFactory inner) {
  if (!inner) inner = OpenBackendConnection;
  return [&probe, inner](const ConnectionDescription& description) -> std::unique_ptr<BackendConnection> {
    return std::make_unique<ProbedConnection>(inner(description), probe);
  };
}

}  // namespace varnel::testing::reliability
