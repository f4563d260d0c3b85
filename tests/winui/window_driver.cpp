// window_driver.exe VARNEL_EXE WORKDIR COMPANY_NAME OUTPUT READY_FILE: drives
// the Win32 window as an operator would, from outside its process, with
// window messages only. It starts varnel.exe in WORKDIR, checks that the
// window shows COMPANY_NAME (from the demo's Varnel.ini) and its title band,
// that Enter, the arrows and Ctrl+Tab move the focus by the form base's rules,
// presses "Exportar" with a blank "Ficheiro" and checks the error box, opens
// the validation codes' dialog and checks that it refuses a short code,
// fills in OUTPUT and writes the window's client area on the screen ("left
// top width height") into READY_FILE, waits for READY_FILE.taken (the
// screenshot), unlocks the series list with a Ctrl-click on its label,
// starts an export and aborts it, presses "Exportar" again, waits for the
// run to end and checks its final status and the results dialog, then
// closes the window and waits for the program to end. Prints each step;
// exits 0 when every check held.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "winui/resource.h"

namespace {

std::string Utf8(const std::wstring& text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

bool Check(bool condition, const char* what, const std::wstring& seen = L"") {
  std::printf("%s %s%s%s\n", condition ? "ok:  " : "FAIL:", what, seen.empty() ? "" : ": ", Utf8(seen).c_str());
  std::fflush(stdout);
  return condition;
}

struct BoxSearch {
  HWND owner;
  const wchar_t* caption;
  HWND found;
};

// A dialog box of the window's thread, owned by the window, with exactly
// this caption (the window's own caption differs only in letter case).
HWND FindBox(DWORD thread, HWND owner, const wchar_t* caption) {
  BoxSearch search{owner, caption, nullptr};
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<BoxSearch*>(data);
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        if (std::wstring(name) == L"#32770" && GetWindow(window, GW_OWNER) == search->owner &&
            TextOf(window) == search->caption && IsWindowVisible(window)) {
          search->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What the window's thread shows, when the window was not found.
void ListWindows(DWORD thread) {
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        std::printf("  window of class %s, caption \"%s\", %s\n", Utf8(name).c_str(), Utf8(TextOf(window)).c_str(),
                    IsWindowVisible(window) ? "visible" : "hidden");
        return TRUE;
      },
      0);
}

template <typename Condition>
bool WaitFor(Condition condition, int seconds) {
  for (int tick = 0; tick < seconds * 10; ++tick) {
    if (condition()) return true;
    Sleep(100);
  }
  return condition();
}

void Press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

struct Window {
  PROCESS_INFORMATION process{};
  HWND dialog = nullptr;
};

bool Start(const std::wstring& program, const std::wstring& workdir, Window& window) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, workdir.c_str(),
                      &startup, &window.process)) {
    return Check(false, "varnel.exe starts");
  }
  WaitForInputIdle(window.process.hProcess, 30000);
  const bool shown = WaitFor(
      [&] {
        window.dialog = FindWindowW(L"#32770", L"Varnel V6");
        return window.dialog && IsWindowVisible(window.dialog);
      },
      60);
  if (!shown) ListWindows(window.process.dwThreadId);
  return Check(shown, "the window opens", shown ? TextOf(window.dialog) : L"");
}

HWND FocusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The keyboard rules in the window's message loop: a key posted to the
// focused field moves the focus where the form base says.
bool KeysMoveTheFocus(const Window& window) {
  const struct {
    int from;
    WPARAM key;
    int to;
    const char* what;
  } moves[] = {
      {IDC_COMPANYNAME, VK_RETURN, IDC_COMPANYID, "Enter in \"Empresa\" moves to \"Nº Contribuinte\""},
      {IDC_STREETNAME, VK_DOWN, IDC_ADDRESSDETAIL, "Down in \"Morada\" moves to the line below"},
      {IDC_COMPANYID, VK_UP, IDC_COMPANYNAME, "Up in \"Nº Contribuinte\" moves back"},
      {IDC_ESTABELECIMENTO, VK_RETURN, IDC_DATAI, "Enter passes over the locked series"},
      {IDC_TAXCOUNTRYREGION, VK_RETURN, IDC_SAFTTYPE, "Enter in a closed list moves on"},
      {IDC_FICHEIRO, VK_RETURN, IDC_BTEXPORT, "Enter in \"Ficheiro\" passes over the picture button"},
  };
  bool passed = true;
  for (const auto& move : moves) {
    HWND from = GetDlgItem(window.dialog, move.from);
    HWND to = GetDlgItem(window.dialog, move.to);
    SendMessageW(window.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(from), TRUE);
    PostMessageW(from, WM_KEYDOWN, move.key, 1);
    PostMessageW(from, WM_KEYUP, move.key, static_cast<LPARAM>(0xC0000001u));
    passed = Check(WaitFor([&] { return FocusOf(window.process.dwThreadId) == to; }, 10), move.what) && passed;
  }
  return passed;
}

