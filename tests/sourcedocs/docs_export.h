// Runs one whole export over a test database, in the database's folder (where
// its Korvel.UDL stands), and hands back the outcome, the observer's record
// and the audit file's lines, with helpers that cut out element blocks. Used
// by the working-documents and payments tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_request.h"
#include "export/export_run.h"
#include "support/recording_observer.h"
#include "support/test_database.h"
#include "support/test_paths.h"

namespace varnel::docs_testing {

// A valid company, the period 2016-01-01..2016-01-31, type Normal, region 0,
// no series, output "out.xml".
inline ExportRequest DefaultRequest() {
  ExportRequest request;
  request.companyID = "123456789";
  request.companyName = "Restaurante Teste";
  request.datai = DateTime::FromDate(2016, 1, 1);
  request.dataf = DateTime::FromDate(2016, 1, 31);
  request.ficheiro = "out.xml";
  request.saftType = 0;
  request.taxCountryRegion = 0;
  request.fserienum = 0;
  return request;
}

inline std::string TrimmedLine(std::string_view line) {
  const auto first = line.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(line.substr(first));
}

struct ExportResult {
  RunOutcome outcome = RunOutcome::Failed;
  std::string bytes;  // the audit file as written
  testing::RecordingObserver observer;

  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < bytes.size()) {
      const auto end = bytes.find("\r\n", start);
      if (end == std::string::npos) {
        out.push_back(bytes.substr(start));
        break;
      }
      out.push_back(bytes.substr(start, end - start));
      start = end + 2;
    }
    return out;
  }

  // Every block of lines from a line whose trimmed text is open_line to the
  // next line whose trimmed text is close_line, both included, indentation
  // kept, each line followed by "\n".
  std::vector<std::string> Blocks(std::string_view open_line, std::string_view close_line) const {
    std::vector<std::string> blocks;
    std::string current;
    bool inside = false;
    for (const std::string& line : lines()) {
      const std::string trimmed = TrimmedLine(line);
      if (!inside && trimmed == open_line) inside = true;
      if (inside) current += line + "\n";
      if (inside && trimmed == close_line) {
        blocks.push_back(current);
        current.clear();
        inside = false;
      }
    }
    return blocks;
  }
  std::string Block(std::string_view open_line, std::string_view close_line) const {
    const auto blocks = Blocks(open_line, close_line);
    return blocks.empty() ? std::string() : blocks.front();
  }
  // The last lines of the file, each followed by "\n".
  std::string Tail(std::size_t count) const {
    const auto all = lines();
    std::string text;
    for (std::size_t i = all.size() > count ? all.size() - count : 0; i < all.size(); ++i) text += all[i] + "\n";
    return text;
  }
};

// Runs the export in the database's folder; prepare may set up the observer
// (abort_on_status) before the run starts.
inline ExportResult RunExport(testing::TestDatabase& database, const ExportRequest& request = DefaultRequest(),
                              std::function<void(testing::RecordingObserver&)> prepare = {}) {
  ExportResult result;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(database.folder());
  try {
    ExportRun run(database.database());
    result.observer.run = &run;
    if (prepare) prepare(result.observer);
    result.outcome = run.execute(request, result.observer);
    result.observer.run = nullptr;
  } catch (...) {
    std::filesystem::current_path(previous);
    throw;
  }
  std::filesystem::current_path(previous);
  result.bytes = testing::ReadFileBytes(database.folder() / "out.xml");
  return result;
}

}  // namespace varnel::docs_testing
