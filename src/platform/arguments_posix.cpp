// POSIX arguments: main() already has the bytes the user typed.
#include "platform/arguments.h"

namespace varnel::platform {

std::optional<std::vector<std::u16string>> WideArguments() { return std::nullopt; }

}  // namespace varnel::platform
