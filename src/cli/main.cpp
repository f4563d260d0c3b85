// varnel-export: runs one export in a working directory without a window,
// with the same files the window uses (Korvel.UDL, Varnel.ini, Korvel.ini).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/file_names.h"
#include "cli/command_line.h"
#include "cli/terminal_observer.h"
#include "cli/request_defaults.h"
#include "run/export_run.h"
#include "platform/arguments.h"
#include "platform/console.h"
#include "posdb/pos_database.h"

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
      return 0;
    case RunOutcome::Aborted:
      return 130;
    case RunOutcome::CheckFailed:
    case RunOutcome::Failed:
      break;
  }
  return 1;
}
