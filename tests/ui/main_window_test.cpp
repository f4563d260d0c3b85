// The operator window: its start state from given settings files and a fixed
// "today", the series unlock, the file chooser and its remembered folder, the
// two states driven through the observer, the error boxes (in Portuguese),
// when the company data are saved, where the focus goes after a run, "Abrir
// pasta", and "Sair" and "Abortar" pressed while a run is under way.
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "window_fixture.h"

using namespace varnel;
using namespace varnel::testing;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)
Q_DECLARE_METATYPE(Qt::MouseButton)

class TestMainWindow : public QObject {
  Q_OBJECT

 private slots:
  void defaultPeriod_data();
  void defaultPeriod();
  void startsWithDefaultsWithoutSettingsFiles();
  void showsStoredCompanyData();
  void storedTaxRegion_data();
  void storedTaxRegion();
  void seriesOption_data();
  void seriesOption();
  void seriesUnlock_data();
  void seriesUnlock();
  void fileChooser_data();
  void fileChooser();
  void observerSwitchesPanelsAndButtons();
  void errorBoxesCarryTheirCaptions();
  void settingsSavedOnlyAfterChecks_data();
  void settingsSavedOnlyAfterChecks();
  void requestCarriesTheFields();
  void abortFromPendingEvents();
  void sairDuringRunAsksFirst_data();
  void sairDuringRunAsksFirst();
  void sairConfirmedDuringMaintenanceStillAborts();
  void focusReturnsAfterRun_data();
  void focusReturnsAfterRun();
  void openFolderAfterCompletedExport_data();
  void openFolderAfterCompletedExport();
  void lastFolderStartsTheFileDialog();
  void datesArePortuguese();
};

void TestMainWindow::defaultPeriod_data() {
  QTest::addColumn<QDate>("today");
  QTest::addColumn<QDate>("first");
  QTest::addColumn<QDate>("last");
  QTest::newRow("January: previous December") << QDate(2016, 1, 15) << QDate(2015, 12, 1) << QDate(2015, 12, 31);
  QTest::newRow("31 March, leap year") << QDate(2016, 3, 31) << QDate(2016, 2, 1) << QDate(2016, 2, 29);
  QTest::newRow("31 March, common year") << QDate(2015, 3, 31) << QDate(2015, 2, 1) << QDate(2015, 2, 28);
  QTest::newRow("31 May: April has 30") << QDate(2016, 5, 31) << QDate(2016, 4, 1) << QDate(2016, 4, 30);
  QTest::newRow("1 March") << QDate(2016, 3, 1) << QDate(2016, 2, 1) << QDate(2016, 2, 29);
  QTest::newRow("1 January 2000") << QDate(2000, 1, 1) << QDate(1999, 12, 1) << QDate(1999, 12, 31);
}

void TestMainWindow::defaultPeriod() {
  QFETCH(QDate, today);
  QFETCH(QDate, first);
  QFETCH(QDate, last);
  WindowFixture fixture;
  Tmain window(fixture.options(DateTime::FromDate(today.year(), today.month(), today.day())));
  QCOMPARE(Child<QDateEdit>(window, "datai")->date(), first);
  QCOMPARE(Child<QDateEdit>(window, "dataf")->date(), last);
  const ExportRequest request = window.build_request();
  QCOMPARE(request.datai, DateTime::FromDate(first.year(), first.month(), first.day()));
  QCOMPARE(request.dataf, DateTime::FromDate(last.year(), last.month(), last.day()));
}

