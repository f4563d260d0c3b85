// Terminal output of the headless exporter. The interrupt handler only sets
// a flag; the run is told at processPendingEvents, the one moment the window
// would let "Abortar" through. On a terminal the running line is the bar
// ("[####    ] 2/6") followed by the running count, or the count alone
// before any bar (the maintenance).
#include "cli/terminal_observer.h"

#include <csignal>
#include <string_view>

#include "run/export_run.h"
#include "base/value_routines.h"
#include "platform/console.h"

namespace varnel {

namespace {

volatile std::sig_atomic_t g_signal_received = 0;

void OnInterrupt() { g_signal_received = 1; }

constexpr int kBarWidth = 40;

// digits, " de ", digits at the start of text; the rest after them.
bool SkipCount(std::string_view& text) {
  auto skip_digits = [&text] {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    text.remove_prefix(digits);
    return digits > 0;
  };
  if (!skip_digits() || !text.starts_with(" de ")) return false;
  text.remove_prefix(4);
  return skip_digits();
}

}  // namespace

TerminalObserver::TerminalObserver(std::FILE* stream, bool on_terminal) : m_console(stream, on_terminal) {}

void TerminalObserver::InstallSignalHandlers() {
  platform::InstallInterruptHandler(&OnInterrupt);
}

bool TerminalObserver::SignalReceived() { return g_signal_received != 0; }

bool TerminalObserver::IsRunningCount(const std::string& text) {
  static constexpr std::string_view kCounts[][2] = {
      {"Manutenção da base de dados: ", " documentos"},
      {"Exportados ", " registos..."},
      {"Verificados ", " documentos..."},
  };
  for (const auto& [start, end] : kCounts) {
    std::string_view rest = text;
    if (!rest.starts_with(start)) continue;
    rest.remove_prefix(start.size());
    if (SkipCount(rest) && rest == end) return true;
  }
  return false;
}

// A line that stays. Before a bar shows, a count on the screen is a finished
// step (the maintenance's result) and stays above it.
void TerminalObserver::printLine(const std::string& line) {
  if (!m_bar_visible && !m_running_count.empty()) {
    m_console.endRunning(true);
    m_running_count.clear();
  }
  m_console.printLine(line);
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

void TerminalObserver::setStatus(const std::string& text) {
  if (!IsRunningCount(text)) {
    printLine(text);
    return;
  }
  m_running_count = text;
  if (m_console.inPlace()) {
    drawRunning();
  } else {
    m_console.showRunning(text);
  }
}

void TerminalObserver::processPendingEvents() {
  if (g_signal_received && m_run != nullptr) m_run->requestAbort();
}

void TerminalObserver::progressStart(int maximum) {
  m_maximum = maximum;
  m_position = 0;
  m_running_count.clear();
  m_bar_visible = m_console.inPlace();
  if (m_bar_visible) drawRunning();
}

void TerminalObserver::progressStep() {
  ++m_position;
  if (m_bar_visible) drawRunning();
}

// The bar's phase is over: its line is wiped. (A count shown without a bar,
// the maintenance's when it fails, stays.)
void TerminalObserver::progressHide() {
  m_console.endRunning(!m_bar_visible && !m_running_count.empty());
  m_bar_visible = false;
  m_running_count.clear();
}

void TerminalObserver::drawRunning() {
  std::string line;
  if (m_bar_visible) {
    const int shown = m_position > m_maximum ? m_maximum : m_position;
    const int filled = m_maximum > 0 ? kBarWidth * shown / m_maximum : 0;
    line = "[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
    line += "] " + IntText(m_position) + "/" + IntText(m_maximum);
    if (!m_running_count.empty()) line += "  ";
  }
  m_console.showRunning(line + m_running_count);
}

}  // namespace varnel
