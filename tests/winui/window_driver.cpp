// window_driver.exe VARNEL_EXE WORKDIR COMPANY_NAME OUTPUT READY_FILE: drives
// the Win32 window as an operator would, from outside its process, with
// window messages and typed keys. It starts varnel.exe in WORKDIR, checks
// that the window shows COMPANY_NAME (from the demo's Varnel.ini) and its
// title band, that no static text or button text is wider than its control,
// that the key indicator names the demo's key and has room for its longest
// texts, that Enter, the arrows and Ctrl+Tab move the focus by the form base's
// rules, presses "Exportar" with a blank "Ficheiro" and checks the error box,
// types the period 01/03/2016 to 31/03/2016 over the default one and checks
// that no day was lost (a lost day would make the window ask about the days
// left out before the error box), types the default period back, opens the
// validation codes' dialog and checks its texts and that it refuses a short
// code, fills in OUTPUT and writes the window's client area on the screen
// ("left top width height") into READY_FILE, waits for READY_FILE.taken
// (the screenshot), unlocks the series list with a Ctrl-click on its label,
// starts an export and aborts it (checking the processing panel's texts),
// presses "Exportar" again, waits for the run to end and checks its final
// status and the results dialog with its texts and column headers, then
// closes the window and waits for the program to end. The driver is DPI
// aware, so it measures at the DPI the window is shown at (the Windows job
// runs it at 96 and 144 DPI). Prints each step; exits 0 when every check
// held.
#include <windows.h>
#include <shellapi.h>

#include <commctrl.h>

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

