// The headless exporter's side of a run: status texts as lines on standard
// error, a progress bar when standard error is a terminal, error boxes as one
// line each, and SIGINT/SIGTERM turned into "Abortar" at the next point where
// the window would handle input.
#pragma once

#include <cstdio>
#include <string>

#include "run/export_observer.h"

namespace varnel {

class ExportRun;

class TerminalObserver : public ExportObserver {
 public:
  explicit TerminalObserver(std::FILE* stream, bool draw_progress);

  // The run that a signal aborts.
  void attach(ExportRun* run) { m_run = run; }
  // Installs the SIGINT/SIGTERM handlers (once per process).
  static void InstallSignalHandlers();
  static bool SignalReceived();

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
  void drawBar();
  void clearBar();

  std::FILE* m_stream;
  bool m_draw_progress;
  ExportRun* m_run = nullptr;
  bool m_bar_visible = false;
  int m_maximum = 0;
  int m_position = 0;
};

}  // namespace varnel
