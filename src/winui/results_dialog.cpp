// The results dialog: the window model's text tables in report list views.
#include "winui/results_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "window/verification_tables.h"
#include "window/window_texts.h"
#include "winui/resource.h"
#include "winui/wide_text.h"
#include "winui/window_dpi.h"

namespace varnel {

namespace {

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, WideFromUtf8(text).c_str()); }

void FillList(HWND list, const TextTable& table, int dpi) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (std::size_t column = 0; column < table.headers.size(); ++column) {
    std::wstring title = WideFromUtf8(table.headers[column]);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    header.fmt = column >= table.right_aligned_from ? LVCFMT_RIGHT : LVCFMT_LEFT;
    header.cx = MulDiv(column + 1 == table.headers.size() ? 420 : 90, dpi, 96);
    header.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
  }
  for (std::size_t row = 0; row < table.rows.size(); ++row) {
    for (std::size_t column = 0; column < table.rows[row].size(); ++column) {
      std::wstring text = WideFromUtf8(table.rows[row][column]);
      LVITEMW entry{};
      entry.mask = LVIF_TEXT;
      entry.iItem = static_cast<int>(row);
      entry.iSubItem = static_cast<int>(column);
      entry.pszText = text.data();
      SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&entry));
    }
  }
}

}  // namespace

ResultsDialog::ResultsDialog(HINSTANCE instance, HWND owner, const VerificationReport& report,
                             const std::string& outcome, const std::string& folder)
    : m_folder(folder) {
  m_dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_RESULTS), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  if (!m_dialog) return;
  fill(report, outcome);
  ShowWindow(m_dialog, SW_SHOWNORMAL);
}

ResultsDialog::~ResultsDialog() {
  if (m_dialog) DestroyWindow(m_dialog);
}

void ResultsDialog::fill(const VerificationReport& report, const std::string& outcome) {
  SetText(m_dialog, kVerificationTitle);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_OUTCOME), outcome);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_VATTITLE), kVatSummaryTitle);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_COUNTS), DocumentCountsText(report.summary));
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_OPEN), buttons::kOpenFolder);
  SetText(GetDlgItem(m_dialog, IDCANCEL), kCloseButton);
  const int dpi = WindowDpi(m_dialog);
  FillList(GetDlgItem(m_dialog, IDC_RESULTS_FINDINGS), FindingsTable(report), dpi);
  FillList(GetDlgItem(m_dialog, IDC_RESULTS_VAT), VatSummaryTable(report.summary), dpi);
}

bool ResultsDialog::handles(MSG& msg) {
  return m_dialog && IsWindow(m_dialog) && IsDialogMessageW(m_dialog, &msg);
}

INT_PTR CALLBACK ResultsDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    return TRUE;
  }
  auto* self = reinterpret_cast<ResultsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_RESULTS_OPEN) {
    ShellExecuteW(dialog, L"open", WideFromUtf8(self->m_folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return TRUE;
  }
  if ((message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) || message == WM_CLOSE) {
    ShowWindow(dialog, SW_HIDE);  // destroyed with the object: at the next export, or when the window closes
    return TRUE;
  }
  return FALSE;
}

}  // namespace varnel
