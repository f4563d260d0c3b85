// Terminal output of the headless exporter. The interrupt handler only sets
// a flag; the run is told at processPendingEvents, the one moment the window
// would let "Abortar" through. On a terminal the bar line is "\r\033[K" then
// the bar and the running count; a line printed while the bar shows first
// clears it and then draws it again below.
#include "cli/terminal_observer.h"

#include <csignal>

#include "run/export_run.h"
#include "base/value_routines.h"
#include "platform/console.h"

namespace varnel {

namespace {

volatile std::sig_atomic_t g_signal_received = 0;

void OnInterrupt() { g_signal_received = 1; }

constexpr int kBarWidth = 40;

}  // namespace

TerminalObserver::TerminalObserver(std::FILE* stream, bool draw_progress)
    : m_stream(stream), m_draw_progress(draw_progress) {}

void TerminalObserver::InstallSignalHandlers() {
  platform::InstallInterruptHandler(&OnInterrupt);
}

bool TerminalObserver::SignalReceived() { return g_signal_received != 0; }

void TerminalObserver::printLine(const std::string& line) {
  clearBar();
  std::fputs(line.c_str(), m_stream);
  std::fputc('\n', m_stream);
  drawBar();
  std::fflush(m_stream);
}

void TerminalObserver::showOutputPath(const std::string& path) { printLine("Ficheiro: " + path); }

void TerminalObserver::showError(const std::string& message) {
  m_errors.push_back("Erro: " + message);
  printLine(m_errors.back());
}

void TerminalObserver::showApplicationError(const std::string& message) {
  m_errors.push_back("Varnel v6: " + message);
  printLine(m_errors.back());
}

bool TerminalObserver::IsRunningCount(const std::string& text) {
  static const std::string kStart = "Exportados ";
  static const std::string kEnd = " registos...";
  return text.size() > kStart.size() + kEnd.size() && text.compare(0, kStart.size(), kStart) == 0 &&
         text.compare(text.size() - kEnd.size(), kEnd.size(), kEnd) == 0;
}

void TerminalObserver::setStatus(const std::string& text) {
  if (m_bar_visible && IsRunningCount(text)) {
    m_running_count = text;
    drawBar();
    return;
  }
  printLine(text);
}

void TerminalObserver::processPendingEvents() {
  if (g_signal_received && m_run != nullptr) m_run->requestAbort();
}

void TerminalObserver::progressStart(int maximum) {
  m_maximum = maximum;
  m_position = 0;
  m_running_count.clear();
  m_bar_visible = m_draw_progress;
  drawBar();
}

void TerminalObserver::progressStep() {
  ++m_position;
  drawBar();
}

void TerminalObserver::progressHide() {
  clearBar();
  m_bar_visible = false;
}

void TerminalObserver::drawBar() {
  if (!m_bar_visible) return;
  const int filled = m_maximum > 0 ? kBarWidth * (m_position > m_maximum ? m_maximum : m_position) / m_maximum : 0;
  std::string bar = "\r[";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
  bar += "] " + IntText(m_position) + "/" + IntText(m_maximum);
  if (!m_running_count.empty()) bar += "  " + m_running_count;
  std::fputs(bar.c_str(), m_stream);
  std::fflush(m_stream);
}

void TerminalObserver::clearBar() {
  if (m_bar_visible) std::fputs("\r\033[K", m_stream);
}

}  // namespace varnel
