// Whole exports driven through the window over a real demo working directory
// (SQLite database, Korvel.UDL, Korvel.ini, Varnel.ini) made for December
// 2015: the window's states before, during and after a run, the operator's
// company data saved by the run, "Abortar" pressed as pending input handled
// inside processPendingEvents, "Sair" during a run (asked, then aborting), a check that fails on the
// database side saving nothing, and a settings file that cannot be written.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <QTableWidget>

#include <filesystem>

#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"
#include "window_fixture.h"

using namespace varnel;
using namespace varnel::testing;

namespace {

// What the window showed at one moment.
struct WindowState {
  bool data = false;        // pdados visible
  bool processing = false;  // processar visible
  bool abort_button = false;
  bool export_button = false;
  bool status_line = false;

  friend bool operator==(const WindowState&, const WindowState&) = default;
};

constexpr WindowState kDataState{true, false, false, true, true};
constexpr WindowState kProcessingState{false, true, true, false, true};
const QString kMaintenance = "Manutenção da base de dados: ";

// The window with a recorder on what the run's observer, the window model,
// shows through it: every status text, the window's state at every chance to
// handle input, and an operator's press of a button at a chosen status text,
// posted as real mouse input so it is handled inside the next
// processPendingEvents.
class RecordedMain : public Tmain {
 public:
  using Tmain::Tmain;

  void showStatus(const std::string& text) override {
    Tmain::showStatus(text);
    statuses << QString::fromStdString(text);
    if (!press_at.isEmpty() && statuses.last().startsWith(press_at) && !pressed) {
      pressed = true;
      PostClick(Child<QPushButton>(*this, press_button.toLatin1().constData()));
    }
  }
  void handlePendingInput() override {
    states.push_back(state());
    status_at_events << Child<QLabel>(*this, "nfiles")->text();
    data_panel_enabled.push_back(Child<QWidget>(*this, "pdados")->isEnabled());
    Tmain::handlePendingInput();
  }

  // The window's state at each chance to handle input: on the data panel,
  // taking no input, while the maintenance reports its batches; on the
  // processing panel from then on.
  void expect_states_during_run() const {
    QVERIFY(!states.empty());
    for (std::size_t i = 0; i < states.size(); ++i) {
      const bool maintenance = status_at_events[static_cast<qsizetype>(i)].startsWith(kMaintenance);
      QCOMPARE(states[i], (maintenance ? WindowState{true, false, false, true, true} : kProcessingState));
      QVERIFY(!data_panel_enabled[i]);
    }
  }

  WindowState state() const {
    return {Child<QWidget>(*this, "pdados")->isVisibleTo(this), Child<QWidget>(*this, "processar")->isVisibleTo(this),
            Child<QPushButton>(*this, "btabort")->isVisibleTo(this),
            Child<QPushButton>(*this, "btexport")->isVisibleTo(this),
            Child<QLabel>(*this, "nfiles")->isVisibleTo(this)};
  }

  static void PostClick(QWidget* button) {
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
  }

  QStringList statuses;
  std::vector<WindowState> states;
  QStringList status_at_events;          // the status line at each of them
  std::vector<bool> data_panel_enabled;  // ... and whether the data panel took input
  QString press_at;      // the status text (its start) at which the operator presses
  bool pressed = false;
  QString press_button;  // ... this button
};

}  // namespace

class TestWindowExport : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void exportsAndSavesTheOperatorsValues();
  void abortDuringMasterFiles_data();
  void abortDuringMasterFiles();
  void abortAtAProgressStep();
  void sairDuringRunAbortsWhenConfirmed();
  void invalidTaxpayerNumberSavesNothing();
  void readOnlySettingsFileEndsTheRun();

 private:
  // A window over the demo folder (the working directory), on 15 January
  // 2016 so its default period is the demo's month.
  std::unique_ptr<RecordedMain> make_window();
  QByteArray read(const QString& name) const { return m_fixture->read_file(name); }

  std::unique_ptr<WindowFixture> m_fixture;
  QString m_previous_directory;
};

