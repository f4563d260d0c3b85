// The front end's side of an export run. The run knows nothing of windows or
// terminals: everything the operator sees goes through these calls, all made
// on the front end's one thread. processPendingEvents is the only moment at
// which the front end may handle input (and so call ExportRun::requestAbort).
#pragma once

#include <string>

#include "verify/audit_file_verifier.h"

namespace varnel {

class ExportObserver {
 public:
  virtual ~ExportObserver() = default;

  virtual void showOutputPath(const std::string& path) = 0;
  // Error box captioned "Erro" (the checks before a run).
  virtual void showError(const std::string& message) = 0;
  // Error box captioned with the application title "Varnel v6" (any other
  // error that ends a run). The message already carries its full stop.
  virtual void showApplicationError(const std::string& message) = 0;
  virtual void showProcessing() = 0;
  virtual void setStatus(const std::string& text) = 0;
  virtual void processPendingEvents() = 0;
  virtual void persistSettings() = 0;
  virtual void progressStart(int maximum) = 0;
  virtual void progressStep() = 0;
  virtual void progressHide() = 0;
  virtual void showData() = 0;
  // The verifier's findings and summary, once a completed export's file has
  // been read back (the window's results dialog, the headless exporter's
  // report), before the outcome's status text. Front ends that show nothing
  // more keep the default.
  virtual void showVerification(const VerificationReport& report) { (void)report; }
};

}  // namespace varnel