void TestMainWindow::startsWithDefaultsWithoutSettingsFiles() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  QCOMPARE(window.windowTitle(), QString("Varnel V6"));
  QCOMPARE(window.size(), QSize(671, 506));
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QCOMPARE(Child<QLabel>(window, "titleBand")->text(), QString("Exportação SAF-T-PT modelo 1.03_01"));

  QCOMPARE(Child<QLineEdit>(window, "companyID")->text(), QString("999999990"));
  QCOMPARE(Child<QLineEdit>(window, "companyName")->text(), QString("?"));
  QCOMPARE(Child<QLineEdit>(window, "buildingNumber")->text(), QString("S/N"));
  QCOMPARE(Child<QLineEdit>(window, "streetName")->text(), QString("S/N"));
  QCOMPARE(Child<QLineEdit>(window, "addressDetail")->text(), QString("?"));
  QCOMPARE(Child<QLineEdit>(window, "city")->text(), QString("?"));
  QCOMPARE(Child<QLineEdit>(window, "postalCode1")->text(), QString("0000"));
  QCOMPARE(Child<QLineEdit>(window, "postalCode2")->text(), QString("000"));
  QCOMPARE(Child<QLineEdit>(window, "estabelecimento")->text(), QString());
  QCOMPARE(Child<QLineEdit>(window, "estabelecimento")->maxLength(), 20);
  QCOMPARE(Child<QLineEdit>(window, "ficheiro")->text(), QString());

  auto* region = Child<QComboBox>(window, "taxCountryRegion");
  QCOMPARE(region->currentIndex(), 0);
  QCOMPARE(region->currentText(), QString("Continente"));
  QCOMPARE(region->count(), 3);
  QCOMPARE(region->itemText(2), QString("Açores"));
  QVERIFY(!region->isEditable());
  auto* type = Child<QComboBox>(window, "saftType");
  QCOMPARE(type->currentText(), QString("Resumido (para submeter pelo portal)"));
  QCOMPARE(type->itemText(0), QString("Normal"));
  auto* series = Child<QComboBox>(window, "fserienum");
  QCOMPARE(series->count(), 27);
  QCOMPARE(series->currentText(), QString("Não utilizar"));
  QCOMPARE(series->itemText(26), QString("Z"));
  QVERIFY(!series->isEnabled());
  QCOMPARE(Child<QToolButton>(window, "openf")->focusPolicy(), Qt::NoFocus);

  QVERIFY(!Child<QWidget>(window, "pdados")->isHidden());
  QVERIFY(Child<QWidget>(window, "processar")->isHidden());
  QVERIFY(Child<QProgressBar>(window, "pb")->isHidden());
  QVERIFY(Child<QLabel>(window, "nfiles")->isHidden());
  QCOMPARE(Child<QLabel>(window, "nfiles")->text(), QString("0 de 0"));
  QCOMPARE(Child<QLabel>(window, "vs")->text(), QString("Versão 6.5.1 Korvel"));
  QVERIFY(Child<QPushButton>(window, "btabort")->isHidden());
  QVERIFY(!Child<QPushButton>(window, "btexport")->isHidden());
  QVERIFY(!Child<QPushButton>(window, "btcancel")->isHidden());
  QCOMPARE(Child<QPushButton>(window, "btabort")->text(), QString("Abortar"));
  QCOMPARE(Child<QPushButton>(window, "btexport")->text(), QString("Exportar"));
  QCOMPARE(Child<QPushButton>(window, "btcancel")->text(), QString("Sair"));

  window.close();
  QVERIFY2(!QFile::exists(fixture.path("Varnel.ini")), "closing the window must not write the settings");
}

void TestMainWindow::showsStoredCompanyData() {
  WindowFixture fixture;
  fixture.write_file("varnel.INI",
                     "[Company Info]\r\nCompanyID=503504505\r\nCompanyName=Pastelaria A\xE7oriana\r\n"
                     "StreetName=Rua da S\xE9\r\nAddressDetail=Loja 3\r\nBuildingNumber=12\r\nCity=Ponta Delgada\r\n"
                     "PostalCode1=9500\r\nPostalCode2=123\r\nEstabelecimento=Centro\r\nTaxCountryRegion=2\r\n");
  const QByteArray before = fixture.read_file("varnel.INI");
  Tmain window(fixture.options());
  QCOMPARE(Child<QLineEdit>(window, "companyID")->text(), QString("503504505"));
  QCOMPARE(Child<QLineEdit>(window, "companyName")->text(), QString("Pastelaria Açoriana"));
  QCOMPARE(Child<QLineEdit>(window, "streetName")->text(), QString("Rua da Sé"));
  QCOMPARE(Child<QLineEdit>(window, "addressDetail")->text(), QString("Loja 3"));
  QCOMPARE(Child<QLineEdit>(window, "buildingNumber")->text(), QString("12"));
  QCOMPARE(Child<QLineEdit>(window, "city")->text(), QString("Ponta Delgada"));
  QCOMPARE(Child<QLineEdit>(window, "postalCode1")->text(), QString("9500"));
  QCOMPARE(Child<QLineEdit>(window, "postalCode2")->text(), QString("123"));
  QCOMPARE(Child<QLineEdit>(window, "estabelecimento")->text(), QString("Centro"));
  QCOMPARE(Child<QComboBox>(window, "taxCountryRegion")->currentText(), QString("Açores"));

  Child<QLineEdit>(window, "companyName")->setText("Outro nome");
  window.close();
  QCOMPARE(fixture.read_file("varnel.INI"), before);
}

