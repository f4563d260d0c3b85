// POSIX console: a terminal is a tty; SIGINT and SIGTERM interrupt.
#include "platform/console.h"

#include <csignal>

#include <unistd.h>

namespace varnel::platform {

namespace {

void (*g_on_interrupt)() = nullptr;

extern "C" void OnTerminationSignal(int) {
  if (g_on_interrupt != nullptr) g_on_interrupt();
}

}  // namespace

bool PrepareConsole(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

void InstallInterruptHandler(void (*on_interrupt)()) {
  g_on_interrupt = on_interrupt;
  std::signal(SIGINT, OnTerminationSignal);
  std::signal(SIGTERM, OnTerminationSignal);
}

}  // namespace varnel::platform