// The series list stays locked on a plain click of its label and opens on a
// Ctrl-click (the label reports the press with the state of Ctrl).
bool CtrlClickUnlocksTheSeries(const Window& window) {
  HWND label = GetDlgItem(window.dialog, IDC_LBSERIE);
  HWND series = GetDlgItem(window.dialog, IDC_FSERIENUM);
  bool passed = Check(!IsWindowEnabled(series), "the series list starts locked");
  PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Sleep(500);
  passed = Check(!IsWindowEnabled(series), "a plain click leaves it locked") && passed;
  PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(5, 5));
  PostMessageW(label, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(5, 5));
  return Check(WaitFor([&] { return IsWindowEnabled(series) != FALSE; }, 10), "a Ctrl-click unlocks it") && passed;
}

// Ctrl+Tab and Ctrl+Shift+Tab typed on the keyboard (the system's input, so
// the window sees Ctrl held), from a date picker, which keeps its arrows.
bool CtrlTabMovesTheFocus(const Window& window) {
  auto type = [](std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> inputs;
    for (const auto& [key, up] : keys) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = key;
      input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  };
  HWND from = GetDlgItem(window.dialog, IDC_DATAI);
  HWND next = GetDlgItem(window.dialog, IDC_DATAF);
  SetForegroundWindow(window.dialog);
  SendMessageW(window.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(from), TRUE);
  type({{VK_CONTROL, false}, {VK_TAB, false}, {VK_TAB, true}, {VK_CONTROL, true}});
  bool passed =
      Check(WaitFor([&] { return FocusOf(window.process.dwThreadId) == next; }, 10), "Ctrl+Tab from a date picker");
  type({{VK_CONTROL, false}, {VK_SHIFT, false}, {VK_TAB, false}, {VK_TAB, true}, {VK_SHIFT, true},
        {VK_CONTROL, true}});
  return Check(WaitFor([&] { return FocusOf(window.process.dwThreadId) == from; }, 10), "Ctrl+Shift+Tab back") &&
         passed;
}

bool BlankPathShowsTheError(const Window& window) {
  HWND dialog = window.dialog;
  SendMessageW(GetDlgItem(dialog, IDC_FICHEIRO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  Press(dialog, IDC_BTEXPORT);
  HWND box = nullptr;
  WaitFor([&] { return (box = FindBox(window.process.dwThreadId, dialog, L"Erro")) != nullptr; }, 30);
  if (!Check(box != nullptr, "a blank path shows an error box captioned \"Erro\"")) return false;
  const std::wstring message = TextOf(GetDlgItem(box, 0xFFFF));
  const bool right = Check(message == L"Falta definir o ficheiro a exportar!", "its message", message);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return Check(WaitFor([&] { return !IsWindow(box); }, 30), "the box closes") && right;
}

// "Códigos ATCUD...": the codes' dialog opens, refuses a code of five
// letters where it is entered, and closes on "Cancelar" with nothing saved.
bool CodesDialogRefusesAShortCode(const Window& window) {
  const DWORD thread = window.process.dwThreadId;
  Press(window.dialog, IDC_BTATCUD);
  HWND codes = nullptr;
  WaitFor([&] { return (codes = FindBox(thread, window.dialog, L"Códigos de validação ATCUD")) != nullptr; }, 30);
  if (!Check(codes != nullptr, "\"Códigos ATCUD...\" opens the validation codes' dialog")) return false;
  SendMessageW(GetDlgItem(codes, IDC_ATCUD_TYPE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"FT"));
  SendMessageW(GetDlgItem(codes, IDC_ATCUD_SERIES), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"A"));
  SendMessageW(GetDlgItem(codes, IDC_ATCUD_CODE), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"CURTO"));
  Press(codes, IDC_ATCUD_ADD);
  HWND box = nullptr;
  WaitFor([&] { return (box = FindBox(thread, codes, L"Erro")) != nullptr; }, 30);
  bool right = Check(box != nullptr, "a code of five letters is refused where it is entered");
  if (box) {
    const std::wstring message = TextOf(GetDlgItem(box, 0xFFFF));
    right = Check(message.rfind(L"Código de validação inválido", 0) == 0, "its message", message) && right;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); }, 30);
  }
  Press(codes, IDCANCEL);
  return Check(WaitFor([&] { return !IsWindow(codes); }, 30), "\"Cancelar\" closes it") && right;
}

