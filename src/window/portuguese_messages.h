// The window speaks Portuguese throughout. The core reports file errors in
// its own words (the headless exporter's logs and tests read them as they
// are); the window shows them in Portuguese, the system's reason included
// for the common cases: folder missing, no permission, disk full, file in
// use, read-only disk. Texts of any other form pass unchanged.
#pragma once

#include <string>

namespace varnel {

// message (with its full stop) as the window shows it.
std::string PortugueseMessage(const std::string& message);

}  // namespace varnel
