// The DPI a window is shown at, and its frame for a client area at that DPI.
// The per-monitor functions came with Windows 10 (1607); on an older system
// the system's DPI is taken and the plain frame function used, so the
// program still starts there.
#pragma once

#include <windows.h>

namespace varnel {

int WindowDpi(HWND window);
// Grows client (a client rectangle) to the window's frame at dpi.
void FrameForClient(HWND window, RECT& client, int dpi);

}  // namespace varnel
