// Windows console: a console is a handle GetConsoleMode accepts (_isatty is
// true for NUL and every character device). Its output code page becomes
// UTF-8 and virtual-terminal processing is switched on for the in-place
// redraw. Ctrl+C, Ctrl+Break and closing the console interrupt; on a close
// the system ends the process once the handler returns, so the handler
// gives the run a few seconds to stop at its next point of input and close
// the file properly.
#include "platform/console.h"

#include <io.h>
#include <windows.h>

namespace varnel::platform {

namespace {

void (*g_on_interrupt)() = nullptr;

BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      if (g_on_interrupt != nullptr) g_on_interrupt();
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      if (g_on_interrupt != nullptr) g_on_interrupt();
      Sleep(4000);  // the system allows about five seconds
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool PrepareConsole(std::FILE* stream) {
  const intptr_t os_handle = _get_osfhandle(_fileno(stream));
  if (os_handle == -1) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(os_handle);
  DWORD mode = 0;
  if (!GetConsoleMode(handle, &mode)) return false;
  SetConsoleOutputCP(CP_UTF8);
  if (!SetConsoleMode(handle, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
    // A console without escape sequences (before Windows 10) still takes
    // the texts line by line.
    return false;
  }
  return true;
}

void InstallInterruptHandler(void (*on_interrupt)()) {
  g_on_interrupt = on_interrupt;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace varnel::platform
