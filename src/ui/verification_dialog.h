// The verifier's results after a completed export: the outcome, one table
// row per finding (severity, section, document, message), the VAT summary
// for the accountant, the document counts, and "Abrir pasta" for the folder
// of the file. It opens beside the window without blocking it; the next
// export's results replace it.
#pragma once

#include <QDialog>
#include <QString>

#include "verify/audit_file_verifier.h"

class QLabel;
class QTableWidget;

namespace varnel {

class VerificationDialog : public QDialog {
  Q_OBJECT

 public:
  VerificationDialog(const VerificationReport& report, QString outcome, QString folder, QWidget* parent);

 private:
  QTableWidget* build_findings(const VerificationReport& report);
  QTableWidget* build_vat_summary(const VerificationSummary& summary);

  QString m_folder;
};

}  // namespace varnel