void TestMainWindow::storedTaxRegion_data() {
  QTest::addColumn<QByteArray>("stored");
  QTest::addColumn<int>("index");
  QTest::newRow("Madeira") << QByteArray("1") << 1;
  QTest::newRow("Açores") << QByteArray("2") << 2;
  QTest::newRow("5 selects nothing") << QByteArray("5") << -1;
  QTest::newRow("-1 selects nothing") << QByteArray("-1") << -1;
  QTest::newRow("not an integer reads as 0") << QByteArray("Madeira") << 0;
}

void TestMainWindow::storedTaxRegion() {
  QFETCH(QByteArray, stored);
  QFETCH(int, index);
  WindowFixture fixture;
  fixture.write_file("Varnel.ini", "[Company Info]\r\nTaxCountryRegion=" + stored + "\r\n");
  Tmain window(fixture.options());
  QCOMPARE(Child<QComboBox>(window, "taxCountryRegion")->currentIndex(), index);
  QCOMPARE(window.build_request().company.taxCountryRegion, TaxRegionOfNumber(index));
  QCOMPARE(window.company_settings().taxCountryRegion, TaxRegionOfNumber(index));
}

void TestMainWindow::seriesOption_data() {
  QTest::addColumn<QByteArray>("korvel");  // empty: no Korvel.ini
  QTest::addColumn<int>("index");
  QTest::newRow("no file") << QByteArray() << 0;
  QTest::newRow("no key") << QByteArray("[OPCOES]\r\nOutra=3\r\n") << 0;
  QTest::newRow("3 selects C") << QByteArray("[OPCOES]\r\nSerie de numeracao=3\r\n") << 3;
  QTest::newRow("26 selects Z") << QByteArray("[opcoes]\r\nserie de numeracao = 26\r\n") << 26;
  QTest::newRow("27 selects nothing") << QByteArray("[OPCOES]\r\nSerie de numeracao=27\r\n") << -1;
  QTest::newRow("ten characters, nine seen") << QByteArray("[OPCOES]\r\nSerie de numeracao=0000000012\r\n") << 1;
  QTest::newRow("a letter reads as 0") << QByteArray("[OPCOES]\r\nSerie de numeracao=C\r\n") << 0;
}

void TestMainWindow::seriesOption() {
  QFETCH(QByteArray, korvel);
  QFETCH(int, index);
  WindowFixture fixture;
  if (!korvel.isEmpty()) fixture.write_file("Korvel.ini", korvel);
  Tmain window(fixture.options());
  QCOMPARE(Child<QComboBox>(window, "fserienum")->currentIndex(), index);
  QCOMPARE(window.build_request().fserienum.value(), index);
}

void TestMainWindow::seriesUnlock_data() {
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("plain click") << Qt::LeftButton << Qt::KeyboardModifiers() << false;
  QTest::newRow("shift click") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
  QTest::newRow("ctrl click") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
  QTest::newRow("ctrl right click") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
  QTest::newRow("ctrl+alt click")
      << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier) << true;
}

void TestMainWindow::seriesUnlock() {
  QFETCH(Qt::MouseButton, button);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(bool, enabled);
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  auto* label = Child<QLabel>(window, "lbserie");
  QCOMPARE(label->text(), QString("Série de documentos"));
  QTest::mouseClick(label, button, modifiers);
  QCOMPARE(Child<QComboBox>(window, "fserienum")->isEnabled(), enabled);
  // Once enabled it stays so: a later plain click changes nothing.
  QTest::mouseClick(label, Qt::LeftButton);
  QCOMPARE(Child<QComboBox>(window, "fserienum")->isEnabled(), enabled);
}

