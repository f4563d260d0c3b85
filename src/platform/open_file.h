// Opening a C stdio stream on a file named by a std::filesystem::path, with
// the name exactly as the path holds it: fopen on POSIX, _wfopen on Windows
// (whose fopen takes the ANSI code page and would mangle "Março €.xml").
#pragma once

#include <cstdio>
#include <filesystem>

namespace varnel::platform {

// mode as for fopen ("wb", "rb"); nullptr with errno set on failure.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace varnel::platform
