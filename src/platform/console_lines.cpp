// Console lines: "\r" returns to the start of the running line, "\033[K"
// clears from the cursor to the line's end (so a shorter text leaves no
// tail); a Windows console understands both once PrepareConsole has turned
// on its escape sequences. Every write is flushed, so a count shows at once.
#include "platform/console_lines.h"

namespace varnel::platform {

namespace {
constexpr char kClearToEnd[] = "\033[K";
}  // namespace

void ConsoleLines::draw() {
  std::fputc('\r', m_stream);
  std::fputs(m_running.c_str(), m_stream);
  std::fputs(kClearToEnd, m_stream);
}

void ConsoleLines::printLine(const std::string& line) {
  if (m_in_place && m_running_shown) {
    std::fputc('\r', m_stream);
    std::fputs(kClearToEnd, m_stream);
  }
  std::fputs(line.c_str(), m_stream);
  std::fputc('\n', m_stream);
  if (m_in_place && m_running_shown) draw();
  std::fflush(m_stream);
}

void ConsoleLines::showRunning(const std::string& text) {
  if (m_in_place && m_running_shown && text == m_running) return;  // nothing new to draw
  m_running = text;
  if (!m_in_place) {
    std::fputs(text.c_str(), m_stream);
    std::fputc('\n', m_stream);
  } else {
    m_running_shown = true;
    draw();
  }
  std::fflush(m_stream);
}

void ConsoleLines::endRunning(bool keep) {
  if (m_in_place && m_running_shown) {
    if (keep) {
      std::fputc('\n', m_stream);
    } else {
      std::fputc('\r', m_stream);
      std::fputs(kClearToEnd, m_stream);
    }
    std::fflush(m_stream);
  }
  m_running_shown = false;
  m_running.clear();
}

}  // namespace varnel::platform
