// UTF-8, the program's text, and UTF-16, the Windows API's: the Win32 view's
// wide strings, converted by the program's one text-encoding module
// (base/text_encoding.h). Text that is not valid UTF-8 comes out with U+FFFD
// in place of each damaged byte, an unpaired surrogate as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace varnel {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace varnel
