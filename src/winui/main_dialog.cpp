// The Win32 view's dialog: creation, texts and lists from the model's words,
// size and place, the dialog procedure that turns notifications into the
// model's handlers and edits, and the message loop with the keyboard rules.
// What the model asks of the view is in dialog_view.cpp.
#include "winui/main_dialog.h"

#include <commctrl.h>

#include <utility>

#include "base/product_version.h"
#include "window/keyboard_rules.h"
#include "window/window_texts.h"
#include "winui/control_ids.h"
#include "winui/wide_text.h"
#include "winui/window_dpi.h"

namespace varnel {

namespace {

constexpr COLORREF kTitleBlue = RGB(0x0D, 0x3B, 0x66);
constexpr COLORREF kTitleOrange = RGB(0xF4, 0xA6, 0x2A);

// The texts of the labels and buttons, set once when the dialog opens.
struct ControlText {
  int id;
  const char* text;
};
constexpr ControlText kControlTexts[] = {
    {IDC_LBCOMPANYNAME, labels::kCompanyName},
    {IDC_LBCOMPANYID, labels::kCompanyID},
    {IDC_LBSTREETNAME, labels::kStreetName},
    {IDC_LBBUILDINGNUMBER, labels::kBuildingNumber},
    {IDC_LBPOSTALCODE, labels::kPostalCode},
    {IDC_LBCITY, labels::kCity},
    {IDC_LBTAXCOUNTRYREGION, labels::kTaxCountryRegion},
    {IDC_LBSAFTTYPE, labels::kSaftType},
    {IDC_LBSAFTVERSION, labels::kSaftVersion},
    {IDC_BTATCUD, labels::kAtcudCodes},
    {IDC_LBESTABELECIMENTO, labels::kEstabelecimento},
    {IDC_LBHINT, kEstablishmentHint},
    {IDC_LBSERIE, labels::kSeries},
    {IDC_LBDATAI, labels::kDatai},
    {IDC_LBDATAF, labels::kDataf},
    {IDC_LBFICHEIRO, labels::kFicheiro},
    {IDC_LBPROCESSAR, kProcessingText},
    {IDC_NFILES, kStatusAtStart},
    {IDC_BTOPENFOLDER, buttons::kOpenFolder},
    {IDC_BTABORT, buttons::kAbort},
    {IDC_BTEXPORT, buttons::kExport},
    {IDC_BTCANCEL, buttons::kExit},
};

void SetText(HWND control, std::string_view text) { SetWindowTextW(control, WideFromUtf8(text).c_str()); }

std::string TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

void AddChoice(HWND list, std::string_view text) {
  SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
}

// The kind of control the keyboard rules see in a window of the dialog.
ControlKind KindOf(HWND control) {
  wchar_t name[64] = {};
  GetClassNameW(control, name, 64);
  const std::wstring_view kind = name;
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if (kind == L"Edit") {
    if (!(style & ES_MULTILINE)) return ControlKind::SingleLineText;
    return (style & ES_WANTRETURN) ? ControlKind::MultiLineText : ControlKind::MultiLineTextNoReturns;
  }
  if (kind == L"ComboBox") return ControlKind::DropDownList;
  if (kind == DATETIMEPICK_CLASSW) return ControlKind::DatePicker;
  if (kind == L"Button") {
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) return ControlKind::PushButton;
  }
  return ControlKind::Other;
}

std::optional<NavigationKey> NavigationKeyOf(WPARAM key) {
  switch (key) {
    case VK_RETURN: return NavigationKey::Enter;
    case VK_UP: return NavigationKey::Up;
    case VK_DOWN: return NavigationKey::Down;
    case VK_TAB: return NavigationKey::Tab;
    default: return std::nullopt;
  }
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

MainDialog::MainDialog(HINSTANCE instance, WindowModelOptions options)
    : m_instance(instance), m_model(*this, std::move(options)) {}

// The window goes first: its controls use the font, the brushes and the
// icons, which the members release afterwards.
MainDialog::~MainDialog() {
  m_results.reset();
  if (m_dialog) DestroyWindow(m_dialog);
}

bool MainDialog::create(int show_command) {
  m_dialog = CreateDialogParamW(m_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                                reinterpret_cast<LPARAM>(this));
  if (!m_dialog) return false;
  ShowWindow(m_dialog, show_command);
  UpdateWindow(m_dialog);
  return true;
}

int MainDialog::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) dispatch(msg);
  return m_exit_code;
}

