// File names as the platform the point-of-sale product comes from treats
// them: letter case does not matter when a file is looked up, and "\" is a
// path separator as well as "/". Thin layer over std::filesystem. Names are
// UTF-8 text everywhere in the program; they become paths (UTF-16 on
// Windows) and paths become text only through the functions here, never
// through the narrow std::filesystem conversions, which on Windows go
// through the ANSI code page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// The path named by UTF-8 text, and the UTF-8 text of a path.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// A path as messages show it: UTF-8, with the platform's separator ("\" on
// Windows, "/" elsewhere).
std::string DisplayPath(const std::filesystem::path& path);

// The entry of directory whose name equals name ignoring ASCII letter case
// (an exact match wins); nullopt when there is none or the directory cannot
// be read.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name);

// A path typed with "\" or "/" separators, made usable here: "\" becomes "/".
// Relative paths stay relative (to the working directory).
std::filesystem::path PathFromTyped(std::string_view typed);

// typed with its extension replaced by ".xml": the extension is the text from
// the last full stop, provided that full stop stands after the last "\", "/"
// and ":"; a name without one gets ".xml" appended.
std::string ForceXmlExtension(std::string_view typed);

}  // namespace varnel
