// ConsoleLines: the one way the program writes running counts to a console.
// A running line (a count that grows, with or without a progress bar) is
// redrawn in place on an interactive terminal ("\r", the text, then "clear
// to the end of the line"), and written as a line of its own anywhere else
// (a pipe, a log, a scheduled task's file), so a log keeps every step and a
// terminal keeps one line. Lines that stay (stages, results, errors) go
// above the running line, which is drawn again below them.
//
// States: no running line, or a running line shown (in place: on the
// screen's last line, not ended by a line break).
#pragma once

#include <cstdio>
#include <string>

namespace varnel::platform {

class ConsoleLines {
 public:
  // in_place: stream is a terminal that redraws a line (PrepareConsole).
  ConsoleLines(std::FILE* stream, bool in_place) : m_stream(stream), m_in_place(in_place) {}

  bool inPlace() const { return m_in_place; }
  // A line that stays; in place, the running line is drawn again below it.
  void printLine(const std::string& line);
  // The running line's new text: redrawn in place, or one more line.
  void showRunning(const std::string& text);
  // The running phase is over: in place its last text is wiped, or, with
  // keep, left on the screen as a line of its own. Away from a terminal
  // every text is already a line, so nothing is written.
  void endRunning(bool keep);

 private:
  void draw();

  std::FILE* m_stream;
  bool m_in_place;
  bool m_running_shown = false;
  std::string m_running;
};

}  // namespace varnel::platform
