// Windows: the path as it is, unless the program runs under Wine (kernel32
// then has wine_get_unix_file_name), where the host's name of the file is
// what the host's driver opens.
#include "support/driver_path.h"

#include <windows.h>

#include <cstdlib>

#include "base/file_names.h"

namespace varnel::testing {

std::string DriverSidePath(const std::filesystem::path& path) {
  using UnixName = char* (*)(const wchar_t*);
  const auto unix_name = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return Utf8FromPath(path);
  char* name = unix_name(std::filesystem::absolute(path).c_str());
  if (name == nullptr) return Utf8FromPath(path);
  std::string text(name);
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

}  // namespace varnel::testing