void TestWindowExport::init() {
  m_fixture = std::make_unique<WindowFixture>();
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2015, 12, 1}), demo::DayNumber({2015, 12, 31})};
  options.documents = 180;
  options.seed = 2016;
  options.series_index = 2;
  demo::WriteDemoWorkingDirectory(m_fixture->directory(), options);
  m_previous_directory = QDir::currentPath();
  QVERIFY(QDir::setCurrent(m_fixture->path(".")));
}

void TestWindowExport::cleanup() {
  QDir::setCurrent(m_previous_directory);
  m_fixture.reset();
}

std::unique_ptr<RecordedMain> TestWindowExport::make_window() {
  TmainOptions options = m_fixture->options(DateTime::FromDate(2016, 1, 15));
  options.directory = ".";  // the settings files of the working directory, as the program does
  auto window = std::make_unique<RecordedMain>(options);
  window->setAttribute(Qt::WA_QuitOnClose, false);
  return window;
}

void TestWindowExport::exportsAndSavesTheOperatorsValues() {
  auto window = make_window();
  QVERIFY(ShowActive(*window));
  QCOMPARE(window->state(), (WindowState{true, false, false, true, false}));
  QCOMPARE(Child<QComboBox>(*window, "fserienum")->currentText(), QString("B"));
  QVERIFY(Child<QLineEdit>(*window, "companyID")->text() != "999999990");  // read from the demo's Varnel.ini

  Child<QLineEdit>(*window, "companyName")->setText("Restaurante da Sé");
  Child<QLineEdit>(*window, "ficheiro")->setText("saft dezembro.txt");
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);

  for (const ErrorBox& box : m_fixture->error_boxes) qWarning() << box.caption << box.text;
  QVERIFY(m_fixture->error_boxes.empty());
  QCOMPARE(Child<QLineEdit>(*window, "ficheiro")->text(), QString("saft dezembro.xml"));
  window->expect_states_during_run();
  QCOMPARE(window->state(), kDataState);
  QVERIFY(Child<QProgressBar>(*window, "pb")->isHidden());
  QVERIFY(Child<QWidget>(*window, "pdados")->isEnabled());

  // The demo database's first export repairs its customers: the count
  // before the first batch and after the last.
  qsizetype maintenance = 0;
  while (maintenance < window->statuses.size() && window->statuses[maintenance].startsWith(kMaintenance)) {
    ++maintenance;
  }
  QVERIFY(maintenance >= 2);
  const QRegularExpressionMatch repaired = QRegularExpression("^Manutenção da base de dados: (\\d+) de (\\d+) documentos$")
                                               .match(window->statuses[maintenance - 1]);
  QVERIFY2(repaired.hasMatch(), qPrintable(window->statuses[maintenance - 1]));
  QCOMPARE(repaired.captured(1), repaired.captured(2));
  QCOMPARE(window->statuses[0], kMaintenance + "0 de " + repaired.captured(2) + " documentos");

  const QStringList expected_start{"A salvar a configuração", "Criação do ficheiro de saida",
                                   "Exportação da lista de clientes", "Exportação da lista de fornecedores",
                                   "Exportação da lista de produtos", "Exportação das taxas de iva"};
  QCOMPARE(window->statuses.mid(maintenance, expected_start.size()), expected_start);
  // The export's own final status, then the verifier's outcome, which stays
  // on the status line; the results open beside the window.
  const QString final_status = Child<QLabel>(*window, "nfiles")->text();
  QCOMPARE(window->statuses.last(), final_status);
  QVERIFY2(final_status.startsWith("Ficheiro verificado: sem erros"), qPrintable(final_status));
  const qsizetype verification = window->statuses.indexOf("Verificação do ficheiro");
  QVERIFY(verification > 0);
  const QString export_status = window->statuses[verification - 1];
  const QRegularExpressionMatch final_match =
      QRegularExpression("^Exportados (\\d+) de (\\d+) registos\\. Exportação efectuada$").match(export_status);
  QVERIFY2(final_match.hasMatch(), qPrintable(export_status));
  QCOMPARE(final_match.captured(1), final_match.captured(2));
  QDialog* results = window->verification_dialog();
  QVERIFY(results != nullptr);
  QVERIFY(results->isVisible());
  QCOMPARE(results->findChild<QLabel*>("resultado")->text(), final_status);
  QVERIFY(results->findChild<QTableWidget*>("achados")->rowCount() > 0);
  QVERIFY(results->findChild<QTableWidget*>("resumoiva")->rowCount() > 0);

  const QByteArray audit = read("saft dezembro.xml");
  QVERIFY(audit.startsWith("<?xml"));
  QVERIFY(audit.endsWith("\r\n  </SourceDocuments>\r\n</AuditFile>\r\n"));
  QVERIFY(audit.contains("\r\n  </MasterFiles>\r\n"));
  QVERIFY(read("Varnel.ini").contains("\r\nCompanyName=Restaurante da S\xE9\r\n"));

  // A second run starts from the data state again and writes a fresh file.
  window->states.clear();
  window->statuses.clear();
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);
  QVERIFY(m_fixture->error_boxes.empty());
  QCOMPARE(window->statuses.first(), QString("A salvar a configuração"));  // nothing left to repair
  QCOMPARE(read("saft dezembro.xml").count("<Header>"), 1);
  QCOMPARE(window->state(), kDataState);
}

