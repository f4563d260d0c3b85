// One owner type per handle the window makes for itself: GDI fonts and
// brushes, and icons loaded from the program's resources. Each is a
// unique_ptr whose deleter is the handle's own release call, so a handle is
// released exactly once, on every path out of its owner. A window only
// borrows the handles it is given (WM_SETFONT, WM_SETICON), so their owner
// lives until that window is destroyed: the dialogs destroy their windows in
// their destructors, before their members go. Handles the system lends
// (stock objects, the system colours' brushes, a control's own font, shared
// icons) are never put in one.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace varnel {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

}  // namespace varnel