void MainDialog::dispatch(MSG& msg) {
  if (preview_key(msg)) return;
  if (m_results && m_results->handles(msg)) return;
  if (m_dialog && IsDialogMessageW(m_dialog, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

INT_PTR CALLBACK MainDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<MainDialog*>(lparam);
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    self->m_dialog = dialog;
    self->on_init();
    return TRUE;
  }
  auto* self = reinterpret_cast<MainDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self ? self->handle(message, wparam, lparam) : FALSE;
}

INT_PTR MainDialog::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      on_command(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_NOTIFY:
      on_notify(*reinterpret_cast<const NMHDR*>(lparam));
      return TRUE;
    case WM_ERASEBKGND:
      SetWindowLongPtrW(m_dialog, DWLP_MSGRESULT, erase_background(reinterpret_cast<HDC>(wparam)));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == item(IDC_VS)) {
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_3DLIGHT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_3DLIGHT));
      }
      if (reinterpret_cast<HWND>(lparam) != item(IDC_TITLEBAND)) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
      SetBkColor(reinterpret_cast<HDC>(wparam), title_band_colour());
      return reinterpret_cast<INT_PTR>(title_band_brush());
    case WM_CLOSE:
      if (m_model.closeRequested()) DestroyWindow(m_dialog);
      return TRUE;
    case WM_DESTROY:
      m_dialog = nullptr;
      PostQuitMessage(m_exit_code);
      return TRUE;
    default:
      return FALSE;
  }
}

void MainDialog::on_init() {
  make_title_band(WindowDpi(m_dialog));
  set_icons();
  fill_texts();
  fill_lists();
  m_datai_keys = std::make_unique<DatePickerKeys>(
      item(IDC_DATAI), [this](DateTime day) { m_model.setDate(PeriodField::datai, day); });
  m_dataf_keys = std::make_unique<DatePickerKeys>(
      item(IDC_DATAF), [this](DateTime day) { m_model.setDate(PeriodField::dataf, day); });
  SetWindowSubclass(item(IDC_LBSERIE), SeriesLabelProc, 1, reinterpret_cast<DWORD_PTR>(this));
  place_centred();
  m_model.FormCreate();
  SetFocus(item(IDC_COMPANYNAME));
}

// The title band's font and colours. Should GDI refuse one (out of
// handles), the band keeps the dialog's font, takes the system's selection
// colour for its blue and goes without its orange line.
void MainDialog::make_title_band(int dpi) {
  m_title_font.reset(CreateFontW(-MulDiv(13, dpi, 72), 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                                 L"Segoe UI"));
  if (m_title_font) {
    SendMessageW(item(IDC_TITLEBAND), WM_SETFONT, reinterpret_cast<WPARAM>(m_title_font.get()), FALSE);
  }
  m_title_brush.reset(CreateSolidBrush(kTitleBlue));
  m_line_brush.reset(CreateSolidBrush(kTitleOrange));
}

HBRUSH MainDialog::title_band_brush() const {
  return m_title_brush ? m_title_brush.get() : GetSysColorBrush(COLOR_HIGHLIGHT);
}

COLORREF MainDialog::title_band_colour() const { return m_title_brush ? kTitleBlue : GetSysColor(COLOR_HIGHLIGHT); }

