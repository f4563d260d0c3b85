// One whole export run in a test database's folder, for the MasterFiles tests
// until the shared export harness is available: the default request (a valid
// company number, January 2016, the Normal type, Continente, no series,
// "out.xml"), the run's outcome, its observer and the file it wrote.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_run.h"
#include "export/windows1252.h"
#include "support/recording_observer.h"
#include "support/test_database.h"
#include "support/test_paths.h"

namespace varnel::testing {

inline ExportRequest DefaultRequest() {
  ExportRequest request;
  request.companyID = "123456789";
  request.companyName = "Empresa";
  request.datai = DateTime::FromDate(2016, 1, 1);
  request.dataf = DateTime::FromDate(2016, 1, 31);
  request.ficheiro = "out.xml";
  request.saftType = 0;
  request.taxCountryRegion = 0;
  request.fserienum = 0;
  return request;
}

struct ExportResult {
  RunOutcome outcome = RunOutcome::Failed;
  std::string bytes;
  std::string text;
  RecordingObserver observer;
  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find("\r\n", start);
      if (end == std::string::npos) {
        result.push_back(text.substr(start));
        break;
      }
      result.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return result;
  }
};

inline ExportResult RunExport(TestDatabase& database, const ExportRequest& request = DefaultRequest(),
                              std::function<void(RecordingObserver&)> prepare = {}) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(database.folder());
  ExportResult result;
  ExportRun run(database.database());
  result.observer.run = &run;
  if (prepare) prepare(result.observer);
  result.outcome = run.execute(request, result.observer);
  const auto output = database.folder() / "out.xml";
  result.bytes = ReadFileBytes(output);
  result.text = Windows1252ToUtf8(result.bytes);
  std::filesystem::remove(output);
  std::filesystem::current_path(previous);
  return result;
}

}  // namespace varnel::testing
