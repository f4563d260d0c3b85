// The per-monitor DPI functions looked up in user32 at run time.
#include "winui/window_dpi.h"

namespace varnel {

namespace {

template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const GetDpi get_dpi = User32Function<GetDpi>("GetDpiForWindow");
  if (get_dpi) {
    if (const UINT dpi = get_dpi(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

void FrameForClient(HWND window, RECT& client, int dpi) {
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const AdjustForDpi adjust = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto extended = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  if (!adjust || !adjust(&client, style, FALSE, extended, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&client, style, FALSE, extended);
  }
}

}  // namespace varnel