// The run ends when the data panel takes input again; an error box ends the
// wait as well (and fails).
bool WaitForTheRun(const Window& window, std::wstring& final_status) {
  HWND dialog = window.dialog;
  HWND status = GetDlgItem(dialog, IDC_NFILES);
  HWND failure = nullptr;
  const bool ended = WaitFor(
      [&] {
        failure = FindBox(window.process.dwThreadId, dialog, L"Varnel v6");
        if (!failure) failure = FindBox(window.process.dwThreadId, dialog, L"Erro");
        return failure || (IsWindowVisible(GetDlgItem(dialog, IDC_BTEXPORT)) && IsWindowVisible(status) &&
                           IsWindowEnabled(GetDlgItem(dialog, IDC_COMPANYNAME)));
      },
      600);
  if (failure) return Check(false, "the export ends without an error box", TextOf(GetDlgItem(failure, 0xFFFF)));
  final_status = TextOf(status);
  return Check(ended, "the run ends and the data panel is back", final_status);
}

// "Abortar" pressed as soon as the processing panel shows: the run's pending
// input is handled during the run, and the run stops.
bool AbortStopsARun(const Window& window) {
  HWND dialog = window.dialog;
  SendMessageW(GetDlgItem(dialog, IDC_FICHEIRO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abortado"));
  Press(dialog, IDC_BTEXPORT);
  HWND abort = GetDlgItem(dialog, IDC_BTABORT);
  const bool shown = WaitFor([&] { return IsWindowVisible(abort) != FALSE; }, 300);
  bool passed = Check(shown, "\"Abortar\" shows during the run");
  Press(dialog, IDC_BTABORT);
  std::wstring final_status;
  passed = WaitForTheRun(window, final_status) && passed;
  return Check(final_status == L"Operação abortada!", "\"Abortar\" stops it", final_status) && passed;
}

bool ExportRuns(const Window& window, const std::wstring& output) {
  HWND dialog = window.dialog;
  Press(dialog, IDC_BTEXPORT);
  std::wstring final_status;
  bool right = WaitForTheRun(window, final_status);
  right = Check(final_status.rfind(L"Ficheiro verificado: sem erros", 0) == 0, "the verifier's outcome",
                final_status) && right;
  HWND results = nullptr;
  WaitFor([&] { return (results = FindBox(window.process.dwThreadId, dialog, L"Verificação do ficheiro")); }, 10);
  right = Check(results != nullptr, "the results open beside the window") && right;
  if (results) {
    const std::wstring outcome = TextOf(GetDlgItem(results, IDC_RESULTS_OUTCOME));
    right = Check(outcome == final_status, "with the outcome", outcome) && right;
  }
  return Check(TextOf(GetDlgItem(dialog, IDC_FICHEIRO)) == output, "the path shown", output) && right;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 6) {
    std::fputs("usage: window_driver VARNEL_EXE WORKDIR COMPANY_NAME OUTPUT READY_FILE\n", stderr);
    return 2;
  }
  const std::wstring program = arguments[1], workdir = arguments[2], company = arguments[3];
  const std::wstring output = arguments[4], ready = arguments[5];
  Window window;
  if (!Start(program, workdir, window)) return 1;
  HWND dialog = window.dialog;
  bool passed = Check(TextOf(GetDlgItem(dialog, IDC_COMPANYNAME)) == company, "the stored company name",
                      TextOf(GetDlgItem(dialog, IDC_COMPANYNAME)));
  const std::wstring title = TextOf(GetDlgItem(dialog, IDC_TITLEBAND));
  passed = Check(title.rfind(L"Exportação SAF-T-PT modelo ", 0) == 0, "the title band", title) && passed;
  passed = KeysMoveTheFocus(window) && passed;
  passed = CtrlTabMovesTheFocus(window) && passed;
  passed = BlankPathShowsTheError(window) && passed;
  passed = CodesDialogRefusesAShortCode(window) && passed;

  SendMessageW(GetDlgItem(dialog, IDC_FICHEIRO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()));
  RECT place;  // the client area, on the screen
  GetClientRect(dialog, &place);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&place), 2);
  if (FILE* file = _wfopen(ready.c_str(), L"w")) {
    std::fprintf(file, "%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left,
                 place.bottom - place.top);
    std::fclose(file);
  }
  const std::wstring taken = ready + L".taken";
  WaitFor([&] { return GetFileAttributesW(taken.c_str()) != INVALID_FILE_ATTRIBUTES; }, 120);

  passed = CtrlClickUnlocksTheSeries(window) && passed;
  passed = AbortStopsARun(window) && passed;
  SendMessageW(GetDlgItem(dialog, IDC_FICHEIRO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()));
  passed = ExportRuns(window, output) && passed;
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(window.process.hProcess, 30000) == WAIT_OBJECT_0;
  passed = Check(ended, "the window closes and the program ends") && passed;
  if (!ended) TerminateProcess(window.process.hProcess, 1);
  CloseHandle(window.process.hThread);
  CloseHandle(window.process.hProcess);
  LocalFree(arguments);
  std::printf("%s\n", passed ? "window smoke test passed" : "window smoke test FAILED");
  return passed ? 0 : 1;
}