void TestMainWindow::fileChooser_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("confirm");
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("shown");
  QTest::newRow("no extension") << QString() << true << QString("C:\\saft\\ficheiro") << QString("C:\\saft\\ficheiro.xml");
  QTest::newRow(".txt replaced") << QString("old.xml") << true << QString("/srv/saft/jan.txt") << QString("/srv/saft/jan.xml");
  QTest::newRow(".XML in capitals") << QString() << true << QString("/srv/saft/JAN.XML") << QString("/srv/saft/JAN.xml");
  QTest::newRow("cancel keeps the field") << QString("keep me.txt") << false << QString() << QString("keep me.txt");
}

void TestMainWindow::fileChooser() {
  QFETCH(QString, typed);
  QFETCH(bool, confirm);
  QFETCH(QString, chosen);
  QFETCH(QString, shown);
  WindowFixture fixture;
  QTemporaryDir elsewhere;
  const QString working_directory = QDir::currentPath();
  TmainOptions options = fixture.options();
  bool dialog_shown = false;
  options.run_file_dialog = [&](QFileDialog& dialog) -> std::optional<QString> {
    dialog_shown = true;
    [&] {
      QCOMPARE(dialog.windowTitle(), QString("Ficheiro de exportação"));
      QCOMPARE(dialog.nameFilters(), QStringList{"Ficheiros xml (*.xml)"});
      QCOMPARE(dialog.defaultSuffix(), QString("xml"));
      QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
      QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
      if (!typed.isEmpty()) QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), typed);
    }();
    QDir::setCurrent(elsewhere.path());  // a dialog that moves the working directory
    if (!confirm) return std::nullopt;
    return chosen;
  };
  Tmain window(options);
  Child<QLineEdit>(window, "ficheiro")->setText(typed);
  Child<QToolButton>(window, "openf")->click();
  QVERIFY(dialog_shown);
  QCOMPARE(Child<QLineEdit>(window, "ficheiro")->text(), shown);
  QCOMPARE(QDir::currentPath(), working_directory);
}

void TestMainWindow::observerSwitchesPanelsAndButtons() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  auto* pb = Child<QProgressBar>(window, "pb");
  ExportObserver& observer = window.model();  // the run's observer

  observer.showProcessing();
  QVERIFY(Child<QWidget>(window, "processar")->isVisible());
  QVERIFY(!Child<QWidget>(window, "pdados")->isVisible());
  QVERIFY(Child<QPushButton>(window, "btabort")->isVisible());
  QVERIFY(!Child<QPushButton>(window, "btexport")->isVisible());
  QVERIFY(Child<QPushButton>(window, "btcancel")->isVisible());
  QVERIFY(Child<QLabel>(window, "nfiles")->isVisible());
  QVERIFY(!pb->isVisible());

  observer.progressStart(7);
  QVERIFY(pb->isVisible());
  QCOMPARE(pb->maximum(), 7);
  QCOMPARE(pb->value(), 0);
  observer.progressStep();
  observer.progressStep();
  QCOMPARE(pb->value(), 2);
  observer.setStatus("Exportados 100 de 370 registos...");
  QCOMPARE(Child<QLabel>(window, "nfiles")->text(), QString("Exportados 100 de 370 registos..."));
  observer.progressHide();
  QVERIFY(!pb->isVisible());

  observer.showData();
  QVERIFY(!Child<QWidget>(window, "processar")->isVisible());
  QVERIFY(Child<QWidget>(window, "pdados")->isVisible());
  QVERIFY(!Child<QPushButton>(window, "btabort")->isVisible());
  QVERIFY(Child<QPushButton>(window, "btexport")->isVisible());
  QVERIFY2(Child<QLabel>(window, "nfiles")->isVisible(), "the status line stays visible with its last text");
  QCOMPARE(Child<QLabel>(window, "nfiles")->text(), QString("Exportados 100 de 370 registos..."));

  observer.showOutputPath("C:\\saft\\export.xml");
  QCOMPARE(Child<QLineEdit>(window, "ficheiro")->text(), QString("C:\\saft\\export.xml"));
}

