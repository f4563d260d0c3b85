// Fuzzes the audit file verifier with mutated audit files (the seeds are
// small valid 1.03_01 and 1.04_01 files, one document of every kind), as a
// file on disk, the way varnel-export --verify reads one. Invariants:
// - it returns, never throws, and says the check completed (nothing aborts it);
// - the report stays small whatever the file: at most the cap of each kind of
//   finding, one closing line per kind, and the schema's own lines;
// - every finding has a message, in valid UTF-8, and a section;
// - the same file verifies the same way twice, and with the schema on a
//   second thread it gives as many errors (checked on one input in four: a
//   verification compiles the schema, the bulk of a small file's time).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/utf8.h"
#include "fuzz_check.h"
#include "verify/audit_file_verifier.h"

namespace {

using varnel::fuzz::Require;

// Kinds of finding times their cap, their closing lines and the schema's
// counted lines: a generous bound that a file cannot push the report past.
constexpr std::size_t kMostFindings = 40 * 51 + 40;

const std::filesystem::path& InputPath() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("varnel-fuzz-verifier-" + std::to_string(getpid()) + ".xml");
  return path;
}

std::string Summary(const varnel::VerificationReport& report) {
  std::string text;
  for (const varnel::Finding& f : report.findings) {
    if (f.severity == varnel::FindingSeverity::Error) text += f.section + "|" + f.document + "|" + f.message + "\n";
  }
  return text;
}

void CheckReport(const varnel::VerificationReport& report) {
  Require(report.completed, "the check completes");
  Require(report.findings.size() <= kMostFindings, "the report stays small");
  for (const varnel::Finding& f : report.findings) {
    Require(!f.message.empty() && !f.section.empty(), "a finding has a message and a section");
    Require(varnel::IsValidUtf8(f.message), "a finding's message is valid UTF-8");
  }
  for (const auto& [type, count] : report.summary.documents_by_type) Require(count > 0, "documents counted");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    Require(file != nullptr, "the input file can be written");
    Require(std::fwrite(data, 1, size, file) == size, "the input is written whole");
    std::fclose(file);
  }
  varnel::VerificationOptions options;
  const varnel::VerificationReport first = varnel::VerifyAuditFile(InputPath(), options);
  CheckReport(first);
  if (size % 4 != 0) return 0;
  const varnel::VerificationReport again = varnel::VerifyAuditFile(InputPath(), options);
  Require(Summary(first) == Summary(again), "the same file verifies the same way twice");
  options.schema_on_second_thread = true;
  const varnel::VerificationReport threaded = varnel::VerifyAuditFile(InputPath(), options);
  CheckReport(threaded);
  Require(first.errors() == threaded.errors(), "the schema on a second thread finds as many errors");
  return 0;
}
