// varnel.exe: the operator window on Windows, the Win32 view over the window
// model. Takes no arguments; works in the working directory (Korvel.UDL,
// .\Korvel.ini, .\Varnel.ini) and runs until the window is closed. "Sair"
// during a run asks first; confirmed, the run is aborted and the program
// ends when it is over.
#include <windows.h>
#include <commctrl.h>

#include "winui/main_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_DATE_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  varnel::MainDialog dialog(instance, {});
  if (!dialog.create(show_command)) return 1;
  return dialog.run();
}
