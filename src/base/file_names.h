// File names as the platform the point-of-sale product comes from treats
// them: letter case does not matter when a file is looked up, and "\" is a
// path separator as well as "/". Thin layer over std::filesystem.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

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
