// POSIX arguments: already the bytes the user typed.
#include "platform/arguments.h"

namespace varnel::platform {

std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace varnel::platform
