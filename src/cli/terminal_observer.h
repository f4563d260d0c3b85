// The headless exporter's side of a run: status texts as lines on standard
// error, error boxes as one line each, and an interrupt (SIGINT/SIGTERM, on
// Windows Ctrl+C, Ctrl+Break or closing the console) turned into "Abortar" at
// the next point where the window would handle input. The running counts of
// the run (the maintenance's "Manutenção da base de dados: N de M
// documentos", the export's "Exportados N de M registos...", the
// verification's "Verificados N de M documentos...") go through the one
// console seam (platform/console_lines.h): on a terminal each is redrawn in
// place on one line, beside the progress bar while the run shows one, and
// only the stage texts, the final texts and errors stay as lines (the
// maintenance's last count stays too, as its result); anywhere else (a log,
// a pipe, a scheduled task) every text is one line, exactly as the run
// gives it, and no bar or escape sequence appears.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/console_lines.h"
#include "run/export_observer.h"

namespace varnel {

class ExportRun;

class TerminalObserver : public ExportObserver {
 public:
  // on_terminal: stream is an interactive terminal that redraws a line.
  explicit TerminalObserver(std::FILE* stream, bool on_terminal);

  // The run that a signal aborts.
  void attach(ExportRun* run) { m_run = run; }
  // Installs the interrupt handlers (once per process).
  static void InstallSignalHandlers();
  static bool SignalReceived();
  // The error lines printed ("Erro: ...", "Varnel v6: ..."), for the exit
  // status file.
  const std::vector<std::string>& errors() const { return m_errors; }
  // A count the run reports as it goes ("Verificados 50 de 296 documentos...").
  static bool IsRunningCount(const std::string& text);

  void showOutputPath(const std::string& path) override;
  void showError(const std::string& message) override;
  void showApplicationError(const std::string& message) override;
  void showProcessing() override {}
  void setStatus(const std::string& text) override;
  void processPendingEvents() override;
  void persistSettings() override {}  // the values came from the file
  void progressStart(int maximum) override;
  void progressStep() override;
  void progressHide() override;
  void showData() override {}

 private:
  void printLine(const std::string& line);
  // The bar and the running count, redrawn in place (terminal only).
  void drawRunning();

  platform::ConsoleLines m_console;
  ExportRun* m_run = nullptr;
  bool m_bar_visible = false;
  int m_maximum = 0;
  int m_position = 0;
  std::string m_running_count;
  std::vector<std::string> m_errors;
};

}  // namespace varnel
