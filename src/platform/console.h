// The console the headless exporter writes its status texts to, and the
// interrupt it obeys. One implementation per platform (console_posix.cpp,
// console_windows.cpp), chosen by the build: a POSIX terminal is a tty and
// SIGINT/SIGTERM interrupt; a Windows console is what GetConsoleMode accepts
// (not the NUL device, which is a character device too) and Ctrl+C,
// Ctrl+Break and closing the console window interrupt.
#pragma once

#include <cstdio>

namespace varnel::platform {

// True when stream writes to an interactive terminal or console (where a
// line may be redrawn in place). On Windows the console is also made ready:
// UTF-8 output code page (the texts are UTF-8) and the escape sequences that
// redraw a line.
bool PrepareConsole(std::FILE* stream);

// Calls on_interrupt (which may only set a flag) when the user interrupts
// the program; installed once per process.
void InstallInterruptHandler(void (*on_interrupt)());

}  // namespace varnel::platform