void TestMainWindow::errorBoxesCarryTheirCaptions() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  ExportObserver& observer = window.model();
  observer.showError("Número de contribuinte inválido");
  observer.showApplicationError("Unable to write to .\\Varnel.ini.");
  QCOMPARE(fixture.error_boxes.size(), std::size_t{2});
  QCOMPARE(fixture.error_boxes[0].caption, QString("Erro"));
  QCOMPARE(fixture.error_boxes[0].text, QString("Número de contribuinte inválido"));
  QCOMPARE(fixture.error_boxes[1].caption, QString("Varnel v6"));
  QCOMPARE(fixture.error_boxes[1].text, QString("Não foi possível gravar o ficheiro .\\Varnel.ini."));

  // The core's file errors in Portuguese, the system's reason too when it
  // is a common one; any other text as the core made it.
  const std::pair<const char*, const char*> errors[] = {
      {"Cannot create file \"/srv/x/saft.xml\". No such file or directory.",
       "Não foi possível criar o ficheiro \"/srv/x/saft.xml\". A pasta indicada não existe."},
      {"Cannot write to file \"a. b.xml\". No space left on device.",
       "Não foi possível escrever no ficheiro \"a. b.xml\". O disco está cheio."},
      {"Cannot write to file \"s.xml\". Some rare reason.",
       "Não foi possível escrever no ficheiro \"s.xml\". Some rare reason."},
      {"[08S01] Communication link failure (ODBC, query q_cli).",
       "[08S01] Communication link failure (ODBC, query q_cli)."},
  };
  for (const auto& [core, shown] : errors) {
    observer.showApplicationError(core);
    QCOMPARE(fixture.error_boxes.back().text, QString::fromUtf8(shown));
  }
}

void TestMainWindow::settingsSavedOnlyAfterChecks_data() {
  QTest::addColumn<QString>("ficheiro");
  QTest::addColumn<bool>("dataLinkFile");
  QTest::addColumn<bool>("finalBeforeInitial");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shownPath");
  QTest::newRow("blank output path") << QString("   ") << true << false
                                     << QString("Falta definir o ficheiro a exportar!") << QString("   ");
  QTest::newRow("final date before the initial one")
      << QString("periodo") << true << true << QString("A data final é anterior à data inicial!")
      << QString("periodo.xml");
  QTest::newRow("no data link file")
      << QString("saida.txt") << false << false
      << QString("Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!") << QString("saida.xml");
}

// The real run's checks fail before it asks the window to save: the file is
// neither created nor changed. The saving run is in the end-to-end test.
void TestMainWindow::settingsSavedOnlyAfterChecks() {
  QFETCH(QString, ficheiro);
  QFETCH(bool, dataLinkFile);
  QFETCH(bool, finalBeforeInitial);
  QFETCH(QString, message);
  QFETCH(QString, shownPath);
  WindowFixture fixture;
  fixture.write_file("Varnel.ini", "[Company Info]\r\nCompanyName=Antes\r\n");
  const QByteArray before = fixture.read_file("Varnel.ini");
  if (dataLinkFile) fixture.write_file("Korvel.udl", "[oledb]\r\n");
  const QString working_directory = QDir::currentPath();
  QVERIFY(QDir::setCurrent(fixture.path(".")));  // the run looks for Korvel.udl here

  Tmain window(fixture.options());
  Child<QLineEdit>(window, "companyName")->setText("Depois");
  Child<QLineEdit>(window, "ficheiro")->setText(ficheiro);
  if (finalBeforeInitial) Child<QDateEdit>(window, "dataf")->setDate(QDate(2015, 11, 30));
  Child<QPushButton>(window, "btexport")->click();
  const bool written = !shownPath.trimmed().isEmpty() && QFile::exists(fixture.path(shownPath));
  QDir::setCurrent(working_directory);
  QVERIFY(!written);

  QCOMPARE(fixture.error_boxes.size(), std::size_t{1});
  QCOMPARE(fixture.error_boxes[0].caption, QString("Erro"));
  QCOMPARE(fixture.error_boxes[0].text, message);
  QCOMPARE(Child<QLineEdit>(window, "ficheiro")->text(), shownPath);
  QCOMPARE(fixture.read_file("Varnel.ini"), before);
  QVERIFY(Child<QWidget>(window, "pdados")->isVisibleTo(&window));
  QVERIFY(Child<QLabel>(window, "nfiles")->isHidden());
}

