// A program the tests start and watch: its standard error comes back through
// a pipe, with line ends as on POSIX ("\n"; Windows' C runtime writes CR LF),
// and its exit status is read when it ends. One implementation per platform:
// fork/exec on POSIX, CreateProcessW on Windows (child_process_*.cpp).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace varnel::testing {

struct Finished {
  int exit_code = -1;
  std::string error_output;
};

// program's path in the build tree without the platform's suffix
// ("src/cli/varnel-export" is varnel-export.exe on Windows).
std::filesystem::path ProgramPath(const std::string& relative);

class ChildProcess {
 public:
  // Starts program with arguments (UTF-8) in directory.
  ChildProcess(const std::filesystem::path& program, const std::filesystem::path& directory,
               const std::vector<std::string>& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads standard error until text appears; false when the program closed
  // it first.
  bool WaitFor(const std::string& text);
  // Interrupts the program as the user would (SIGINT on POSIX); false where
  // the platform gives a test no way to (a console control event reaches
  // only processes of one console).
  static bool CanInterrupt();
  void Interrupt();
  // Reads standard error to its end and waits for the program to end.
  Finished Wait();

 private:
  struct State;
  State* m_state;
  std::string m_output;
  bool m_finished = false;
  Finished m_result;
};

}  // namespace varnel::testing
