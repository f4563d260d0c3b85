// Arguments to UTF-8: the platform's UTF-16 arguments when it has them,
// else main()'s bytes as they are.
#include "base/program_arguments.h"

#include "base/text_encoding.h"
#include "platform/arguments.h"

namespace varnel {

std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv) {
  if (auto wide = platform::WideArguments()) {
    std::vector<std::string> arguments;
    arguments.reserve(wide->size());
    for (const std::u16string& argument : *wide) arguments.push_back(Utf16ToUtf8(argument));
    return arguments;
  }
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace varnel
