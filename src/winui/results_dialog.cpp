// The results dialog: the window model's text tables in report list views.
// The findings' counts stand above their list and the first error is
// selected and focused; every column is as wide as its header or its widest
// cell, the findings' message taking what is left; the VAT summary's total
// row is drawn bold.
#include "winui/results_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "window/verification_tables.h"
#include "window/window_texts.h"
#include "winui/resource.h"
#include "winui/shell_folder.h"
#include "winui/wide_text.h"
#include "winui/window_dpi.h"

namespace varnel {

namespace {

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, WideFromUtf8(text).c_str()); }

void AddColumns(HWND list, const TextTable& table) {
  for (std::size_t column = 0; column < table.headers.size(); ++column) {
    std::wstring title = WideFromUtf8(table.headers[column]);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_FMT;
    header.fmt = column >= table.right_aligned_from ? LVCFMT_RIGHT : LVCFMT_LEFT;
    header.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
  }
}

void AddRows(HWND list, const TextTable& table) {
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

// Each column as wide as its header or its widest cell; with stretch_last,
// the last column takes the rest of the list's width (at least its content).
void FitColumns(HWND list, std::size_t columns, bool stretch_last) {
  const int padding = MulDiv(16, WindowDpi(list), 96);
  int used = 0;
  for (std::size_t column = 0; column < columns; ++column) {
    const int index = static_cast<int>(column);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, index, LVSCW_AUTOSIZE);
    const int content = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, index, 0));
    wchar_t title[128] = {};
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = title;
    header.cchTextMax = 128;
    SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&header));
    const int heading = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(title)));
    int width = std::max(content, heading + padding);
    if (stretch_last && column + 1 == columns) {
      RECT client;
      GetClientRect(list, &client);
      width = std::max(width, static_cast<int>(client.right) - used - GetSystemMetrics(SM_CXVSCROLL));
    }
    SendMessageW(list, LVM_SETCOLUMNWIDTH, index, width);
    used += width;
  }
}

void FillList(HWND list, const TextTable& table, bool stretch_last) {
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  AddColumns(list, table);
  AddRows(list, table);
  FitColumns(list, table.headers.size(), stretch_last);
  if (table.selected_row >= 0) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(table.selected_row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(table.selected_row), FALSE);
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
  SetFocus(GetDlgItem(m_dialog, IDC_RESULTS_FINDINGS));
}

ResultsDialog::~ResultsDialog() {
  if (m_dialog) DestroyWindow(m_dialog);
}

void ResultsDialog::fill(const VerificationReport& report, const std::string& outcome) {
  SetText(m_dialog, kVerificationTitle);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_OUTCOME), outcome);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_SEVERITIES), SeverityCountsText(report));
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_VATTITLE), kVatSummaryTitle);
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_COUNTS), DocumentCountsText(report.summary));
  SetText(GetDlgItem(m_dialog, IDC_RESULTS_OPEN), buttons::kOpenFolder);
  SetText(GetDlgItem(m_dialog, IDCANCEL), kCloseButton);
  FillList(GetDlgItem(m_dialog, IDC_RESULTS_FINDINGS), FindingsTable(report), true);
  const TextTable vat = VatSummaryTable(report.summary);
  m_total_row = vat.last_row_is_total ? static_cast<int>(vat.rows.size()) - 1 : -1;
  FillList(GetDlgItem(m_dialog, IDC_RESULTS_VAT), vat, false);
}

bool ResultsDialog::handles(MSG& msg) {
  return m_dialog && IsWindow(m_dialog) && IsDialogMessageW(m_dialog, &msg);
}

// The VAT summary's total row in the list's font made bold; in the list's
// own font should GDI refuse the bold one.
LRESULT ResultsDialog::drawVatRow(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || static_cast<int>(draw.nmcd.dwItemSpec) != m_total_row) {
    return CDRF_DODEFAULT;
  }
  if (!m_bold) {
    auto list_font = reinterpret_cast<HGDIOBJ>(SendMessageW(draw.nmcd.hdr.hwndFrom, WM_GETFONT, 0, 0));
    if (!list_font) list_font = GetStockObject(DEFAULT_GUI_FONT);  // a list in the system's font
    LOGFONTW font{};
    if (!GetObjectW(list_font, sizeof(font), &font)) return CDRF_DODEFAULT;
    font.lfWeight = FW_BOLD;
    m_bold.reset(CreateFontIndirectW(&font));
    if (!m_bold) return CDRF_DODEFAULT;
  }
  SelectObject(draw.nmcd.hdc, m_bold.get());
  return CDRF_NEWFONT;
}

INT_PTR CALLBACK ResultsDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    return TRUE;
  }
  auto* self = reinterpret_cast<ResultsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (header->idFrom != IDC_RESULTS_VAT || header->code != NM_CUSTOMDRAW) return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, self->drawVatRow(*reinterpret_cast<NMLVCUSTOMDRAW*>(lparam)));
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDC_RESULTS_OPEN) {
    if (!OpenFolderInShell(dialog, self->m_folder)) {
      MessageBoxW(dialog, WideFromUtf8(FolderNotOpenedText(self->m_folder)).c_str(),
                  WideFromUtf8(kCheckCaption).c_str(), MB_OK | MB_ICONERROR);
    }
    return TRUE;
  }
  if ((message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) || message == WM_CLOSE) {
    ShowWindow(dialog, SW_HIDE);  // destroyed with the object: at the next export, or when the window closes
    return TRUE;
  }
  return FALSE;
}

}  // namespace varnel
