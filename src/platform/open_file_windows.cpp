// Windows: the path's UTF-16 name goes to _wfopen.
#include "platform/open_file.h"

#include <string>

namespace varnel::platform {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
}

}  // namespace varnel::platform
