// The verifier's results in the Win32 view, after a completed export: the
// outcome, the findings' counts, the findings (errors first) and the VAT
// summary (with its total row) in two report lists, the
// documents per type, "Abrir pasta" and "Fechar". Modeless, beside the
// window; the next export closes it. Its keys go through the window's message
// loop (handles() tells the loop which messages are its).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "verify/audit_file_verifier.h"
#include "winui/gdi_handles.h"

namespace varnel {

class ResultsDialog {
 public:
  ResultsDialog(HINSTANCE instance, HWND owner, const VerificationReport& report, const std::string& outcome,
                const std::string& folder);
  ~ResultsDialog();
  ResultsDialog(const ResultsDialog&) = delete;
  ResultsDialog& operator=(const ResultsDialog&) = delete;

  // Gives the dialog manager a message of this dialog; true when it took it.
  bool handles(MSG& msg);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  void fill(const VerificationReport& report, const std::string& outcome);
  LRESULT drawVatRow(NMLVCUSTOMDRAW& draw);

  HWND m_dialog = nullptr;
  std::string m_folder;
  int m_total_row = -1;     // the VAT summary's total row, drawn bold
  FontHandle m_bold;        // made on its first drawing
};

}  // namespace varnel
