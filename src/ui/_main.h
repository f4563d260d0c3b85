// Tmain, the operator window: company data (kept in .\Varnel.ini), the
// period, the output file and the options; "Exportar" runs one export with
// the window as its observer, "Abortar" asks the run to stop, "Sair" closes.
// The window owns the database connection for its whole life and one run per
// press of "Exportar".
//
// States (switched only by the run, through the observer):
//   data        pdados and btexport visible; processar and btabort hidden
//   processing  processar and btabort visible; pdados and btexport hidden
// The window starts in the data state; btcancel ("Sair") is always visible;
// nfiles stays hidden until the first run shows it, then keeps its text;
// btopenfolder ("Abrir pasta") shows beside it after a completed export, and
// the verifier's results open in a dialog beside the window.
// During a run the data panel takes no input; afterwards the focus goes back
// where it was. "Sair" (or closing the window) during a run asks first and,
// confirmed, aborts the run and closes once it has ended.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "base/date_time.h"
#include "run/export_observer.h"
#include "run/export_run.h"
#include "section/export_request.h"
#include "posdb/pos_database.h"
#include "ui/CSEZForm.h"
#include "settings/settings_store.h"

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

inline constexpr const char* kApplicationTitle = "Varnel v6";

// One export as the window drives it: ExportRun in the program; tests may put
// a scripted run in its place.
class ExportRunner {
 public:
  virtual ~ExportRunner() = default;
  virtual RunOutcome execute(const ExportRequest& request, ExportObserver& observer) = 0;
  virtual void requestAbort() = 0;
};

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
  std::function<std::unique_ptr<ExportRunner>(PosDatabase& database)> create_run;
  // Asks a yes/no question (caption, text); true for yes. A modal question
  // box with "Sim" and "Não" ("Não" the default) when empty.
  std::function<bool(const QString& caption, const QString& text)> confirm;
  // Opens a folder in the desktop's file manager; QDesktopServices when empty.
  std::function<void(const QString& folder)> open_folder;
};

class Tmain : public TcsEZForm, public ExportObserver {
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

  // The request the data panel's fields make now.
  ExportRequest build_request() const;
  // The ten company fields as settings.
  Company company_settings() const;
  bool run_under_way() const { return m_run != nullptr; }

  // ExportObserver.
  void showOutputPath(const std::string& path) override;
  void showError(const std::string& message) override;
  void showApplicationError(const std::string& message) override;
  void showProcessing() override;
  void setStatus(const std::string& text) override;
  void processPendingEvents() override;
  void persistSettings() override;
  void progressStart(int maximum) override;
  void progressStep() override;
  void progressHide() override;
  void showData() override;
  void showVerification(const VerificationReport& report) override;

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
  void build_series_row(QGridLayout* exporting);
  void build_period_row(QGridLayout* exporting);
  void build_file_row(QGridLayout* exporting);
  void build_processing_panel(QGridLayout* panels_layout);
  void build_status_band(QVBoxLayout* outer);
  void build_bottom_bar(QVBoxLayout* outer);
  void set_tab_order();
  void show_error_box(const QString& caption, const std::string& message);
  // The folder of the file named in "Ficheiro", made absolute.
  QString output_folder() const;

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
  QLineEdit* estabelecimento = nullptr;
  QLabel* lbserie = nullptr;
  QComboBox* fserienum = nullptr;
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
  PosDatabase m_database;
  std::optional<SettingsStore> m_settings;  // bound from FormCreate to FormClose
  ExportRunner* m_run = nullptr;            // the run under way, if any
  bool m_close_after_run = false;           // "Sair" confirmed during the run
  QString m_completed_folder;               // where the last completed export wrote
  std::optional<VerificationReport> m_verification;  // the running export's, once verified
  QPointer<QDialog> m_verification_dialog;
  bool m_centred = false;
};

}  // namespace varnel
