// The program's command-line arguments as UTF-8 text, whatever form the
// platform keeps them in: main()'s bytes on POSIX, the UTF-16 command line
// on Windows (platform/arguments.h), converted here once.
#pragma once

#include <string>
#include <vector>

namespace varnel {

// The arguments after the program's name.
std::vector<std::string> ArgumentsAsUtf8(int argc, char** argv);

}  // namespace varnel
