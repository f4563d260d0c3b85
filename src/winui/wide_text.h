// UTF-8, the program's text, and UTF-16, the Windows API's: the Win32 view's
// wide strings, converted by the program's one text-encoding module
// (base/text_encoding.h), and where a control's text is set from the
// program's words. Text that is not valid UTF-8 comes out with U+FFFD in
// place of each damaged byte, an unpaired surrogate as U+FFFD.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace varnel {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// A control's text. A right-aligned static text (a label standing before
// its field) ends with a no-break space: a static control clips its text at
// its edge, and the last letter of some fonts draws a pixel past its
// advance ("ficheiro" lost half of its "o" under Wine at 96 DPI).
void SetControlText(HWND control, std::string_view text);

}  // namespace varnel
