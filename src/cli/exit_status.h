// The headless exporter's exit status written to a file (--status), for a
// scheduled run, which has no console to show its texts: the first line is
// the status alone (0, 1, 2, 3 or 130) for a script to read, the second says
// what it means, and the error texts the run showed follow, one per line.
// UTF-8, every line ending with CR LF (the file is read on Windows, in
// Notepad, beside the audit file).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace varnel {

std::string ExitStatusText(int status, const std::vector<std::string>& errors);

// Writes ExitStatusText to path; false, with the reason in error, when the
// file cannot be written.
bool WriteExitStatus(const std::filesystem::path& path, int status, const std::vector<std::string>& errors,
                     std::string& error);

}  // namespace varnel
