// A window view that only remembers what the model showed it: the texts,
// choices and dates of the fields, which controls are visible and enabled,
// the error boxes and questions (each question answered as the test says),
// the save dialog's setup (answered with a test's file), and the pending
// input a test wants handled inside the next processPendingEvents.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "window/window_model.h"

namespace varnel::testing {

struct ShownBox {
  std::string caption;
  std::string text;
  friend bool operator==(const ShownBox&, const ShownBox&) = default;
};

class FakeView : public WindowView {
 public:
  void showText(TextField field, const std::string& text) override { texts[field] = text; }
  void showChoice(ListField list, int index) override { choices[list] = index; }
  void showDate(PeriodField field, DateTime day) override { dates[field] = day; }
  void showTitle(const std::string& text) override { title = text; }
  void showKeyStatus(const std::string& text) override { key_status = text; }
  void showStatus(const std::string& text) override { statuses.push_back(text); }
  void showProgress(int maximum, int position) override {
    progress_maximum = maximum;
    progress_position = position;
  }
  void showControl(Control control, bool visible) override {
    visible_controls[control] = visible;
    shown.push_back({control, visible});
  }
  void enableControl(Control control, bool enabled) override { enabled_controls[control] = enabled; }
  void showErrorBox(const std::string& caption, const std::string& text) override {
    error_boxes.push_back({caption, text});
  }
  bool askYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back({caption, text});
    return answer;
  }
  std::optional<std::string> chooseSaveFile(const SaveFileChoice& choice) override {
    file_choices.push_back(choice);
    return chosen_file;
  }
  void showAtcudCodes() override { ++atcud_dialogs; }
  void showVerificationResults(const VerificationReport& report, const std::string& outcome,
                               const std::string& folder) override {
    results.push_back({outcome, folder});
    last_report = report;
  }
  void closeVerificationResults() override { ++results_closed; }
  bool openFolder(const std::string& folder) override {
    opened_folders.push_back(folder);
    return folder_opens;
  }
  void handlePendingInput() override {
    ++pending_input_handled;
    if (pending_input) {
      auto input = std::move(pending_input);
      pending_input = nullptr;
      input();
    }
  }
  std::optional<Control> focusedControl() const override { return focus; }
  void focusControl(Control control) override { focus = control; }
  void closeWindow() override {
    ++close_requests;
    if (model && model->closeRequested()) closed = true;
  }

  bool visible(Control control) const {
    auto found = visible_controls.find(control);
    return found != visible_controls.end() && found->second;
  }

  WindowModel* model = nullptr;  // asked again when the window closes itself
  std::map<TextField, std::string> texts;
  std::map<ListField, int> choices;
  std::map<PeriodField, DateTime> dates;
  std::string title;
  std::string key_status;
  std::optional<VerificationReport> last_report;  // of the last results shown
  std::vector<std::string> statuses;
  int progress_maximum = -1;
  int progress_position = -1;
  std::map<Control, bool> visible_controls;
  std::vector<std::pair<Control, bool>> shown;  // every showControl, in order
  std::map<Control, bool> enabled_controls;
  std::vector<ShownBox> error_boxes;
  bool folder_opens = true;
  std::vector<ShownBox> questions;
  bool answer = true;
  std::vector<SaveFileChoice> file_choices;
  std::optional<std::string> chosen_file;
  int atcud_dialogs = 0;
  std::vector<std::pair<std::string, std::string>> results;  // outcome, folder
  int results_closed = 0;
  std::vector<std::string> opened_folders;
  int pending_input_handled = 0;
  std::function<void()> pending_input;  // run inside the next handlePendingInput
  std::optional<Control> focus;
  int close_requests = 0;
  bool closed = false;
};

// A run that plays a script against the observer instead of exporting.
class ScriptedRun : public ExportRunner {
 public:
  using Script = std::function<RunOutcome(ExportObserver& observer, ScriptedRun& run)>;
  ScriptedRun(Script script, std::vector<ExportRequest>& requests)
      : m_script(std::move(script)), m_requests(requests) {}
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer) override {
    m_requests.push_back(request);
    return m_script(observer, *this);
  }
  void requestAbort() override { abort_requested = true; }

  bool abort_requested = false;

 private:
  Script m_script;
  std::vector<ExportRequest>& m_requests;
};

}  // namespace varnel::testing