void TestMainWindow::requestCarriesTheFields() {
  WindowFixture fixture;
  Tmain window(fixture.options(DateTime::FromDate(2016, 3, 31), [](ExportObserver&, ScriptedRun&) {}));
  Child<QLineEdit>(window, "companyID")->setText(" 503504505 ");
  Child<QLineEdit>(window, "companyName")->setText("Café Central");
  Child<QLineEdit>(window, "ficheiro")->setText("  saida ");
  Child<QComboBox>(window, "saftType")->setCurrentIndex(0);
  Child<QComboBox>(window, "taxCountryRegion")->setCurrentIndex(1);
  Child<QPushButton>(window, "btexport")->click();
  QCOMPARE(fixture.requests.size(), std::size_t{1});
  const ExportRequest& request = fixture.requests[0];
  QCOMPARE(request.company.companyID, std::string(" 503504505 "));
  QCOMPARE(request.company.companyName, std::string("Café Central"));
  QCOMPARE(request.ficheiro, std::string("  saida "));
  QCOMPARE(request.saftType, SaftType::Normal);
  QCOMPARE(request.company.taxCountryRegion, TaxRegion::Madeira);
  QCOMPARE(request.fserienum.value(), 0);
  QCOMPARE(request.datai, DateTime::FromDate(2016, 2, 1));
  QCOMPARE(request.dataf, DateTime::FromDate(2016, 2, 29));
  QCOMPARE(request.vs, std::string("Versão 6.5.1 Korvel"));
  QVERIFY(!window.run_under_way());
}

void TestMainWindow::abortFromPendingEvents() {
  WindowFixture fixture;
  QStringList seen;
  Tmain* window_pointer = nullptr;
  auto script = [&](ExportObserver& observer, ScriptedRun& run) {
    observer.showProcessing();
    observer.processPendingEvents();
    QVERIFY(!run.abort_requested);
    QTest::mouseClick(Child<QPushButton>(*window_pointer, "btabort"), Qt::LeftButton);
    QVERIFY(run.abort_requested);
    // A press of the hidden "Exportar" during the run starts nothing.
    window_pointer->btExportClick();
    observer.showData();
  };
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), script));
  window_pointer = &window;
  QVERIFY(ShowActive(window));
  Child<QPushButton>(window, "btexport")->click();
  QCOMPARE(fixture.requests.size(), std::size_t{1});
}

void TestMainWindow::sairDuringRunAsksFirst_data() {
  QTest::addColumn<bool>("confirm");
  QTest::newRow("confirmed: aborts, closes after the run") << true;
  QTest::newRow("declined: the run goes on") << false;
}

