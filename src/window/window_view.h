// What the window model asks of a view: show a value it changed, show or
// hide a control, show a box or the save dialog, let pending input through.
// The view is a toolkit's thin skin (Qt widgets, a Win32 dialog); it decides
// nothing. Every call is made on the window's one thread. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>

#include "base/date_time.h"
#include "verify/audit_file_verifier.h"

namespace varnel {

// The window's controls that the model shows, hides, fills or focuses,
// under the form's names.
enum class Control {
  companyName, companyID, streetName, addressDetail, buildingNumber, postalCode1, postalCode2, city,
  taxCountryRegion, saftType, saftVersion, estabelecimento, fserienum, datai, dataf, ficheiro, btatcud,
  pdados, processar, pb, nfiles, btopenfolder, btabort, btexport, btcancel,
};

// The text boxes whose text the model keeps.
enum class TextField {
  companyName, companyID, streetName, addressDetail, buildingNumber, postalCode1, postalCode2, city,
  estabelecimento, ficheiro,
};
// The drop-down lists; an index of -1 is nothing selected.
enum class ListField { taxCountryRegion, saftType, saftVersion, fserienum };
// The two date pickers.
enum class PeriodField { datai, dataf };

// The save-file dialog of "Ficheiro", as the model sets it up.
struct SaveFileChoice {
  std::string title;
  std::string filter_description;  // "Ficheiros xml"
  std::string filter_pattern;      // "*.xml"
  std::string default_extension;   // "xml"
  std::string initial_file;        // the name offered, or empty
  std::string initial_folder;      // where to open when no name is offered, or empty
};

class WindowView {
 public:
  virtual ~WindowView() = default;

  virtual void showText(TextField field, const std::string& text) = 0;
  virtual void showChoice(ListField list, int index) = 0;
  virtual void showDate(PeriodField field, DateTime day) = 0;
  virtual void showTitle(const std::string& text) = 0;
  // The key indicator beside "Códigos ATCUD..." (window/signature_key_status.h).
  virtual void showKeyStatus(const std::string& text) = 0;
  virtual void showStatus(const std::string& text) = 0;
  // The progress bar's range and position (its visibility is showControl's).
  virtual void showProgress(int maximum, int position) = 0;
  virtual void showControl(Control control, bool visible) = 0;
  virtual void enableControl(Control control, bool enabled) = 0;

  // Modal boxes: an error box with an error icon and one OK button; a
  // question with "Sim" and "Não" ("Não" the default), true for "Sim".
  virtual void showErrorBox(const std::string& caption, const std::string& text) = 0;
  virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
  // The chosen file, or nothing when the operator cancels.
  virtual std::optional<std::string> chooseSaveFile(const SaveFileChoice& choice) = 0;
  // The validation codes' dialog of the data panel (modal).
  virtual void showAtcudCodes() = 0;
  // The verifier's results beside the window (not modal), and closing them.
  virtual void showVerificationResults(const VerificationReport& report, const std::string& outcome,
                                       const std::string& folder) = 0;
  virtual void closeVerificationResults() = 0;
  // Shows the folder in the system's file manager; false when it could not.
  virtual bool openFolder(const std::string& folder) = 0;

  // Handles the pending input and repaints; the buttons' handlers may run.
  virtual void handlePendingInput() = 0;
  // The control holding the focus, if it is one of the window's.
  virtual std::optional<Control> focusedControl() const = 0;
  virtual void focusControl(Control control) = 0;
  // Closes the window (which asks the model again, see WindowModel::closeRequested).
  virtual void closeWindow() = 0;
};

}  // namespace varnel
