// POSIX: the path's bytes go to fopen as they are.
#include "platform/open_file.h"

namespace varnel::platform {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

}  // namespace varnel::platform
