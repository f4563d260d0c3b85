// Tmain, the operator window's Qt view: the form's widgets under their names,
// over the window model (window/window_model.h), which decides everything
// the window does: the company data kept in .\Varnel.ini, the period and the
// file's version, the series lock, "Exportar" (one run, the model its
// observer), "Abortar", "Sair", the two states. The view reports every edit
// to the model and shows what the model tells it; it adds only what is Qt's:
// layout and style, boxes and the save dialog, the results dialog, centring,
// and the key preview of its form base.
//
// The names are those of the program this one continues, whose main form
// was the class Tmain of the unit _main (hence _main.h and _main.cpp): the
// class, the files, the widgets and the handlers keep them, a T before the
// class name included, so the code reads beside the description of that
// program's window.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/date_time.h"
#include "section/export_request.h"
#include "ui/CSEZForm.h"
#include "window/window_model.h"
#include "window/window_texts.h"
#include "window/window_view.h"

class QComboBox;

class QDateEdit;
class QFileDialog;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace varnel {

class AtcudDialog;

struct TmainOptions {
  // Where .\Varnel.ini and .\Korvel.ini are looked up; "." is the working
  // directory at the moment of each read or write.
  std::filesystem::path directory = ".";
  // The day the default period is counted from; the machine's date when empty.
  std::optional<DateTime> today;
  // Shows an error box (caption, text) and returns when it is closed; a modal
  // QMessageBox with an error icon and one OK button when empty.
  std::function<void(const QString& caption, const QString& text)> message_box;
  // Shows the configured save-file dialog and returns the chosen file, or
  // nothing when the operator cancels; the dialog's own exec when empty.
  std::function<std::optional<QString>(QFileDialog& dialog)> run_file_dialog;
  // Creates the run for one press of "Exportar"; an ExportRun when empty.
  // (ExportRunner is the window model's.)
  std::function<std::unique_ptr<ExportRunner>(PosDatabase& database)> create_run;
  // Asks a yes/no question (caption, text); true for yes. A modal question
  // box with "Sim" and "Não" ("Não" the default) when empty.
  std::function<bool(const QString& caption, const QString& text)> confirm;
  // Opens a folder in the desktop's file manager; QDesktopServices when empty.
  std::function<void(const QString& folder)> open_folder;
  // Runs the validation codes' dialog, set up and filled; its exec when empty.
  std::function<void(AtcudDialog& dialog)> run_atcud_dialog;
};

class Tmain : public TcsEZForm, private WindowView {
  Q_OBJECT

 public:
  explicit Tmain(TmainOptions options = {}, QWidget* parent = nullptr);
  ~Tmain() override;

  // Handlers, under the form's names.
  void FormCreate();
  void FormClose();
  void btExportClick();
  void btabortClick();
  void btcancelClick();
  void openfClick();
  void btopenfolderClick();
  void lbserieMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift);
  void btatcudClick();

  // The request the data panel's fields make now.
  ExportRequest build_request() const;
  // The ten company fields as settings.
  Company company_settings() const;
  bool run_under_way() const { return m_model.runUnderWay(); }
  // The model, which is also the run's observer.
  const WindowModel& model() const { return m_model; }
  WindowModel& model() { return m_model; }

  // The results dialog of the last completed export, while it is open.
  QDialog* verification_dialog() const { return m_verification_dialog; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The form, built in code: build_form calls one builder per group of the
  // window, top to bottom, then sets the tab order.
  void build_form();
  void build_title_band(QVBoxLayout* outer);
  void build_data_panel(QGridLayout* panels_layout);
  QGridLayout* build_company_card(QVBoxLayout* data_layout);
  QGridLayout* build_export_card(QVBoxLayout* data_layout);
  void build_type_row(QGridLayout* exporting);
  void build_series_row(QGridLayout* exporting);
  void build_period_row(QGridLayout* exporting);
  void build_file_row(QGridLayout* exporting);
  void build_processing_panel(QGridLayout* panels_layout);
  void build_status_band(QVBoxLayout* outer);
  void build_bottom_bar(QVBoxLayout* outer);
  void set_tab_order();
  // Every edit of a field reaches the model.
  void report_edits();
  QWidget* widget(Control control) const;
  QLineEdit* edit(TextField field) const;
  QComboBox* list(ListField field) const;

 protected:
  // WindowView: what the model shows through the widgets (a test may watch
  // them on their way).
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

 private:
  // The form's components, under their names.
  QLabel* titleBand = nullptr;
  QFrame* pdados = nullptr;
  QFrame* processar = nullptr;
  QLineEdit* companyName = nullptr;
  QLineEdit* companyID = nullptr;
  QLineEdit* streetName = nullptr;
  QLineEdit* addressDetail = nullptr;
  QLineEdit* buildingNumber = nullptr;
  QLineEdit* postalCode1 = nullptr;
  QLineEdit* postalCode2 = nullptr;
  QLineEdit* city = nullptr;
  QComboBox* taxCountryRegion = nullptr;
  QComboBox* saftType = nullptr;
  QComboBox* saftVersion = nullptr;
  QLineEdit* estabelecimento = nullptr;
  QLabel* lbserie = nullptr;
  QComboBox* fserienum = nullptr;
  QPushButton* btatcud = nullptr;
  QLabel* lbchave = nullptr;  // the key indicator beside btatcud
  QDateEdit* datai = nullptr;
  QDateEdit* dataf = nullptr;
  QLineEdit* ficheiro = nullptr;
  QToolButton* openf = nullptr;
  QLabel* lbprocessar = nullptr;
  QProgressBar* pb = nullptr;
  QLabel* nfiles = nullptr;
  QPushButton* btopenfolder = nullptr;
  QLabel* vs = nullptr;
  QPushButton* btabort = nullptr;
  QPushButton* btexport = nullptr;
  QPushButton* btcancel = nullptr;

  TmainOptions m_options;
  WindowModel m_model;
  QPointer<QDialog> m_verification_dialog;
  bool m_centred = false;
};

}  // namespace varnel
