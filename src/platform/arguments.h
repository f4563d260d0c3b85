// The program's command-line arguments as UTF-8, whatever the platform gives
// main(): POSIX passes the bytes as typed (UTF-8 on every system the program
// supports); Windows passes main() the ANSI code page, which cannot hold
// every file name, so there the arguments are read again as UTF-16 from the
// process's command line and converted once, here.
#pragma once

#include <string>
#include <vector>

namespace varnel::platform {

// The arguments after the program's name.
std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv);

}  // namespace varnel::platform