// The program's icon at the system's two sizes; the system's own
// application icon (shared, never released) where the resource does not load.
void MainDialog::set_icons() {
  const struct {
    WPARAM which;
    int width_metric;
    int height_metric;
    IconHandle& icon;
  } icons[] = {{ICON_BIG, SM_CXICON, SM_CYICON, m_icon_large}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON, m_icon_small}};
  for (const auto& size : icons) {
    size.icon.reset(static_cast<HICON>(LoadImageW(m_instance, MAKEINTRESOURCEW(IDI_VARNEL), IMAGE_ICON,
                                                  GetSystemMetrics(size.width_metric),
                                                  GetSystemMetrics(size.height_metric), 0)));
    HICON shown = size.icon ? size.icon.get() : LoadIconW(nullptr, IDI_APPLICATION);
    SendMessageW(m_dialog, WM_SETICON, size.which, reinterpret_cast<LPARAM>(shown));
  }
}

void MainDialog::fill_texts() {
  SetText(m_dialog, kWindowCaption);
  for (const ControlText& text : kControlTexts) SetControlText(item(text.id), text.text);
  SetText(item(IDC_VS), kVersionLabel);
  SendMessageW(item(IDC_ESTABELECIMENTO), EM_LIMITTEXT, kEstablishmentLength, 0);
  for (int id : {IDC_DATAI, IDC_DATAF}) {
    SendMessageW(item(id), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"dd/MM/yyyy"));
  }
}

void MainDialog::fill_lists() {
  for (const char* choice : kTaxRegionChoices) AddChoice(item(IDC_TAXCOUNTRYREGION), choice);
  for (const char* choice : kSaftTypeChoices) AddChoice(item(IDC_SAFTTYPE), choice);
  for (SaftVersion version : kSaftVersionChoices) AddChoice(item(IDC_SAFTVERSION), SaftVersionLabel(version));
  for (int index = 0; index < kSeriesChoiceCount; ++index) AddChoice(item(IDC_FSERIENUM), SeriesChoice(index));
}

// The client area of 671 by 506 pixels at 96 DPI, centred in the work area
// of the dialog's monitor.
void MainDialog::place_centred() {
  const int dpi = WindowDpi(m_dialog);
  RECT frame{0, 0, MulDiv(kClientWidth, dpi, 96), MulDiv(kClientHeight, dpi, 96)};
  FrameForClient(m_dialog, frame, dpi);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromWindow(m_dialog, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = monitor.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);  // the primary monitor's, else the screen
  }
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(m_dialog, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  place_bottom_bar(dpi);
  InvalidateRect(m_dialog, nullptr, TRUE);
}

// The bottom bar at the foot of the client area (dialog units scale with the
// font, the client area with the DPI), and the status band right above it.
void MainDialog::place_bottom_bar(int dpi) {
  RECT client;
  GetClientRect(m_dialog, &client);
  RECT button;
  GetWindowRect(item(IDC_BTEXPORT), &button);
  MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&button), 2);
  const int shift = client.bottom - MulDiv(11, dpi, 96) - button.bottom;
  const int status_shift = shift - MulDiv(14, dpi, 96);
  for (int id : {IDC_VS, IDC_BTABORT, IDC_BTEXPORT, IDC_BTCANCEL, IDC_NFILES, IDC_BTOPENFOLDER}) {
    RECT place;
    GetWindowRect(item(id), &place);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&place), 2);
    const int by = (id == IDC_NFILES || id == IDC_BTOPENFOLDER) ? status_shift : shift;
    SetWindowPos(item(id), nullptr, place.left, place.top + by, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  m_bottom_bar_top = button.top + shift - MulDiv(11, dpi, 96);
}

// The title band in the title's blue with the orange line below it.
bool MainDialog::erase_background(HDC dc) {
  RECT client;
  GetClientRect(m_dialog, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT band;
  GetWindowRect(item(IDC_TITLEBAND), &band);
  MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&band), 2);
  RECT title{client.left, client.top, client.right, band.bottom};
  FillRect(dc, &title, title_band_brush());
  const int line = MulDiv(3, WindowDpi(m_dialog), 96);
  RECT orange{client.left, band.bottom, client.right, band.bottom + line};
  if (m_line_brush) FillRect(dc, &orange, m_line_brush.get());
  RECT bar{client.left, m_bottom_bar_top, client.right, client.bottom};
  FillRect(dc, &bar, GetSysColorBrush(COLOR_3DLIGHT));
  DrawEdge(dc, &bar, EDGE_ETCHED, BF_TOP);
  return true;
}

