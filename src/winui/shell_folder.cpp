#include "winui/shell_folder.h"

#include <shellapi.h>

#include "winui/wide_text.h"

namespace varnel {

bool OpenFolderInShell(HWND owner, const std::string& folder) {
  const HINSTANCE result =
      ShellExecuteW(owner, L"open", WideFromUtf8(folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace varnel