void TestWindowExport::abortDuringMasterFiles_data() {
  QTest::addColumn<QString>("stage");
  QTest::addColumn<QByteArray>("tail");  // the closing tail, one level out from where the run stood
  const QByteArray list_tail = "\r\n  </SourceDocuments>\r\n</AuditFile>\r\n";
  QTest::newRow("customers") << QString("Exportação da lista de clientes") << list_tail;
  QTest::newRow("suppliers") << QString("Exportação da lista de fornecedores") << list_tail;
  QTest::newRow("tax table, inside TaxTable")
      << QString("Exportação das taxas de iva") << QByteArray("\r\n    </SourceDocuments>\r\n  </AuditFile>\r\n");
}

void TestWindowExport::abortDuringMasterFiles() {
  QFETCH(QString, stage);
  QFETCH(QByteArray, tail);
  auto window = make_window();
  QVERIFY(ShowActive(*window));
  window->press_at = stage;
  window->press_button = "btabort";
  Child<QLineEdit>(*window, "companyName")->setText("Nome guardado mesmo abortado");
  Child<QLineEdit>(*window, "ficheiro")->setText("abortado");
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);

  QVERIFY(m_fixture->error_boxes.empty());
  QCOMPARE(window->statuses.last(), QString("Operação abortada!"));
  QCOMPARE(Child<QLabel>(*window, "nfiles")->text(), QString("Operação abortada!"));
  QVERIFY2(!window->statuses.contains("Abertura de tabelas de vendas"), "the run went on past the abort");
  const qsizetype pressed = window->statuses.indexOf(stage);
  QVERIFY(pressed >= 0);
  QCOMPARE(window->statuses.size(), pressed + 2);  // the stage, then the abort status
  window->expect_states_during_run();
  QCOMPARE(window->state(), kDataState);

  const QByteArray audit = read("abortado.xml");
  QVERIFY2(audit.endsWith(tail), audit.right(200).constData());
  QVERIFY(!audit.contains("</TaxTable>"));
  QVERIFY(!audit.contains("<SourceDocuments>"));
  QVERIFY(!audit.contains("</MasterFiles>"));
  QVERIFY(read("Varnel.ini").contains("\r\nCompanyName=Nome guardado mesmo abortado\r\n"));

  // The abort flag belongs to that run: the next one runs to its end.
  window->press_at.clear();
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);
  QVERIFY2(Child<QLabel>(*window, "nfiles")->text().startsWith("Ficheiro verificado: "),
           qPrintable(Child<QLabel>(*window, "nfiles")->text()));
  QVERIFY(read("abortado.xml").contains("</MasterFiles>"));
}

