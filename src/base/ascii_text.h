// Letter case and blanks of ASCII names: column, parameter, key, section and
// file names, provider names, option words. Only A-Z fold; every other byte,
// UTF-8 included, stays as it is, so no locale can change a comparison.
#pragma once

#include <string>
#include <string_view>

namespace varnel {

char FoldAscii(char c);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// text without the white space (blank, tab, CR, LF, FF, VT) at both ends.
std::string_view TrimWhiteSpace(std::string_view text);

}  // namespace varnel
