// What the window model asks of the Win32 view: values into the controls,
// controls and panels shown, hidden, enabled, the focus, the error boxes and
// the yes/no question (captioned as the model says, "Sim" and "Não" on its
// buttons whatever the system's language), the save dialog, the folder.
#include "winui/main_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "window/window_texts.h"
#include "winui/atcud_dialog.h"
#include "winui/control_ids.h"
#include "winui/results_dialog.h"
#include "winui/shell_folder.h"
#include "winui/wide_text.h"

namespace varnel {

namespace {

// The controls of a panel: the data panel's range or the processing panel's.
std::vector<int> PanelIds(Control panel) {
  std::vector<int> ids;
  const int first = panel == Control::pdados ? IDC_DATA_FIRST + 1 : IDC_PROCESSAR;
  const int last = panel == Control::pdados ? IDC_DATA_LAST : IDC_LBPROCESSAR;
  for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

bool IsPanel(Control control) { return control == Control::pdados || control == Control::processar; }

// Names the question's buttons "Sim" and "Não" as its box opens.
thread_local HHOOK t_question_hook = nullptr;
LRESULT CALLBACK NameQuestionButtons(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    auto box = reinterpret_cast<HWND>(wparam);
    SetDlgItemTextW(box, IDYES, WideFromUtf8(buttons::kYes).c_str());
    SetDlgItemTextW(box, IDNO, WideFromUtf8(buttons::kNo).c_str());
    UnhookWindowsHookEx(t_question_hook);
    t_question_hook = nullptr;
    return 0;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::wstring WithBackslashes(std::string_view path) {
  std::wstring wide = WideFromUtf8(path);
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  return wide;
}

}  // namespace

void MainDialog::showText(TextField field, const std::string& text) {
  HWND edit = item(IdOf(field));
  std::wstring now(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  now.resize(static_cast<std::size_t>(GetWindowTextW(edit, now.data(), static_cast<int>(now.size()))));
  if (Utf8FromWide(now) != text) SetWindowTextW(edit, WideFromUtf8(text).c_str());
}

void MainDialog::showChoice(ListField list, int index) {
  SendMessageW(item(IdOf(list)), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void MainDialog::showDate(PeriodField field, DateTime day) {
  const DateTimeParts parts = day.Decode();
  SYSTEMTIME value{};
  value.wYear = static_cast<WORD>(parts.year);
  value.wMonth = static_cast<WORD>(parts.month);
  value.wDay = static_cast<WORD>(parts.day);
  SendMessageW(item(field == PeriodField::datai ? IDC_DATAI : IDC_DATAF), DTM_SETSYSTEMTIME, GDT_VALID,
               reinterpret_cast<LPARAM>(&value));
  if (DatePickerKeys* keys = (field == PeriodField::datai ? m_datai_keys : m_dataf_keys).get()) keys->follow(day);
}

void MainDialog::showTitle(const std::string& text) {
  SetWindowTextW(item(IDC_TITLEBAND), WideFromUtf8(text).c_str());
}

void MainDialog::showKeyStatus(const std::string& text) {
  SetWindowTextW(item(IDC_LBCHAVE), WideFromUtf8(text).c_str());
}

void MainDialog::showStatus(const std::string& text) {
  SetWindowTextW(item(IDC_NFILES), WideFromUtf8(text).c_str());
}

void MainDialog::showProgress(int maximum, int position) {
  SendMessageW(item(IDC_PB), PBM_SETRANGE32, 0, maximum);
  SendMessageW(item(IDC_PB), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MainDialog::showControl(Control control, bool visible) {
  const int command = visible ? SW_SHOWNA : SW_HIDE;
  if (IsPanel(control)) {
    for (int id : PanelIds(control)) {
      if (HWND child = item(id)) ShowWindow(child, command);
    }
  } else {
    ShowWindow(item(IdOf(control)), command);
  }
  if (!visible) keep_focus_usable();
}

// The series list keeps its lock when the data panel takes input again.
void MainDialog::enableControl(Control control, bool enabled) {
  if (control != Control::pdados) {
    EnableWindow(item(IdOf(control)), enabled);
    return;
  }
  for (int id : PanelIds(control)) {
    HWND child = item(id);
    if (!child) continue;
    EnableWindow(child, enabled && (id != IDC_FSERIENUM || m_model.seriesEnabled()));
  }
  if (!enabled) keep_focus_usable();
}

void MainDialog::showErrorBox(const std::string& caption, const std::string& text) {
  MessageBoxW(m_dialog, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), MB_OK | MB_ICONERROR);
}

bool MainDialog::askYesNo(const std::string& caption, const std::string& text) {
  t_question_hook = SetWindowsHookExW(WH_CBT, NameQuestionButtons, nullptr, GetCurrentThreadId());
  const int answer = MessageBoxW(m_dialog, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(),
                                 MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (t_question_hook) {
    UnhookWindowsHookEx(t_question_hook);
    t_question_hook = nullptr;
  }
  return answer == IDYES;
}

// "Ficheiros xml" with the pattern "*.xml", the default extension "xml", no
// question when an existing file is chosen. A name the dialog refuses to
// start from (characters no file name takes, a path too long) would keep it
// from opening at all: it then opens again without that name.
std::optional<std::string> MainDialog::chooseSaveFile(const SaveFileChoice& choice) {
  std::wstring filter = WideFromUtf8(choice.filter_description);
  filter.push_back(L'\0');
  filter += WideFromUtf8(choice.filter_pattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring title = WideFromUtf8(choice.title);
  const std::wstring extension = WideFromUtf8(choice.default_extension);
  const std::wstring folder = WithBackslashes(choice.initial_folder);
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring initial = WithBackslashes(choice.initial_file);
  std::copy_n(initial.begin(), std::min(initial.size(), file.size() - 1), file.begin());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = m_dialog;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (GetSaveFileNameW(&dialog)) return Utf8FromWide(file.data());
  if (CommDlgExtendedError() == 0 || file[0] == L'\0') return std::nullopt;  // cancelled
  std::fill(file.begin(), file.end(), L'\0');
  if (GetSaveFileNameW(&dialog)) return Utf8FromWide(file.data());
  return std::nullopt;
}

void MainDialog::showAtcudCodes() {
  AtcudCodesDialog dialog(m_instance, m_model.directory());
  dialog.run(m_dialog);
}

void MainDialog::showVerificationResults(const VerificationReport& report, const std::string& outcome,
                                         const std::string& folder) {
  m_results = std::make_unique<ResultsDialog>(m_instance, m_dialog, report, outcome, folder);
}

void MainDialog::closeVerificationResults() { m_results.reset(); }

bool MainDialog::openFolder(const std::string& folder) { return OpenFolderInShell(m_dialog, folder); }

std::optional<Control> MainDialog::focusedControl() const {
  HWND focus = GetFocus();
  if (!focus || !IsChild(m_dialog, focus)) return std::nullopt;
  return ControlOfId(GetDlgCtrlID(focus));
}

void MainDialog::focusControl(Control control) {
  SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IdOf(control))), TRUE);
}

}  // namespace varnel
