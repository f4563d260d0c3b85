// varnel-export: runs one export in a working directory without a window,
// with the same files the window uses (Korvel.UDL, Varnel.ini, Korvel.ini).
// With --status, whatever the ending after the options were read, the exit
// status and the errors shown are also written to a file.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/file_names.h"
#include "base/month_end.h"
#include "base/program_arguments.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/terminal_observer.h"
#include "cli/request_defaults.h"
#include "cli/verification_report.h"
#include "run/export_run.h"
#include "platform/console.h"
#include "posdb/pos_database.h"
#include "verify/signature_keys.h"
#include "verify/signature_verification.h"

namespace {

// An error main prints itself (the run's own go through the observer); kept
// for the exit status file as well.
void PrintError(const std::string& text, std::vector<std::string>& errors) {
  std::fprintf(stderr, "%s\n", text.c_str());
  errors.push_back(text);
}

// The findings on standard error and, with --report, as JSON; the exit
// status 3 when the verifier found an error, 130 when a signal stopped it,
// else the one given.
int ReportVerification(const varnel::CommandLine& line, const varnel::VerificationReport& report, int status,
                       std::vector<std::string>& errors) {
  varnel::PrintVerification(stderr, report);
  std::string error;
  if (!line.report.empty() && !varnel::WriteVerificationJson(varnel::PathFromTyped(line.report), report, error)) {
    PrintError("varnel-export: " + error, errors);
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

// --verify FILE: the file checked on its own, its signatures with the keys
// of the command line only (the file may come from any program).
int VerifyOnly(const varnel::CommandLine& line, std::vector<std::string>& errors) {
  using namespace varnel;
  SignatureKeys keys;
  try {
    keys = SignatureKeys::Load(line.public_keys);
  } catch (const SignatureKeyError& error) {
    PrintError(std::string("Varnel v6: ") + error.what(), errors);
    return 1;
  }
  verify::SignatureChainSetup signatures;
  signatures.keys = &keys;
  const VerificationReport report =
      VerifyAuditFileAndSignatures(PathFromTyped(line.verify), VerificationOptions{}, signatures);
  return ReportVerification(line, report, 0, errors);
}

int Export(const varnel::CommandLine& line, varnel::DateTime today, std::vector<std::string>& errors) {
  using namespace varnel;
  if (!line.workdir.empty()) {
    std::error_code error;
    std::filesystem::current_path(PathFromUtf8(line.workdir), error);
    if (error) {
      PrintError("varnel-export: cannot use the working directory \"" + line.workdir + "\": " + error.message(),
                 errors);
      return 2;
    }
  }

  ExportRequest request;
  try {
    request = RequestFromFiles(std::filesystem::current_path(), line, today);
  } catch (const std::exception& error) {
    PrintError(std::string("Varnel v6: ") + error.what(), errors);
    return 1;
  }

  WarnOfDaysLeftOut(request);
  TerminalObserver::InstallSignalHandlers();
  TerminalObserver observer(stderr, platform::PrepareConsole(stderr));
  PosDatabase database;
  ExportRun run(database);
  observer.attach(&run);
  const RunOutcome outcome = run.execute(request, observer);
  errors.insert(errors.end(), observer.errors().begin(), observer.errors().end());
  if (line.statistics) {
    std::fprintf(stderr, "Statements run: %llu\n", static_cast<unsigned long long>(database.statements_run()));
  }
  switch (outcome) {
    case RunOutcome::Completed:
      return run.verification() ? ReportVerification(line, *run.verification(), 0, errors) : 0;
    case RunOutcome::Aborted:
      return 130;
    case RunOutcome::CheckFailed:
    case RunOutcome::Failed:
      break;
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace varnel;
  CommandLine line;
  try {
    line = ParseCommandLine(ArgumentsAsUtf8(argc, argv));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "varnel-export: %s\n\n%s", error.what(), UsageText());
    return 2;
  }
  if (line.help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  const DateTime today = DateTime::Today();
  NameFilesByPeriod(line, FirstDayOfPeriod(line, today));
  std::vector<std::string> errors;
  int status = 0;
  if (line.verify.empty()) {
    status = Export(line, today, errors);
  } else {
    status = VerifyOnly(line, errors);
  }
  // A scheduled run has no console: its status goes beside its file.
  std::string error;
  if (!line.status.empty() && !WriteExitStatus(PathFromTyped(line.status), status, errors, error)) {
    std::fprintf(stderr, "varnel-export: %s\n", error.c_str());
    if (status == 0) status = 1;
  }
  return status;
}
