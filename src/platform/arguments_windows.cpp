// Windows arguments: the UTF-16 command line split the way the C runtime
// splits it (CommandLineToArgvW), each argument converted to UTF-8.
#include "platform/arguments.h"

#include <windows.h>
#include <shellapi.h>

namespace varnel::platform {

namespace {

std::string Utf8FromWide(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(bytes) - 1);
  return out;
}

}  // namespace

std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace varnel::platform
