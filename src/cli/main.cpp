// varnel-export: runs one export in a working directory without a window,
// with the same files the window uses (Korvel.UDL, Varnel.ini, Korvel.ini).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/file_names.h"
#include "base/month_end.h"
#include "cli/command_line.h"
#include "cli/terminal_observer.h"
#include "cli/request_defaults.h"
#include "cli/verification_report.h"
#include "run/export_run.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "posdb/pos_database.h"

namespace {

// The findings on standard error and, with --report, as JSON; the exit
// status 3 when the verifier found an error, 130 when a signal stopped it,
// else the one given.
int ReportVerification(const varnel::CommandLine& line, const varnel::VerificationReport& report, int status) {
  varnel::PrintVerification(stderr, report);
  std::string error;
  if (!line.report.empty() && !varnel::WriteVerificationJson(varnel::PathFromTyped(line.report), report, error)) {
    std::fprintf(stderr, "varnel-export: %s\n", error.c_str());
    return 1;
  }
  if (!report.completed) return 130;  // "Abortar" (a signal) stopped the verification
  return status == 0 && report.errors() > 0 ? 3 : status;
}

// A period a day or two short of a month's end is exported as asked, with a
// warning (a scheduled export has no one to answer a question).
void WarnOfDaysLeftOut(const varnel::ExportRequest& request) {
  const std::string left_out = varnel::MonthEndLeftOutText(request.datai, request.dataf);
  if (!left_out.empty()) std::fprintf(stderr, "Aviso: %s\n", left_out.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnel;
  CommandLine line;
  try {
    line = ParseCommandLine(platform::ArgumentsAsUtf8(argc, argv));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "varnel-export: %s\n\n%s", error.what(), UsageText());
    return 2;
  }
  if (line.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (!line.verify.empty()) {
    const VerificationReport report = VerifyAuditFile(PathFromTyped(line.verify), VerificationOptions{});
    return ReportVerification(line, report, 0);
  }
  if (!line.workdir.empty()) {
    std::error_code error;
    std::filesystem::current_path(PathFromUtf8(line.workdir), error);
    if (error) {
      std::fprintf(stderr, "varnel-export: cannot use the working directory \"%s\": %s\n",
                   line.workdir.c_str(), error.message().c_str());
      return 2;
    }
  }

  ExportRequest request;
  try {
    request = RequestFromFiles(std::filesystem::current_path(), line, DateTime::Today());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Varnel v6: %s\n", error.what());
    return 1;
  }

  WarnOfDaysLeftOut(request);
  TerminalObserver::InstallSignalHandlers();
  TerminalObserver observer(stderr, platform::PrepareConsole(stderr));
  PosDatabase database;
  ExportRun run(database);
  observer.attach(&run);
  const RunOutcome outcome = run.execute(request, observer);
  if (line.statistics) {
    std::fprintf(stderr, "Statements run: %llu\n", static_cast<unsigned long long>(database.statements_run()));
  }
  switch (outcome) {
    case RunOutcome::Completed:
      return run.verification() ? ReportVerification(line, *run.verification(), 0) : 0;
    case RunOutcome::Aborted:
      return 130;
    case RunOutcome::CheckFailed:
    case RunOutcome::Failed:
      break;
  }
  return 1;
}
