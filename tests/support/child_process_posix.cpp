// Programs started with fork and execv; standard error through a pipe.
#include "support/child_process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/test_paths.h"

namespace varnel::testing {

std::filesystem::path ProgramPath(const std::string& relative) { return BinaryPath(relative); }

struct ChildProcess::State {
  pid_t pid = -1;
  int error_pipe = -1;
};

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::filesystem::path& directory,
                           const std::vector<std::string>& arguments)
    : m_state(new State) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) throw std::runtime_error("pipe");
  const std::string program_text = program.string();
  m_state->pid = fork();
  if (m_state->pid == 0) {
    dup2(pipe_ends[1], 2);
    close(pipe_ends[0]);
    close(pipe_ends[1]);
    if (chdir(directory.c_str()) != 0) _exit(99);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program_text.c_str()));
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program_text.c_str(), argv.data());
    _exit(98);
  }
  close(pipe_ends[1]);
  m_state->error_pipe = pipe_ends[0];
}

ChildProcess::~ChildProcess() {
  if (!m_finished) Wait();
  delete m_state;
}

bool ChildProcess::WaitFor(const std::string& text) {
  char buffer[4096];
  while (m_output.find(text) == std::string::npos) {
    const ssize_t got = read(m_state->error_pipe, buffer, sizeof buffer);
    if (got <= 0) return false;
    m_output.append(buffer, static_cast<std::size_t>(got));
  }
  return true;
}

bool ChildProcess::CanInterrupt() { return true; }

void ChildProcess::Interrupt() { kill(m_state->pid, SIGINT); }

Finished ChildProcess::Wait() {
  if (m_finished) return m_result;
  WaitFor("\x01never");
  close(m_state->error_pipe);
  int status = 0;
  waitpid(m_state->pid, &status, 0);
  m_finished = true;
  m_result = {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), m_output};
  return m_result;
}

}  // namespace varnel::testing
