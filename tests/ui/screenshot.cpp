// ui_screenshot OUT.png [processing|completed|results]: draws the operator
// window as an operator first sees it (fixed date 15 January 2016, no
// settings files, sample company data), part way through a run, or after a
// completed export (its final status and "Abrir pasta"), or the results
// dialog of a sample month with an error, and saves the client area as a
// PNG for the README. Run it under xvfb-run.
#include <QApplication>
#include <QImage>
#include <QDir>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "ui/_main.h"
#include "ui/portuguese_texts.h"
#include "ui/verification_dialog.h"

namespace {

// A run that only shows what a completed export shows at its end.
class ShownRun : public varnel::ExportRunner {
 public:
  varnel::RunOutcome execute(const varnel::ExportRequest&, varnel::ExportObserver& observer) override {
    observer.setStatus("Exportados 370 de 370 registos. Exportação efectuada");
    return varnel::RunOutcome::Completed;
  }
  void requestAbort() override {}
};

// A month as the verifier might report it: one error among warnings and
// notes, in the order found, and its VAT summary.
varnel::VerificationReport SampleReport() {
  using varnel::Currency;
  using varnel::FindingSeverity;
  varnel::VerificationReport report;
  report.completed = true;
  report.findings = {
      {FindingSeverity::Note, "SalesInvoices", "", "Série FS A: 164 documentos, números 1 a 164"},
      {FindingSeverity::Note, "SalesInvoices", "", "Série FT A: 20 documentos, números 1 a 20"},
      {FindingSeverity::Warning, "MasterFiles", "", "CustomerTaxID \"Desconhecido\" de 19 não é um número de "
                                                    "contribuinte de 9 dígitos"},
      {FindingSeverity::Error, "SalesInvoices", "FT A/7",
       "GrossTotal 123.4 difere da soma das linhas com o imposto, 123.45"},
      {FindingSeverity::Note, "Payments", "", "Série RC A: 9 documentos, números 1 a 9"},
  };
  report.summary.vat = {
      {"PT", "INT", "13.00", Currency::FromRaw(55994138), Currency::FromRaw(7279238), Currency::FromRaw(63273376)},
      {"PT", "ISE", "0.00", Currency::FromRaw(1670000), Currency(), Currency::FromRaw(1670000)},
      {"PT", "NOR", "23.00", Currency::FromRaw(128711206), Currency::FromRaw(29603577), Currency::FromRaw(158314783)},
      {"PT", "RED", "6.00", Currency::FromRaw(620759), Currency::FromRaw(37246), Currency::FromRaw(658005)},
  };
  report.summary.documents_by_type = {{"CM", 98}, {"FS", 164}, {"FT", 20}, {"NC", 4}, {"RG", 9}};
  report.summary.annulled_by_type = {{"FS", 1}};
  return report;
}

int SaveResults(const char* file) {
  // The dialog deletes itself when it closes, as quitting closes it.
  auto* dialog = new varnel::VerificationDialog(SampleReport(), "Ficheiro verificado: 1 erro, 1 aviso", "/tmp", nullptr);
  dialog->show();
  int result = 1;
  QTimer::singleShot(300, dialog, [&] {
    const QImage image = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    result = image.save(QString::fromLocal8Bit(file), "PNG", 0) ? 0 : 1;
    QApplication::quit();
  });
  QApplication::exec();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString mode = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
  const bool processing = mode == "processing";
  const bool completed = mode == "completed";
  if (argc != 2 && !processing && !completed && mode != "results") {
    std::fputs("usage: ui_screenshot OUT.png [processing|completed|results]\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(varnel::kApplicationTitle);
  varnel::InstallPortuguese(application);
  if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
  if (mode == "results") return SaveResults(argv[1]);
  QTemporaryDir settings_directory;
  varnel::TmainOptions options;
  options.directory = settings_directory.path().toStdString();
  options.today = varnel::DateTime::FromDate(2016, 1, 15);
  options.create_run = [](varnel::PosDatabase&) { return std::make_unique<ShownRun>(); };
  varnel::Tmain window(options);
  window.findChild<QLineEdit*>("companyName")->setText("Pastelaria Açoriana, Lda.");
  window.findChild<QLineEdit*>("companyID")->setText("503504505");
  window.findChild<QLineEdit*>("streetName")->setText("Rua do Mercado");
  window.findChild<QLineEdit*>("addressDetail")->setText("Loja 3");
  window.findChild<QLineEdit*>("buildingNumber")->setText("12-A");
  window.findChild<QLineEdit*>("postalCode1")->setText("9500");
  window.findChild<QLineEdit*>("postalCode2")->setText("123");
  window.findChild<QLineEdit*>("city")->setText("Ponta Delgada");
  window.findChild<QLineEdit*>("ficheiro")->setText("saft-2015-12.xml");
  if (processing) {  // the window as a run shows it, part way through
    varnel::ExportObserver& observer = window.model();
    observer.showProcessing();
    observer.progressStart(7);
    observer.progressStep();
    observer.progressStep();
    observer.setStatus("Exportados 100 de 370 registos...");
  }
  if (completed) window.btExportClick();
  window.show();
  int result = 1;
  QTimer::singleShot(300, &window, [&] {
    // Quality 0 is the PNG writer's strongest compression.
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    result = image.save(QString::fromLocal8Bit(argv[1]), "PNG", 0) ? 0 : 1;
    QApplication::quit();
  });
  QApplication::exec();
  return result;
}