void TestMainWindow::sairDuringRunAsksFirst() {
  QFETCH(bool, confirm);
  WindowFixture fixture;
  fixture.answer = confirm;
  Tmain* window_pointer = nullptr;
  bool abort_seen = false;
  bool visible_after_question = false;
  auto script = [&](ExportObserver& observer, ScriptedRun& run) {
    observer.showProcessing();
    // "Sair" pressed while the first stage text is shown.
    QMetaObject::invokeMethod(Child<QPushButton>(*window_pointer, "btcancel"), "click", Qt::QueuedConnection);
    observer.setStatus("A salvar a configuração");
    observer.processPendingEvents();
    abort_seen = run.abort_requested;
    visible_after_question = window_pointer->isVisible();
    observer.persistSettings();
    run.outcome = run.abort_requested ? RunOutcome::Aborted : RunOutcome::Completed;
    observer.setStatus(run.abort_requested ? "Operação abortada!" : "Exportados 0 de 0 registos. Exportação efectuada");
    observer.showData();
  };
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), script));
  window_pointer = &window;
  QVERIFY(ShowActive(window));
  window.setAttribute(Qt::WA_QuitOnClose, false);  // keep the test's event loop alive
  Child<QLineEdit>(window, "companyName")->setText("Nome do operador");
  Child<QPushButton>(window, "btexport")->click();

  QCOMPARE(fixture.questions.size(), std::size_t{1});
  QCOMPARE(fixture.questions[0].caption, QString("Varnel v6"));
  QCOMPARE(fixture.questions[0].text, QString("Está a decorrer uma exportação. Abortar e sair?"));
  QCOMPARE(abort_seen, confirm);
  QVERIFY2(visible_after_question, "the window stays until the run has ended");
  QCOMPARE(window.isVisible(), !confirm);
  QVERIFY(!window.run_under_way());
  QVERIFY(fixture.read_file("Varnel.ini").contains("\r\nCompanyName=Nome do operador\r\n"));
  // Sair with no run closes at once, asking nothing.
  if (!confirm) {
    Child<QPushButton>(window, "btcancel")->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(fixture.questions.size(), std::size_t{1});
  }
}

// The run clears an abort set during the maintenance; a confirmed close is
// asked for again at the next chance, so the run still ends.
void TestMainWindow::sairConfirmedDuringMaintenanceStillAborts() {
  WindowFixture fixture;
  Tmain* window_pointer = nullptr;
  bool aborted_again = false;
  auto script = [&](ExportObserver& observer, ScriptedRun& run) {
    QMetaObject::invokeMethod(Child<QPushButton>(*window_pointer, "btcancel"), "click", Qt::QueuedConnection);
    observer.setStatus("Manutenção da base de dados: 0 de 900 documentos");
    observer.processPendingEvents();
    QVERIFY(run.abort_requested);
    run.abort_requested = false;  // as the run does after the maintenance
    observer.showProcessing();
    observer.processPendingEvents();
    aborted_again = run.abort_requested;
    run.outcome = RunOutcome::Aborted;
    observer.showData();
  };
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), script));
  window_pointer = &window;
  QVERIFY(ShowActive(window));
  window.setAttribute(Qt::WA_QuitOnClose, false);
  Child<QPushButton>(window, "btexport")->click();
  QVERIFY(aborted_again);
  QVERIFY(!window.isVisible());
}

void TestMainWindow::focusReturnsAfterRun_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<bool>("mouse");
  QTest::newRow("Exportar clicked") << "btexport" << true;
  QTest::newRow("run started from a date picker") << "dataf" << false;
}

// During the run "Exportar" is hidden and the data panel takes no input, so
// the focus moves off them; once the run is over it goes back, and the next
// Enter does not reach "Sair".
void TestMainWindow::focusReturnsAfterRun() {
  QFETCH(QString, from);
  QFETCH(bool, mouse);
  WindowFixture fixture;
  QString focus_during_run;
  auto script = [&](ExportObserver& observer, ScriptedRun&) {
    observer.showProcessing();
    observer.processPendingEvents();
    focus_during_run = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    observer.showData();
  };
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), script));
  QVERIFY(ShowActive(window));
  window.setAttribute(Qt::WA_QuitOnClose, false);
  auto* exportar = Child<QPushButton>(window, "btexport");
  Child<QWidget>(window, from.toLatin1().constData())->setFocus(Qt::OtherFocusReason);
  if (mouse) {
    QTest::mouseClick(exportar, Qt::LeftButton);
  } else {
    exportar->click();
  }
  QCOMPARE(fixture.requests.size(), std::size_t{1});
  QVERIFY(focus_during_run != from);
  QCOMPARE(window.focusWidget(), Child<QWidget>(window, from.toLatin1().constData()));
  if (mouse) {
    PressKey(Qt::Key_Return);  // Enter on "Exportar" again: a second run, not the end
    QCOMPARE(fixture.requests.size(), std::size_t{2});
    QVERIFY(window.isVisible());
  }
}