// Polls condition every tick_ms milliseconds for up to seconds.
template <typename Condition>
bool WaitFor(Condition condition, int seconds, int tick_ms = 100) {
  for (int tick = 0; tick < seconds * 1000 / tick_ms; ++tick) {
    if (condition()) return true;
    Sleep(static_cast<DWORD>(tick_ms));
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

// ---- Texts that do not fit ---------------------------------------------------

// The font a control draws with, made in this process: its own font read
// with GetObjectW, or, where the handle of another process cannot be read,
// the resource script's dialog font, "MS Shell Dlg" at 8 points.
HFONT FontOf(HWND control, int dpi) {
  LOGFONTW font{};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  const auto handle = reinterpret_cast<HFONT>(result);
  if (!handle || GetObjectW(handle, sizeof(font), &font) == 0) {
    font = LOGFONTW{};
    font.lfHeight = -MulDiv(8, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpyW(font.lfFaceName, L"MS Shell Dlg");
  }
  return CreateFontIndirectW(&font);
}

// The text without the "&" marks of a mnemonic ("&&" is one "&").
std::wstring Shown(const std::wstring& text) {
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

struct Measure {
  HDC dc;
  HFONT font;
  HGDIOBJ old;
  Measure(HWND control, int dpi) : dc(GetDC(nullptr)), font(FontOf(control, dpi)), old(SelectObject(dc, font)) {}
  ~Measure() {
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
  }
  SIZE extent(const std::wstring& text) const {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
  }
};

struct FitSearch {
  int dpi;
  std::vector<std::wstring> cut;
};

// One static text or push button: its text against its client rectangle. A
// static text as tall as two lines may wrap; then the wrapped lines must fit
// its height.
void CheckFit(HWND control, FitSearch& search) {
  if (!IsWindowVisible(control)) return;
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  const std::wstring kind = name;
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const std::wstring text = Shown(TextOf(control));
  if (text.empty()) return;
  RECT client;
  GetClientRect(control, &client);
  const Measure measure(control, search.dpi);
  const SIZE size = measure.extent(text);
  int room = client.right;
  bool fits = true;
  if (kind == L"Static") {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) {
      return;
    }
    const bool wraps = (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) && !(style & SS_CENTERIMAGE) &&
                       client.bottom >= 2 * size.cy;
    if (wraps) {
      RECT needed{0, 0, client.right, 0};
      DrawTextW(measure.dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK);
      fits = needed.bottom <= client.bottom && needed.right <= client.right;
    } else {
      fits = size.cx <= room;
    }
    // Right-aligned, the last letter stands at the edge, where a font that
    // draws a pixel past its advance is clipped: it needs a blank after it.
    std::wstring letters = text;
    while (!letters.empty() && (letters.back() == L' ' || letters.back() == 0x00A0)) letters.pop_back();
    if (type == SS_RIGHT && size.cx - measure.extent(letters).cx < MulDiv(2, search.dpi, 96)) {
      search.cut.push_back(L"\"" + text + L"\" (no room after its last letter at the right edge)");
    }
  } else if (kind == L"Button") {
    const LONG type = style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return;
    room -= MulDiv(8, search.dpi, 96);  // the button's edge and the text's margins
    fits = size.cx <= room;
  } else {
    return;
  }
  if (!fits) {
    search.cut.push_back(L"\"" + text + L"\" (" + std::to_wstring(size.cx) + L" px in " + std::to_wstring(room) + L")");
  }
}

int DpiOf() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Every visible static text and push button of window fits.
bool TextsFit(HWND window, const char* where) {
  FitSearch search{DpiOf(), {}};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        CheckFit(child, *reinterpret_cast<FitSearch*>(data));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::wstring cut;
  for (const std::wstring& text : search.cut) cut += (cut.empty() ? L"" : L"; ") + text;
  return Check(search.cut.empty(), where, cut);
}

// The column headers of a report list, whose texts the driver knows (a
// header item's text cannot be read from another process), against the
// columns' widths.
bool HeadersFit(HWND list, std::initializer_list<const wchar_t*> headers, const char* where) {
  const int dpi = DpiOf();
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const Measure measure(header ? header : list, dpi);
  std::wstring cut;
  int column = 0;
  for (const wchar_t* title : headers) {
    const int width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column++, 0));
    const int needed = measure.extent(title).cx + MulDiv(12, dpi, 96);
    if (needed > width) {
      cut += std::wstring(cut.empty() ? L"" : L"; ") + L"\"" + title + L"\" (" + std::to_wstring(needed) +
             L" px in " + std::to_wstring(width) + L")";
    }
  }
  return Check(cut.empty(), where, cut);
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

// Keys typed on the keyboard (the system's input): each a key and whether
// it is released.
void type(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (const auto& [key, up] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Digits typed one by one into the control that holds the focus.
void TypeDigits(const std::wstring& digits) {
  for (const wchar_t digit : digits) {
    type({{static_cast<WORD>(digit), false}, {static_cast<WORD>(digit), true}});
    Sleep(60);
  }
}

// Ctrl+Tab and Ctrl+Shift+Tab typed on the keyboard (the system's input, so
// the window sees Ctrl held), from a date picker, which keeps its arrows.
bool CtrlTabMovesTheFocus(const Window& window) {
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

// The period typed over the default one, digits only, with "Ficheiro"
// blank, so a run stops at its first check, the "Erro" box. First 01032016
// to 30032016: the window asks about the 31st left out (so the typed dates
// reached the model) and "Não" runs nothing. Then 31032016 typed over a
// month of 30 days: no question, as no day was lost, and the "Erro" box.
// Then the default period is typed back.
HWND WaitForBox(const Window& window, const wchar_t* caption_one, const wchar_t* caption_two, HWND& found_two) {
  HWND one = nullptr;
  WaitFor(
      [&] {
        one = FindBox(window.process.dwThreadId, window.dialog, caption_one);
        found_two = FindBox(window.process.dwThreadId, window.dialog, caption_two);
        return one || found_two;
      },
      30);
  return one;
}

void CloseBox(HWND box, int button) {
  if (!box) return;
  PostMessageW(box, WM_COMMAND, button, 0);
  WaitFor([&] { return !IsWindow(box); }, 30);
}

bool DatesKeepTheirDay(const Window& window, const SYSTEMTIME& first, const SYSTEMTIME& last) {
  HWND dialog = window.dialog;
  auto type_date = [&](int id, const std::wstring& digits) {
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
    Sleep(200);
    TypeDigits(digits);
  };
  SendMessageW(GetDlgItem(dialog, IDC_FICHEIRO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  type_date(IDC_DATAI, L"01032016");
  type_date(IDC_DATAF, L"30032016");
  Press(dialog, IDC_BTEXPORT);
  HWND error = nullptr;
  HWND question = WaitForBox(window, L"Varnel v6", L"Erro", error);
  const std::wstring asked = question ? TextOf(GetDlgItem(question, 0xFFFF)) : L"";
  bool passed = Check(asked.rfind(L"A data final, 30/03/2016, deixa de fora o dia 31/03/2016", 0) == 0,
                      "01/03/2016 to 30/03/2016 typed: the window asks about the 31st", asked);
  CloseBox(question, IDNO);
  CloseBox(error, IDOK);

  type_date(IDC_DATAF, L"30112026");  // a month of 30 days
  type_date(IDC_DATAF, L"31032016");
  Press(dialog, IDC_BTEXPORT);
  error = WaitForBox(window, L"Erro", L"Varnel v6", question);
  passed = Check(question == nullptr, "31032016 typed over 30/11/2026 keeps the 31st: nothing asked",
                 question ? TextOf(GetDlgItem(question, 0xFFFF)) : L"") && passed;
  passed = Check(error != nullptr, "the run stops at its first check") && passed;
  CloseBox(question, IDNO);
  CloseBox(error, IDOK);

  wchar_t digits[16];
  swprintf(digits, 16, L"%02u%02u%04u", first.wDay, first.wMonth, first.wYear);
  type_date(IDC_DATAI, digits);
  swprintf(digits, 16, L"%02u%02u%04u", last.wDay, last.wMonth, last.wYear);
  type_date(IDC_DATAF, digits);
  return passed;
}

// "Códigos ATCUD...": the codes' dialog opens, refuses a code of five
// letters where it is entered, and closes on "Cancelar" with nothing saved.
bool CodesDialogRefusesAShortCode(const Window& window) {
  const DWORD thread = window.process.dwThreadId;
  Press(window.dialog, IDC_BTATCUD);
  HWND codes = nullptr;
  WaitFor([&] { return (codes = FindBox(thread, window.dialog, L"Códigos de validação ATCUD")) != nullptr; }, 30);
  if (!Check(codes != nullptr, "\"Códigos ATCUD...\" opens the validation codes' dialog")) return false;
  bool fit = TextsFit(codes, "the codes' dialog: every text fits");
  fit = HeadersFit(GetDlgItem(codes, IDC_ATCUD_LIST), {L"Tipo", L"Série", L"Código de validação"},
                   "the codes' dialog: every column header fits") && fit;
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
  return Check(WaitFor([&] { return !IsWindow(codes); }, 30), "\"Cancelar\" closes it") && right && fit;
}

// The key indicator beside "Códigos ATCUD...": the demo's key of Varnel.ini,
// and room for the indicator's longest texts.
bool KeyIndicatorFits(const Window& window) {
  HWND label = GetDlgItem(window.dialog, IDC_LBCHAVE);
  const std::wstring shown = TextOf(label);
  bool passed = Check(shown == L"Chave pública: versão 1", "the key indicator names the demo's key", shown);
  for (const wchar_t* text :
       {L"Chaves públicas: versões 1 e 2", L"Chave pública: versão 12 com erro", L"Chave pública: erro em Varnel.ini"}) {
    SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    passed = TextsFit(window.dialog, "the key indicator's longest texts fit") && passed;
  }
  SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str()));
  return passed;
}

// A status text a run ends with: the verifier's outcome or the abort's. The
// run's first texts ("A salvar a configuração", the maintenance's) can show
// while the data panel is still up, so the panel alone does not say the run
// has ended.
bool IsFinalStatus(const std::wstring& text) {
  return text.rfind(L"Ficheiro verificado", 0) == 0 || text.rfind(L"Ficheiro não verificado", 0) == 0 ||
         text == L"Operação abortada!";
}

// The run ends when the data panel takes input again and the status line
// shows how the run ended; an error box ends the wait as well (and fails).
// before: the status line's text before "Exportar" was pressed (posted, the
// press may not have been handled yet, and the window looks as it did).
bool WaitForTheRun(const Window& window, std::wstring& final_status, const std::wstring& before) {
  HWND dialog = window.dialog;
  HWND status = GetDlgItem(dialog, IDC_NFILES);
  HWND failure = nullptr;
  const bool ended = WaitFor(
      [&] {
        failure = FindBox(window.process.dwThreadId, dialog, L"Varnel v6");
        if (!failure) failure = FindBox(window.process.dwThreadId, dialog, L"Erro");
        if (failure) return true;
        // The status first: its text comes through the window's thread, which
        // answers between the run's steps only, so the panel's state read
        // after it is no older than it. Read the other way round, the panel
        // could be seen as it was before the press was handled and the text
        // of a step of the run.
        const std::wstring shown = TextOf(status);
        return shown != before && IsFinalStatus(shown) && IsWindowVisible(GetDlgItem(dialog, IDC_BTEXPORT)) &&
               IsWindowVisible(status) && IsWindowEnabled(GetDlgItem(dialog, IDC_COMPANYNAME));
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
  const std::wstring before = TextOf(GetDlgItem(dialog, IDC_NFILES));
  Press(dialog, IDC_BTEXPORT);
  HWND abort = GetDlgItem(dialog, IDC_BTABORT);
  // The demo month takes a fraction of a second: look often.
  const bool shown = WaitFor([&] { return IsWindowVisible(abort) != FALSE; }, 300, 2);
  bool passed = Check(shown, "\"Abortar\" shows during the run");
  Press(dialog, IDC_BTABORT);
  // Measured after the press: the texts are read from the window's thread,
  // which answers only between the run's steps.
  passed = TextsFit(dialog, "the processing panel: every text fits") && passed;
  std::wstring final_status;
  passed = WaitForTheRun(window, final_status, before) && passed;
  // The press lands during the export, or, when the export was quicker,
  // during its verification, which it stops instead.
  const bool stopped =
      final_status == L"Operação abortada!" || final_status == L"Ficheiro não verificado: verificação abortada";
  return Check(stopped, "\"Abortar\" stops it", final_status) && passed;
}

bool ExportRuns(const Window& window, const std::wstring& output) {
  HWND dialog = window.dialog;
  const std::wstring before = TextOf(GetDlgItem(dialog, IDC_NFILES));
  Press(dialog, IDC_BTEXPORT);
  std::wstring final_status;
  bool right = WaitForTheRun(window, final_status, before);
  right = Check(final_status.rfind(L"Ficheiro verificado: sem erros", 0) == 0, "the verifier's outcome",
                final_status) && right;
  HWND results = nullptr;
  WaitFor([&] { return (results = FindBox(window.process.dwThreadId, dialog, L"Verificação do ficheiro")); }, 10);
  right = Check(results != nullptr, "the results open beside the window") && right;
  if (results) {
    const std::wstring outcome = TextOf(GetDlgItem(results, IDC_RESULTS_OUTCOME));
    right = Check(outcome == final_status, "with the outcome", outcome) && right;
    const std::wstring counts = TextOf(GetDlgItem(results, IDC_RESULTS_SEVERITIES));
    right = Check(counts.rfind(L"0 erros, ", 0) == 0, "the findings' counts above them", counts) && right;
    right = TextsFit(results, "the results: every text fits") && right;
    right = HeadersFit(GetDlgItem(results, IDC_RESULTS_FINDINGS), {L"Gravidade", L"Secção", L"Documento", L"Mensagem"},
                       "the findings: every column header fits") && right;
    right = HeadersFit(GetDlgItem(results, IDC_RESULTS_VAT),
                       {L"Região", L"Código", L"Taxa", L"Base tributável", L"IVA", L"Total"},
                       "the VAT summary: every column header fits") && right;
  }
  right = TextsFit(dialog, "after the export: every text fits") && right;
  return Check(TextOf(GetDlgItem(dialog, IDC_FICHEIRO)) == output, "the path shown", output) && right;
}

}  // namespace

// The default period: the whole month before today's.
void PreviousMonth(SYSTEMTIME& first, SYSTEMTIME& last) {
  SYSTEMTIME today{};
  GetLocalTime(&today);
  first = SYSTEMTIME{};
  first.wYear = today.wMonth == 1 ? today.wYear - 1 : today.wYear;
  first.wMonth = today.wMonth == 1 ? 12 : today.wMonth - 1;
  first.wDay = 1;
  static const WORD kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (first.wYear % 4 == 0 && first.wYear % 100 != 0) || first.wYear % 400 == 0;
  last = first;
  last.wDay = first.wMonth == 2 && leap ? 29 : kDays[first.wMonth - 1];
}

int main() {
  SetProcessDPIAware();  // measures and places in the pixels the window is shown in
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
  std::printf("the screen's DPI: %d\n", DpiOf());
  passed = TextsFit(dialog, "the data panel: every text fits") && passed;
  passed = KeyIndicatorFits(window) && passed;
  passed = KeysMoveTheFocus(window) && passed;
  passed = CtrlTabMovesTheFocus(window) && passed;
  passed = BlankPathShowsTheError(window) && passed;
  SYSTEMTIME first{};
  SYSTEMTIME last{};
  PreviousMonth(first, last);
  passed = DatesKeepTheirDay(window, first, last) && passed;
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
