// The program's command-line arguments as the system keeps them. POSIX passes
// main() the bytes as typed (UTF-8 on every system the program supports), so
// there is nothing more to read. Windows passes main() the ANSI code page,
// which cannot hold every file name; there the arguments are read again as
// UTF-16 from the process's command line. The layer above turns them into
// the program's UTF-8 (base/program_arguments.h), since the conversion lives
// there and this floor is below it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varnel::platform {

// The arguments after the program's name in UTF-16, split the way the C
// runtime splits the command line; nullopt where main()'s bytes are the
// arguments (POSIX) or the command line cannot be split.
std::optional<std::vector<std::u16string>> WideArguments();

}  // namespace varnel::platform
