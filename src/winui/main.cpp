// varnel.exe: the operator window on Windows, the Win32 view over the window
// model. Takes no arguments; works in the working directory (Korvel.UDL,
// .\Korvel.ini, .\Varnel.ini) and runs until the window is closed. "Sair"
// during a run asks first; confirmed, the run is aborted and the program
// ends when it is over.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "window/window_texts.h"
#include "winui/main_dialog.h"
#include "winui/wide_text.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  const bool controls_ready = InitCommonControlsEx(&controls) != FALSE;
  varnel::MainDialog dialog(instance, {});
  if (!controls_ready || !dialog.create(show_command)) {
    // Without its window the program would end unseen: say so, with the
    // system's error number for the technician.
    const std::string text = "Não foi possível abrir a janela do Varnel V6 (erro " +
                             std::to_string(GetLastError()) + " do Windows).";
    MessageBoxW(nullptr, varnel::WideFromUtf8(text).c_str(), varnel::WideFromUtf8(varnel::kWindowCaption).c_str(),
                MB_OK | MB_ICONERROR);
    return 1;
  }
  return dialog.run();
}