void TestMainWindow::openFolderAfterCompletedExport_data() {
  QTest::addColumn<int>("outcome");
  QTest::addColumn<bool>("offered");
  QTest::newRow("completed") << int(RunOutcome::Completed) << true;
  QTest::newRow("aborted") << int(RunOutcome::Aborted) << false;
}

void TestMainWindow::openFolderAfterCompletedExport() {
  QFETCH(int, outcome);
  QFETCH(bool, offered);
  WindowFixture fixture;
  QVERIFY(QDir().mkpath(fixture.path("saidas")));
  Tmain* window_pointer = nullptr;
  std::vector<bool> offered_during_run;
  auto script = [&](ExportObserver& observer, ScriptedRun& run) {
    offered_during_run.push_back(Child<QPushButton>(*window_pointer, "btopenfolder")->isVisible());
    observer.showOutputPath(fixture.path("saidas/jan.xml").toStdString());
    observer.showProcessing();
    observer.setStatus("Exportados 3 de 3 registos. Exportação efectuada");
    observer.showData();
    run.outcome = static_cast<RunOutcome>(outcome);
  };
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), script));
  window_pointer = &window;
  QVERIFY(ShowActive(window));
  auto* open_folder = Child<QPushButton>(window, "btopenfolder");
  QVERIFY(!open_folder->isVisible());
  Child<QLineEdit>(window, "ficheiro")->setText("x");
  Child<QPushButton>(window, "btexport")->click();
  QCOMPARE(open_folder->isVisible(), offered);
  if (!offered) return;
  QVERIFY(Child<QLabel>(window, "nfiles")->isVisible());
  open_folder->click();
  QCOMPARE(fixture.opened_folders, std::vector<QString>{QFileInfo(fixture.path("saidas")).absoluteFilePath()});
  // The next run takes the offer away until it completes in its turn.
  Child<QPushButton>(window, "btexport")->click();
  QCOMPARE(offered_during_run, (std::vector<bool>{false, false}));
  QVERIFY(open_folder->isVisible());
}

// The folder of the last export's file is kept in Varnel.ini under its own
// section (the company section keeps its ten keys); the save dialog of the
// next session opens there while "Ficheiro" is empty.
void TestMainWindow::lastFolderStartsTheFileDialog() {
  WindowFixture fixture;
  QVERIFY(QDir().mkpath(fixture.path("exportacoes")));
  {
    Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), [](ExportObserver& observer, ScriptedRun&) {
      observer.persistSettings();
    }));
    Child<QLineEdit>(window, "ficheiro")->setText(fixture.path("exportacoes/jan.xml"));
    Child<QPushButton>(window, "btexport")->click();
  }
  const QByteArray ini = fixture.read_file("Varnel.ini");
  const QString folder = QFileInfo(fixture.path("exportacoes")).absoluteFilePath();
  QVERIFY2(ini.endsWith("TaxCountryRegion=0\r\n\r\n[Export]\r\nLastFolder=" + folder.toUtf8() + "\r\n"),
           ini.constData());
  QCOMPARE(ini.count("\r\n"), 14);  // two section lines and a blank one, ten company keys, the folder

  TmainOptions options = fixture.options();
  QString directory;
  options.run_file_dialog = [&](QFileDialog& dialog) -> std::optional<QString> {
    directory = dialog.directory().absolutePath();
    return std::nullopt;
  };
  Tmain window(options);
  Child<QToolButton>(window, "openf")->click();
  QCOMPARE(directory, folder);
}

void TestMainWindow::datesArePortuguese() {
  const QLocale machine = QLocale();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  WindowFixture fixture;
  Tmain window(fixture.options());
  QLocale::setDefault(machine);
  for (const char* name : {"datai", "dataf"}) {
    auto* date = Child<QDateEdit>(window, name);
    QCOMPARE(date->locale().language(), QLocale::Portuguese);
    QVERIFY(date->calendarWidget());
    QCOMPARE(date->calendarWidget()->locale().monthName(1), QString("janeiro"));
    QCOMPARE(date->text(), QString(std::string_view(name) == "datai" ? "01/12/2015" : "31/12/2015"));
  }
}

QTEST_MAIN(TestMainWindow)
#include "main_window_test.moc"
