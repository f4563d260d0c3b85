// ui_screenshot OUT.png [processing|completed]: draws the operator window as
// an operator first sees it (fixed date 15 January 2016, no settings files,
// sample company data), part way through a run, or after a completed export
// (its final status and "Abrir pasta"), and saves the client area as a PNG
// for the README. Run it under xvfb-run.
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

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString mode = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
  const bool processing = mode == "processing";
  const bool completed = mode == "completed";
  if (argc != 2 && !processing && !completed) {
    std::fputs("usage: ui_screenshot OUT.png [processing|completed]\n", stderr);
    return 2;
  }
  QApplication::setApplicationName(varnel::kApplicationTitle);
  varnel::InstallPortuguese(application);
  if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
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
    window.showProcessing();
    window.progressStart(7);
    window.progressStep();
    window.progressStep();
    window.setStatus("Exportados 100 de 370 registos...");
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