// "Abortar" during the sales invoices takes effect at the next document
// boundary: the invoices up to the progress step are written, the remaining
// sections are present and empty, and the file ends normally.
void TestWindowExport::abortAtAProgressStep() {
  auto window = make_window();
  QVERIFY(ShowActive(*window));
  window->press_at = "Exportados 50 de ";
  window->press_button = "btabort";
  Child<QLineEdit>(*window, "ficheiro")->setText("passo.xml");
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);

  QVERIFY(window->pressed);
  QVERIFY(m_fixture->error_boxes.empty());
  QCOMPARE(window->statuses.last(), QString("Operação abortada!"));
  for (const QString& status : window->statuses) QVERIFY2(!status.startsWith("Exportados 100 de "), qPrintable(status));
  const QByteArray audit = read("passo.xml");
  QCOMPARE(audit.count("<Invoice>"), 50);
  QVERIFY(audit.contains("</SalesInvoices>\r\n"));
  QVERIFY(audit.contains("<WorkingDocuments>\r\n"));
  QVERIFY(!audit.contains("<WorkDocument>"));
  QVERIFY(audit.endsWith("\r\n  </SourceDocuments>\r\n</AuditFile>\r\n"));
  QCOMPARE(window->state(), kDataState);
}

void TestWindowExport::sairDuringRunAbortsWhenConfirmed() {
  auto window = make_window();
  QVERIFY(ShowActive(*window));
  window->press_at = "A salvar a configuração";
  window->press_button = "btcancel";
  Child<QLineEdit>(*window, "companyName")->setText("Valor depois de Sair");
  Child<QLineEdit>(*window, "ficheiro")->setText("sair.xml");
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);

  QCOMPARE(m_fixture->questions.size(), std::size_t{1});
  QVERIFY(!window->isVisible());
  QVERIFY(m_fixture->error_boxes.empty());
  QCOMPARE(window->statuses.last(), QString("Operação abortada!"));
  const QByteArray audit = read("sair.xml");
  QVERIFY(audit.endsWith("</AuditFile>\r\n"));
  QVERIFY(!audit.contains("</MasterFiles>"));
  QVERIFY2(read("Varnel.ini").contains("\r\nCompanyName=Valor depois de Sair\r\n"),
           "the save the run asks for after Sair keeps the operator's values");
}

void TestWindowExport::invalidTaxpayerNumberSavesNothing() {
  const QByteArray before = read("Varnel.ini");
  auto window = make_window();
  Child<QLineEdit>(*window, "companyID")->setText("123456780");
  Child<QLineEdit>(*window, "ficheiro")->setText("nif.xml");
  Child<QPushButton>(*window, "btexport")->click();
  QCOMPARE(m_fixture->error_boxes.size(), std::size_t{1});
  QCOMPARE(m_fixture->error_boxes[0].caption, QString("Erro"));
  QCOMPARE(m_fixture->error_boxes[0].text, QString("Número de contribuinte inválido"));
  QVERIFY(window->statuses.isEmpty());
  QVERIFY(window->states.empty());
  QCOMPARE(read("Varnel.ini"), before);
  QVERIFY(!QFile::exists("nif.xml"));
}

void TestWindowExport::readOnlySettingsFileEndsTheRun() {
  QVERIFY(QFile::setPermissions("Varnel.ini", QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  const QByteArray before = read("Varnel.ini");
  auto window = make_window();
  QVERIFY(ShowActive(*window));
  Child<QLineEdit>(*window, "companyName")->setText("Outro");
  Child<QLineEdit>(*window, "ficheiro")->setText("bloqueado.xml");
  QTest::mouseClick(Child<QPushButton>(*window, "btexport"), Qt::LeftButton);

  QCOMPARE(m_fixture->error_boxes.size(), std::size_t{1});
  QCOMPARE(m_fixture->error_boxes[0].caption, QString("Varnel v6"));
  QCOMPARE(m_fixture->error_boxes[0].text, QString("Não foi possível gravar o ficheiro .\\Varnel.ini."));
  QCOMPARE(window->statuses.last(), QString("A salvar a configuração"));
  QCOMPARE(window->state(), kDataState);
  QVERIFY(Child<QProgressBar>(*window, "pb")->isHidden());
  QCOMPARE(read("Varnel.ini"), before);
  QVERIFY(!QFile::exists("bloqueado.xml"));
}

QTEST_MAIN(TestWindowExport)
#include "window_export_test.moc"
