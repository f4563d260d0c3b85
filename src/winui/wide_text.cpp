// Conversions through the system's own UTF-8 code page; text that is not
// valid UTF-8 comes out with the system's replacement characters.
#include "winui/wide_text.h"

namespace varnel {

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
  return out;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr, nullptr);
  return out;
}

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
