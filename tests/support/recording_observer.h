// An ExportObserver for tests: records every call as one line of text
// ("setStatus: Exportados 0 de 0 registos...") and can press "Abortar" from
// inside processPendingEvents when a chosen status text is showing, as an
// operator would.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "run/export_observer.h"
#include "run/export_run.h"

namespace varnel::testing {

class RecordingObserver : public ExportObserver {
 public:
  std::vector<std::string> calls;
  std::string status;          // last status text
  std::string output_path;     // last path shown back
  int progress_maximum = -1;
  int progress_position = 0;
  bool processing = false;     // the processing panel is showing
  ExportRun* run = nullptr;    // the run that "Abortar" aborts
  std::string abort_on_status; // press "Abortar" when this status is showing
  std::function<void()> on_pending_events;

  void showOutputPath(const std::string& path) override {
    output_path = path;
    calls.push_back("showOutputPath: " + path);
  }
  void showError(const std::string& message) override { calls.push_back("showError: " + message); }
  void showApplicationError(const std::string& message) override {
    calls.push_back("showApplicationError: " + message);
  }
  void showProcessing() override {
    processing = true;
    calls.push_back("showProcessing");
  }
  void setStatus(const std::string& text) override {
    status = text;
    if (text == "Verificação do ficheiro") verifying = true;
    calls.push_back("setStatus: " + text);
  }
  void processPendingEvents() override {
    calls.push_back("processPendingEvents");
    if (run != nullptr && !abort_on_status.empty() && status == abort_on_status) run->requestAbort();
    if (on_pending_events) on_pending_events();
  }
  void persistSettings() override { calls.push_back("persistSettings"); }
  // The progress fields follow the export; the verification's own steps
  // are counted apart.
  void progressStart(int maximum) override {
    if (!verifying) {
      progress_maximum = maximum;
      progress_position = 0;
    }
    calls.push_back("progressStart: " + std::to_string(maximum));
  }
  void progressStep() override {
    ++(verifying ? verification_steps : progress_position);
    calls.push_back("progressStep");
  }
  void progressHide() override { calls.push_back("progressHide"); }
  void showData() override {
    processing = false;
    calls.push_back("showData");
  }
  void showVerification(const VerificationReport& report) override {
    verification = report;
    calls.push_back("showVerification");
  }

  // The verifier's report of the last completed export.
  std::optional<VerificationReport> verification;
  bool verifying = false;      // the verification stage has begun
  int verification_steps = 0;

  // The calls of the export itself, before its verification began.
  std::vector<std::string> export_calls() const {
    std::vector<std::string> before;
    for (const auto& call : calls) {
      if (call == "setStatus: Verificação do ficheiro") break;
      before.push_back(call);
    }
    return before;
  }

  // The findings that are errors, one "section document: message" each.
  std::vector<std::string> verification_errors() const {
    std::vector<std::string> errors;
    if (!verification) return errors;
    for (const Finding& finding : verification->findings) {
      if (finding.severity == FindingSeverity::Error) {
        errors.push_back(finding.section + " " + finding.document + ": " + finding.message);
      }
    }
    return errors;
  }

  // The status texts in order.
  std::vector<std::string> statuses() const {
    std::vector<std::string> texts;
    for (const auto& call : calls) {
      if (call.rfind("setStatus: ", 0) == 0) texts.push_back(call.substr(11));
    }
    return texts;
  }

  // The status texts of the export itself: those before the verification
  // of a completed export began.
  std::vector<std::string> export_statuses() const {
    std::vector<std::string> texts = statuses();
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] == "Verificação do ficheiro") texts.resize(i);
    }
    return texts;
  }
  std::string export_status() const {
    const auto texts = export_statuses();
    return texts.empty() ? std::string() : texts.back();
  }
};

}  // namespace varnel::testing
