// Windows arguments: the UTF-16 command line split the way the C runtime
// splits it (CommandLineToArgvW), handed over as UTF-16 units.
#include "platform/arguments.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>

namespace varnel::platform {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

struct LocalFreeDeleter {
  void operator()(wchar_t** block) const { LocalFree(block); }
};

}  // namespace

std::optional<std::vector<std::u16string>> WideArguments() {
  int count = 0;
  const std::unique_ptr<wchar_t*, LocalFreeDeleter> wide(CommandLineToArgvW(GetCommandLineW(), &count));
  if (wide == nullptr) return std::nullopt;
  std::vector<std::u16string> arguments;
  for (int i = 1; i < count; ++i) {
    const wchar_t* argument = wide.get()[i];
    arguments.emplace_back(argument, argument + std::wcslen(argument));
  }
  return arguments;
}

}  // namespace varnel::platform
