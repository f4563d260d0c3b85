// The operator window's Win32 view: one modeless dialog from the resource
// script, over the window model, which decides everything the window does.
// The view reports every edit to the model and shows what the model tells
// it, in UTF-16 at the API's edge. Its message loop applies the form base's
// keyboard rules before the dialog manager sees a key (Enter, Up and Down,
// Ctrl+Tab), and its date pickers type and step as the window model's
// DateEntry says; the run's processPendingEvents is a PeekMessage loop through
// the same path, so the window repaints and "Abortar" and "Sair" work
// during a run. The dialog has a fixed size of 671 by 506 pixels of client
// area at 96 DPI (scaled with the monitor's DPI) and opens centred.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "window/window_model.h"
#include "window/window_view.h"
#include "winui/date_picker.h"
#include "winui/gdi_handles.h"
#include "winui/results_dialog.h"

namespace varnel {

class MainDialog : private WindowView {
 public:
  MainDialog(HINSTANCE instance, WindowModelOptions options);
  ~MainDialog() override;
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  // Creates and shows the dialog and loads the model's values into it.
  bool create(int show_command);
  // The message loop, until the window is closed; the exit code.
  int run();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SeriesLabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR id, DWORD_PTR self);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  void on_init();
  void make_title_band(int dpi);
  void set_icons();
  // The title band's blue, or the system's selection colour where GDI
  // refused the brush.
  HBRUSH title_band_brush() const;
  COLORREF title_band_colour() const;
  void fill_texts();
  void fill_lists();
  void place_centred();
  void place_bottom_bar(int dpi);
  void on_command(int id, int code);
  void on_notify(const NMHDR& header);
  bool erase_background(HDC dc);
  // One message through the keyboard rules, then the dialog manager.
  void dispatch(MSG& msg);
  // The form base's keyboard rules; true when the key is taken.
  bool preview_key(const MSG& msg);
  void move_focus(bool forward);
  // Moves the focus on when the control holding it was hidden or disabled.
  void keep_focus_usable();
  HWND item(int id) const { return GetDlgItem(m_dialog, id); }

  // WindowView.
  void showText(TextField field, const std::string& text) override;
  void showChoice(ListField list, int index) override;
  void showDate(PeriodField field, DateTime day) override;
  void showTitle(const std::string& text) override;
  void showKeyStatus(const std::string& text) override;
  void showStatus(const std::string& text) override;
  void showProgress(int maximum, int position) override;
  void showControl(Control control, bool visible) override;
  void enableControl(Control control, bool enabled) override;
  void showErrorBox(const std::string& caption, const std::string& text) override;
  bool askYesNo(const std::string& caption, const std::string& text) override;
  std::optional<std::string> chooseSaveFile(const SaveFileChoice& choice) override;
  void showAtcudCodes() override;
  void showVerificationResults(const VerificationReport& report, const std::string& outcome,
                               const std::string& folder) override;
  void closeVerificationResults() override;
  bool openFolder(const std::string& folder) override;
  void handlePendingInput() override;
  std::optional<Control> focusedControl() const override;
  void focusControl(Control control) override;
  void closeWindow() override;

  HINSTANCE m_instance;
  WindowModel m_model;
  HWND m_dialog = nullptr;
  std::unique_ptr<ResultsDialog> m_results;  // the last completed export's, until the next export
  std::unique_ptr<DatePickerKeys> m_datai_keys;  // the date pickers' keys, from creation on
  std::unique_ptr<DatePickerKeys> m_dataf_keys;
  // Lent to the dialog's windows, so released after them (see gdi_handles.h).
  FontHandle m_title_font;
  BrushHandle m_title_brush;  // the title band's blue
  BrushHandle m_line_brush;   // the orange line below the band
  IconHandle m_icon_large;
  IconHandle m_icon_small;
  int m_exit_code = 0;
  int m_bottom_bar_top = 0;  // in client pixels
};

}  // namespace varnel
