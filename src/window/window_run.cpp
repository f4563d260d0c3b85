// The window model's side of an export: one run per press of "Exportar",
// the observer's operations on the window's controls, "Abortar", closing
// during a run, and where the focus goes when the run is over.
#include <utility>

#include "base/month_end.h"
#include "settings/export_codes.h"
#include "settings/signature_key_settings.h"
#include "window/portuguese_messages.h"
#include "window/window_model.h"

namespace varnel {

namespace {

// The real run: one ExportRun over the window's connection.
class ExportRunAdapter : public ExportRunner {
 public:
  explicit ExportRunAdapter(PosDatabase& database) : m_run(database) {}
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer) override {
    return m_run.execute(request, observer);
  }
  void requestAbort() override { m_run.requestAbort(); }

 private:
  ExportRun m_run;
};

}  // namespace

std::unique_ptr<ExportRunner> MakeExportRun(PosDatabase& database) {
  return std::make_unique<ExportRunAdapter>(database);
}

void WindowModel::btExportClick() {
  if (m_run) return;  // "Exportar" is hidden during a run; a stray press does nothing
  if (!confirmMonthEnd()) return;
  ExportRequest request = buildRequest();
  if (!addExportCodes(request)) return;
  const std::optional<Control> focus_before = m_view.focusedControl();
  show(Control::btopenfolder, false);
  m_completed_folder.clear();
  m_verification.reset();
  m_view.closeVerificationResults();
  const RunOutcome outcome = runOnce(request);
  if (m_close_after_run) {
    m_close_after_run = false;
    m_view.closeWindow();
    return;
  }
  afterRun(outcome, focus_before);
}

// A period from a month's first day that stops one or two days short of a
// month's end is asked about ("Não" is the default); declined, nothing runs
// and the focus goes to "Data final" to mend it.
bool WindowModel::confirmMonthEnd() {
  const std::string left_out = MonthEndLeftOutText(m_values.datai, m_values.dataf);
  if (left_out.empty()) return true;
  if (m_view.askYesNo(std::string(kApplicationTitle), left_out + " " + kMonthEndQuestion)) return true;
  m_view.focusControl(Control::dataf);
  return false;
}

// Every export takes the producer's public keys of Varnel.ini, and a
// 1.04_01 export the validation codes and the exemption rules, as they are
// when it starts (the codes' dialog may have changed them); a malformed
// entry, which only a hand-edited file can hold, stops it before the run, as
// the headless exporter does. The key files themselves are read by the run's
// checks, which stop it with the file's error before anything is written.
bool WindowModel::addExportCodes(ExportRequest& request) {
  showKeyStatus();
  try {
    request.publicKeys = SignatureKeySettings(m_options.directory).Load();
    if (request.saftVersion != SaftVersion::k1_04_01) return true;
    ExportCodes codes = LoadExportCodes(m_options.directory);
    request.atcudCodes = std::move(codes.atcud);
    request.exemptionCodes = std::move(codes.exemptions);
  } catch (const SettingsValueError& error) {
    m_view.showErrorBox(std::string(kCheckCaption), error.what());
    return false;
  }
  return true;
}

// The data panel takes no input while the run uses its values (the
// maintenance shows its progress with the panel on screen).
RunOutcome WindowModel::runOnce(const ExportRequest& request) {
  std::unique_ptr<ExportRunner> run = m_options.create_run(m_database);
  m_run = run.get();
  m_data_enabled = false;
  m_view.enableControl(Control::pdados, false);
  struct ClearRun {
    WindowModel& model;
    ~ClearRun() {
      model.m_run = nullptr;
      model.m_data_enabled = true;
      model.m_view.enableControl(Control::pdados, true);
    }
  } clear_run{*this};
  return run->execute(request, *this);
}

// A completed export offers its folder and its verification; the focus goes
// back where the operator was ("Exportar" was hidden during the run, so the
// focus had moved on).
void WindowModel::afterRun(RunOutcome outcome, std::optional<Control> focus_before) {
  if (outcome == RunOutcome::Completed) {
    m_completed_folder = outputFolder();
    show(Control::btopenfolder, true);
    if (m_verification) m_view.showVerificationResults(*m_verification, m_status, m_completed_folder);
  }
  const bool back = focus_before && controlUsable(*focus_before);
  m_view.focusControl(back ? *focus_before : Control::btexport);
}

void WindowModel::btabortClick() {
  if (m_run) m_run->requestAbort();
}

// During a run the window stays until the run has ended: the operator is
// asked, and a confirmed close aborts the run and closes the window after it.
bool WindowModel::closeRequested() {
  if (!m_run) {
    FormClose();
    return true;
  }
  if (m_close_after_run) return false;
  const bool confirmed = m_view.askYesNo(std::string(kApplicationTitle), std::string(kCloseDuringRunQuestion));
  // The run may have ended while the question was open.
  if (confirmed && m_run) {
    m_close_after_run = true;
    m_run->requestAbort();
  } else if (confirmed) {
    m_view.closeWindow();
  }
  return false;
}

void WindowModel::show(Control control, bool visible) {
  if (control == Control::nfiles) m_status_visible = visible;
  if (control == Control::btopenfolder) m_open_folder_visible = visible;
  m_view.showControl(control, visible);
}

void WindowModel::showOutputPath(const std::string& path) {
  m_values.ficheiro = path;
  m_view.showText(TextField::ficheiro, path);
}

void WindowModel::showError(const std::string& message) {
  m_view.showErrorBox(std::string(kCheckCaption), message);
}

void WindowModel::showApplicationError(const std::string& message) {
  m_view.showErrorBox(std::string(kApplicationTitle), PortugueseMessage(message));
}

void WindowModel::showProcessing() {
  m_data_state = false;
  show(Control::processar, true);
  show(Control::pdados, false);
  show(Control::btabort, true);
  show(Control::btexport, false);
  show(Control::nfiles, true);
}

// The maintenance's progress comes before the processing panel: the status
// line shows from the first text on.
void WindowModel::setStatus(const std::string& text) {
  m_status = text;
  m_view.showStatus(text);
  show(Control::nfiles, true);
}

void WindowModel::processPendingEvents() {
  m_view.handlePendingInput();
  // A close confirmed during the maintenance (whose abort the run clears
  // before it starts writing) is asked for again at every chance.
  if (m_close_after_run && m_run) m_run->requestAbort();
}

// The store bound from FormCreate (or, should it be released, one bound for
// this one save); then the folder the export writes to.
void WindowModel::persistSettings() {
  SettingsStore store = m_settings ? *m_settings : SettingsStore(m_options.directory);
  store.Save(companySettings());
  store.SaveLastFolder(outputFolder());
}

void WindowModel::progressStart(int maximum) {
  m_progress_maximum = maximum;
  m_progress_position = 0;
  m_view.showProgress(maximum, 0);
  show(Control::pb, true);
}

void WindowModel::progressStep() {
  if (m_progress_position < m_progress_maximum) ++m_progress_position;
  m_view.showProgress(m_progress_maximum, m_progress_position);
}

void WindowModel::progressHide() { show(Control::pb, false); }

void WindowModel::showVerification(const VerificationReport& report) { m_verification = report; }

void WindowModel::showData() {
  show(Control::btabort, false);
  show(Control::btexport, true);
  show(Control::processar, false);
  show(Control::pdados, true);
  m_data_state = true;
}

}  // namespace varnel
