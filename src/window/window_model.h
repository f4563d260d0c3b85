// The operator window without its toolkit: everything the window decides,
// in plain C++, for the Qt view on Linux and the Win32 view on Windows. It
// keeps the data panel's values (the views report every edit), loads and
// saves the company values through the settings store, sets the default
// period and the file's version, keeps the series list locked until a
// Ctrl-press on its label, builds the ExportRequest, runs one export per
// press of "Exportar" and serves as the run's observer, switching the
// panels and buttons and filling the status line and the progress bar.
//
// States (switched only by the run, through the observer):
//   data        pdados and btexport visible; processar and btabort hidden
//   processing  processar and btabort visible; pdados and btexport hidden
// It starts in the data state; btcancel ("Sair") is always visible; nfiles
// stays hidden until a run shows it, then keeps its text; btopenfolder shows
// after a completed export. During a run the data panel takes no input and
// afterwards the focus goes back where it was. Closing during a run asks
// first and, confirmed, aborts the run and closes once it has ended.
//
// The file's version follows the period's first day (1.03_01 before July
// 2017, 1.04_01 from then on) until the operator picks one by hand.
//
// Every export takes the producer's public keys of Varnel.ini (section
// "Assinaturas") as they are when "Exportar" is pressed, like the headless
// exporter; the key indicator says at the window's start and at every press
// whether they are there and readable.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/company.h"
#include "base/date_time.h"
#include "base/saft_type.h"
#include "base/saft_version.h"
#include "posdb/pos_database.h"
#include "run/export_observer.h"
#include "run/export_run.h"
#include "section/export_request.h"
#include "settings/settings_store.h"
#include "window/window_texts.h"
#include "window/window_view.h"

namespace varnel {

// One export as the window drives it: ExportRun in the program; tests may put
// a scripted run in its place.
class ExportRunner {
 public:
  virtual ~ExportRunner() = default;
  virtual RunOutcome execute(const ExportRequest& request, ExportObserver& observer) = 0;
  virtual void requestAbort() = 0;
};

// An ExportRun over the window's connection.
std::unique_ptr<ExportRunner> MakeExportRun(PosDatabase& database);

struct WindowModelOptions {
  // Where .\Varnel.ini and .\Korvel.ini are looked up; "." is the working
  // directory at the moment of each read or write.
  std::filesystem::path directory = ".";
  // The day the default period is counted from; the machine's date when empty.
  std::optional<DateTime> today;
  // Creates the run for one press of "Exportar"; MakeExportRun when empty.
  std::function<std::unique_ptr<ExportRunner>(PosDatabase& database)> create_run;
};

// The data panel's values.
struct FormValues {
  Company company;
  SaftType saftType = SaftType::Resumido;
  SaftVersion saftVersion = SaftVersion::k1_03_01;
  bool saftVersionByHand = false;
  int fserienum = 0;  // the list's index, -1 for none
  bool seriesEnabled = false;
  DateTime datai;
  DateTime dataf;
  std::string ficheiro;
};

class WindowModel : public ExportObserver {
 public:
  // Binds nothing yet: FormCreate does, once the view exists.
  WindowModel(WindowView& view, WindowModelOptions options);
  ~WindowModel() override;
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  // Handlers, under the form's names.
  void FormCreate();  // settings store bound, values loaded, period and version set
  void FormClose();   // settings store released; nothing saved
  // Runs one export, this model its observer.
  void btExportClick();
  void btabortClick();
  void btcancelClick() { m_view.closeWindow(); }
  void openfClick();
  void btopenfolderClick();
  void btatcudClick() { m_view.showAtcudCodes(); }
  // A mouse press on the series label, Ctrl held or not.
  void lbserieMouseDown(bool ctrl_held);
  // The view's close event: true when the window may close now.
  bool closeRequested();

  // The operator's edits, as the view reports them.
  void setText(TextField field, const std::string& text);
  void setChoice(ListField list, int index);
  void setDate(PeriodField field, DateTime day);
  // A version picked by hand: the period no longer changes it.
  void chooseSaftVersion(int index);

  const FormValues& values() const { return m_values; }
  ExportRequest buildRequest() const;
  Company companySettings() const;
  bool runUnderWay() const { return m_run != nullptr; }
  const std::string& statusText() const { return m_status; }
  std::string directory() const;
  bool seriesEnabled() const { return m_values.seriesEnabled; }
  // Whether the control can take the focus now (visible and enabled).
  bool controlUsable(Control control) const;

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

 private:
  void loadCompany(const Company& company);
  void followPeriodWithVersion();
  void show(Control control, bool visible);
  bool confirmMonthEnd();
  bool addExportCodes(ExportRequest& request);
  void showKeyStatus();
  RunOutcome runOnce(const ExportRequest& request);
  void afterRun(RunOutcome outcome, std::optional<Control> focus_before);
  std::string outputFolder() const;

  WindowView& m_view;
  WindowModelOptions m_options;
  PosDatabase m_database;
  std::optional<SettingsStore> m_settings;  // bound from FormCreate to FormClose
  FormValues m_values;
  ExportRunner* m_run = nullptr;   // the run under way, if any
  bool m_close_after_run = false;  // closing confirmed during the run
  bool m_data_state = true;        // data panel shown (otherwise the processing panel)
  bool m_data_enabled = true;      // the data panel takes input
  bool m_status_visible = false;
  bool m_open_folder_visible = false;
  std::string m_status = std::string(kStatusAtStart);
  int m_progress_maximum = 0;
  int m_progress_position = 0;
  std::string m_completed_folder;                    // where the last completed export wrote
  std::optional<VerificationReport> m_verification;  // the running export's, once verified
};

}  // namespace varnel
