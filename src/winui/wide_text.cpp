// Windows' wchar_t is a UTF-16 unit, so a wide string is the module's
// UTF-16 text unit for unit.
#include "winui/wide_text.h"

#include "base/text_encoding.h"

namespace varnel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring WideFromUtf8(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Utf8FromWide(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

void SetControlText(HWND control, std::string_view text) {
  std::wstring wide = WideFromUtf8(text);
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  if (std::wstring_view(kind) == L"Static" && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_RIGHT) {
    wide += L'\u00A0';
  }
  SetWindowTextW(control, wide.c_str());
}

}  // namespace varnel
