// Programs started with CreateProcessW; standard error through an anonymous
// pipe, the command line quoted the way CommandLineToArgvW splits it.
#include "support/child_process.h"

#include <windows.h>

#include <stdexcept>

#include "base/file_names.h"
#include "support/test_paths.h"

namespace varnel::testing {

namespace {

std::wstring Wide(const std::string& utf8) { return PathFromUtf8(utf8).wstring(); }

// One argument as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

std::filesystem::path ProgramPath(const std::string& relative) { return BinaryPath(relative + ".exe"); }

struct ChildProcess::State {
  PROCESS_INFORMATION process{};
  HANDLE error_pipe = nullptr;
};

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::filesystem::path& directory,
                           const std::vector<std::string>& arguments)
    : m_state(new State) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) throw std::runtime_error("CreatePipe");
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  std::wstring command_line = Quoted(program.wstring());
  for (const auto& argument : arguments) command_line += L" " + Quoted(Wide(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = write_end;
  const std::wstring folder = directory.wstring();
  const BOOL started = CreateProcessW(program.wstring().c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, folder.c_str(), &startup, &m_state->process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    delete m_state;
    throw std::runtime_error("CreateProcessW failed for " + Utf8FromPath(program));
  }
  m_state->error_pipe = read_end;
}

ChildProcess::~ChildProcess() {
  if (!m_finished) Wait();
  delete m_state;
}

bool ChildProcess::WaitFor(const std::string& text) {
  char buffer[4096];
  while (m_output.find(text) == std::string::npos) {
    DWORD got = 0;
    if (!ReadFile(m_state->error_pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) return false;
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] == '\n' && !m_output.empty() && m_output.back() == '\r') m_output.pop_back();
      m_output += buffer[i];
    }
  }
  return true;
}

bool ChildProcess::CanInterrupt() { return false; }

void ChildProcess::Interrupt() {}

Finished ChildProcess::Wait() {
  if (m_finished) return m_result;
  WaitFor("\x01never");
  CloseHandle(m_state->error_pipe);
  WaitForSingleObject(m_state->process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(m_state->process.hProcess, &code);
  CloseHandle(m_state->process.hProcess);
  CloseHandle(m_state->process.hThread);
  m_finished = true;
  m_result = {static_cast<int>(code), m_output};
  return m_result;
}

}  // namespace varnel::testing
