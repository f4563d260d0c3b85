// UTF-8, the program's text, and UTF-16, the Windows API's: the one place
// where the Win32 view converts between them.
#pragma once

#include <string>
#include <string_view>

namespace varnel {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace varnel
