// Showing a folder in the system's file manager ("Abrir pasta" of the
// window and of the verifier's results).
#pragma once

#include <windows.h>

#include <string>

namespace varnel {

// Opens the folder (UTF-8 path) in Explorer; false when the shell could not
// (ShellExecuteW answers 32 or less: the folder is gone, no file manager).
bool OpenFolderInShell(HWND owner, const std::string& folder);

}  // namespace varnel