void MainDialog::on_command(int id, int code) {
  if (const std::optional<TextField> field = TextFieldOfId(id); field && code == EN_CHANGE) {
    m_model.setText(*field, TextOf(item(id)));
    return;
  }
  if (const std::optional<ListField> list = ListFieldOfId(id); list && code == CBN_SELCHANGE) {
    const int index = static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
    if (*list == ListField::saftVersion) {
      m_model.chooseSaftVersion(index);  // the operator's pick
    } else {
      m_model.setChoice(*list, index);
    }
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_BTEXPORT: m_model.btExportClick(); break;
    case IDC_BTABORT: m_model.btabortClick(); break;
    case IDC_BTCANCEL: m_model.btcancelClick(); break;
    case IDC_OPENF: m_model.openfClick(); break;
    case IDC_BTOPENFOLDER: m_model.btopenfolderClick(); break;
    case IDC_BTATCUD: m_model.btatcudClick(); break;
    default: break;  // IDOK and IDCANCEL of the dialog manager: Enter and Esc do nothing more
  }
}

void MainDialog::on_notify(const NMHDR& header) {
  if (header.code != DTN_DATETIMECHANGE) return;
  const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
  if (change.dwFlags != GDT_VALID) return;
  const SYSTEMTIME& day = change.st;
  const DateTime value = DateTime::FromDate(day.wYear, day.wMonth, day.wDay);
  const bool first = header.idFrom == IDC_DATAI;
  if (DatePickerKeys* keys = (first ? m_datai_keys : m_dataf_keys).get()) keys->follow(value);
  m_model.setDate(first ? PeriodField::datai : PeriodField::dataf, value);
}

// Any mouse button pressed on the series label, Ctrl held or not.
LRESULT CALLBACK MainDialog::SeriesLabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                             DWORD_PTR self) {
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
    reinterpret_cast<MainDialog*>(self)->m_model.lbserieMouseDown((wparam & MK_CONTROL) != 0);
  }
  return DefSubclassProc(label, message, wparam, lparam);
}

// Before the dialog manager: Enter, Up and Down, Ctrl+Tab by the rules. An
// open drop-down list or calendar keeps its keys.
bool MainDialog::preview_key(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !m_dialog || (msg.hwnd != m_dialog && !IsChild(m_dialog, msg.hwnd))) {
    return false;
  }
  const std::optional<NavigationKey> key = NavigationKeyOf(msg.wParam);
  if (!key) return false;
  HWND focus = GetFocus();
  const ControlKind kind = KindOf(focus);
  if (kind == ControlKind::DropDownList && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0)) return false;
  if (kind == ControlKind::DatePicker && SendMessageW(focus, DTM_GETMONTHCAL, 0, 0)) return false;
  const KeyDecision decision = DecideKey(*key, KeyHeld(VK_CONTROL), KeyHeld(VK_SHIFT), KeyHeld(VK_MENU), kind);
  if (decision.move != 0) move_focus(decision.move > 0);
  return decision.swallow;
}

// The next (previous) visible, enabled tab stop, wrapping around.
void MainDialog::move_focus(bool forward) {
  HWND next = GetNextDlgTabItem(m_dialog, GetFocus(), forward ? FALSE : TRUE);
  if (next) SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}

void MainDialog::keep_focus_usable() {
  HWND focus = GetFocus();
  if (GetActiveWindow() != m_dialog) return;
  if (focus && focus != m_dialog && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  if (HWND first = GetNextDlgTabItem(m_dialog, nullptr, FALSE)) {
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
}

void MainDialog::handlePendingInput() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {  // kept for the main loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatch(msg);
  }
}

void MainDialog::closeWindow() {
  if (m_dialog) SendMessageW(m_dialog, WM_CLOSE, 0, 0);
}

}  // namespace varnel
