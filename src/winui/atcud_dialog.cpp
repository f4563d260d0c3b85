// The validation codes' dialog: the model's rows in a report list view, the
// boxes of one row, and the model's refusals in error boxes.
#include "winui/atcud_dialog.h"

#include <commctrl.h>

#include "window/window_texts.h"
#include "winui/resource.h"
#include "winui/wide_text.h"
#include "winui/window_dpi.h"

namespace varnel {

namespace {

using Column = AtcudCodesModel::Column;
constexpr Column kColumns[] = {Column::type, Column::series, Column::code};
constexpr int kBoxes[] = {IDC_ATCUD_TYPE, IDC_ATCUD_SERIES, IDC_ATCUD_CODE};

std::string BoxText(HWND box) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, WideFromUtf8(text).c_str()); }

}  // namespace

void AtcudCodesDialog::run(HWND owner) {
  DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_ATCUD), owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK AtcudCodesDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    auto* self = reinterpret_cast<AtcudCodesDialog*>(lparam);
    self->m_dialog = dialog;
    self->on_init();
    return TRUE;
  }
  auto* self = reinterpret_cast<AtcudCodesDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    self->on_command(LOWORD(wparam));
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
    if (change->hdr.idFrom == IDC_ATCUD_LIST && change->hdr.code == LVN_ITEMCHANGED &&
        (change->uNewState & LVIS_SELECTED)) {
      self->show_row(change->iItem);
    }
    return TRUE;
  }
  return FALSE;
}

void AtcudCodesDialog::on_init() {
  SetText(m_dialog, AtcudCodesModel::kTitle);
  const std::pair<int, const char*> texts[] = {
      {IDC_ATCUD_LBTYPE, AtcudCodesModel::kColumnTitles[0]}, {IDC_ATCUD_LBSERIES, AtcudCodesModel::kColumnTitles[1]},
      {IDC_ATCUD_LBCODE, AtcudCodesModel::kColumnTitles[2]}, {IDC_ATCUD_ADD, "Adicionar"},
      {IDC_ATCUD_CHANGE, "Alterar"}, {IDC_ATCUD_REMOVE, "Remover"}, {IDC_ATCUD_SAVE, "Guardar"},
      {IDCANCEL, "Cancelar"}};
  for (const auto& [id, text] : texts) SetControlText(GetDlgItem(m_dialog, id), text);
  HWND list = GetDlgItem(m_dialog, IDC_ATCUD_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const int widths[] = {60, 60, 200};
  for (int column = 0; column < 3; ++column) {
    const std::wstring title = WideFromUtf8(AtcudCodesModel::kColumnTitles[column]);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.cx = MulDiv(widths[column], WindowDpi(m_dialog), 96);
    header.pszText = const_cast<wchar_t*>(title.c_str());
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
  }
  fill_list(m_model.rows().empty() ? -1 : 0);
}

void AtcudCodesDialog::fill_list(int selected) {
  HWND list = GetDlgItem(m_dialog, IDC_ATCUD_LIST);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t row = 0; row < m_model.rows().size(); ++row) {
    for (int column = 0; column < 3; ++column) {
      std::wstring text = WideFromUtf8(m_model.cell(row, kColumns[column]));
      LVITEMW entry{};
      entry.mask = LVIF_TEXT;
      entry.iItem = static_cast<int>(row);
      entry.iSubItem = column;
      entry.pszText = text.data();
      SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&entry));
    }
  }
  if (selected < 0) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&state));
  show_row(selected);
}

void AtcudCodesDialog::show_row(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= m_model.rows().size()) return;
  for (int column = 0; column < 3; ++column) {
    SetText(GetDlgItem(m_dialog, kBoxes[column]), m_model.cell(static_cast<std::size_t>(row), kColumns[column]));
  }
}

int AtcudCodesDialog::selected_row() const {
  return static_cast<int>(
      SendMessageW(GetDlgItem(m_dialog, IDC_ATCUD_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool AtcudCodesDialog::take_boxes(std::size_t row) {
  for (int column = 0; column < 3; ++column) {
    const std::string text = BoxText(GetDlgItem(m_dialog, kBoxes[column]));
    if (const std::optional<std::string> refused = m_model.setCell(row, kColumns[column], text)) {
      show_error(*refused);
      SetFocus(GetDlgItem(m_dialog, kBoxes[column]));
      return false;
    }
  }
  return true;
}

void AtcudCodesDialog::on_command(int id) {
  const int selected = selected_row();
  switch (id) {
    case IDC_ATCUD_ADD: {
      const std::size_t row = m_model.addRow();
      if (!take_boxes(row)) m_model.removeRow(row);
      fill_list(static_cast<int>(m_model.rows().size()) - 1);
      break;
    }
    case IDC_ATCUD_CHANGE:
      if (selected >= 0) take_boxes(static_cast<std::size_t>(selected));
      fill_list(selected);
      break;
    case IDC_ATCUD_REMOVE:
      if (selected >= 0) m_model.removeRow(static_cast<std::size_t>(selected));
      fill_list(m_model.rows().empty() ? -1 : 0);
      break;
    case IDC_ATCUD_SAVE:
      if (const std::optional<std::string> refused = m_model.save()) {
        show_error(*refused);
      } else {
        EndDialog(m_dialog, IDOK);
      }
      break;
    case IDCANCEL:
      EndDialog(m_dialog, IDCANCEL);
      break;
    default:
      break;
  }
}

void AtcudCodesDialog::show_error(const std::string& text) {
  MessageBoxW(m_dialog, WideFromUtf8(text).c_str(), WideFromUtf8(kCheckCaption).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace varnel
