// Whole-export runs for tests.
#include "support/export_harness.h"

#include <cstdio>

#include "base/file_names.h"
#include "base/value_routines.h"
#include "base/windows1252.h"

namespace varnel::testing {

ExportRequest DefaultRequest() {
  ExportRequest request;
  request.company.companyID = "123456789";
  request.company.companyName = "Restaurante Teste, Lda";
  request.company.streetName = "Rua do Teste";
  request.company.addressDetail = "Rua do Teste 1";
  request.company.buildingNumber = "1";
  request.company.postalCode1 = "1000";
  request.company.postalCode2 = "100";
  request.company.city = "Lisboa";
  request.company.estabelecimento = "";
  request.datai = DateTime::FromDate(2016, 1, 1);
  request.dataf = DateTime::FromDate(2016, 1, 31);
  request.ficheiro = "out.xml";
  request.company.taxCountryRegion = TaxRegion::Continente;
  request.saftType = SaftType::Normal;
  request.fserienum = SeriesIndex(0);
  return request;
}

std::vector<std::string> ExportResult::lines() const {
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return result;
}

std::string ExportResult::Block(std::string_view open_line, std::string_view close_line) const {
  const std::vector<std::string> all = lines();
  for (std::size_t first = 0; first < all.size(); ++first) {
    if (TrimBlanks(all[first]) != open_line) continue;
    std::string block = all[first] + "\n";
    for (std::size_t i = first + 1; i < all.size(); ++i) {
      block += all[i] + "\n";
      if (TrimBlanks(all[i]) == close_line) return block;
    }
    return "";
  }
  return "";
}

bool ExportResult::HasLine(std::string_view wanted) const {
  for (const auto& line : lines()) {
    if (TrimBlanks(line) == wanted) return true;
  }
  return false;
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& directory)
    : m_previous(std::filesystem::current_path()) {
  std::filesystem::current_path(directory);
}

WorkingDirectory::~WorkingDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(m_previous, ignored);
}

ExportResult RunExportWith(PosDatabase& connection, const std::filesystem::path& folder,
                           const ExportRequest& request,
                           const std::function<void(RecordingObserver&)>& prepare) {
  WorkingDirectory in_folder(folder);
  ExportResult result;
  ExportRun run(connection);
  result.observer.run = &run;
  if (prepare) prepare(result.observer);
  const std::filesystem::path output = PathFromTyped(ForceXmlExtension(request.ficheiro));
  std::error_code ignored;
  std::filesystem::remove(folder / output, ignored);
  result.outcome = run.execute(request, result.observer);
  result.observer.run = nullptr;
  result.bytes = ReadFileBytes(folder / output);
  result.text = Windows1252ToUtf8(result.bytes);
  return result;
}

ExportResult RunExport(TestDatabase& database, const ExportRequest& request,
                       const std::function<void(RecordingObserver&)>& prepare) {
  return RunExportWith(database.database(), database.folder(), request, prepare);
}

}  // namespace varnel::testing
