// "Versão do ficheiro" in the Qt window: its choices, its default switching
// at 1 July 2017 with the dates typed, the pick by hand that stays, the title
// band and the request; and the validation codes' dialog reached from the
// data panel: a malformed code refused where it is typed, the codes saved.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "ui/atcud_dialog.h"
#include "window_fixture.h"

using namespace varnel;
using namespace varnel::testing;

class TestVersionAndCodes : public QObject {
  Q_OBJECT

 private slots:
  void versionFollowsTheFirstDay_data();
  void versionFollowsTheFirstDay();
  void versionPickedByHandStays();
  void codesDialogRefusesAndSaves();
};

void TestVersionAndCodes::versionFollowsTheFirstDay_data() {
  QTest::addColumn<QDate>("today");
  QTest::addColumn<QString>("version");
  QTest::newRow("June 2017") << QDate(2017, 7, 31) << "1.03_01";
  QTest::newRow("July 2017") << QDate(2017, 8, 1) << "1.04_01";
}

void TestVersionAndCodes::versionFollowsTheFirstDay() {
  QFETCH(QDate, today);
  QFETCH(QString, version);
  WindowFixture fixture;
  Tmain window(fixture.options(DateTime::FromDate(today.year(), today.month(), today.day())));
  auto* list = Child<QComboBox>(window, "saftVersion");
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->itemText(0), QString("1.03_01"));
  QCOMPARE(list->itemText(1), QString("1.04_01"));
  QCOMPARE(list->currentText(), version);
  QCOMPARE(Child<QLabel>(window, "titleBand")->text(), "Exportação SAF-T-PT modelo " + version);

  auto* first_day = Child<QDateEdit>(window, "datai");
  first_day->setDate(QDate(2017, 7, 1));
  QCOMPARE(list->currentText(), QString("1.04_01"));
  first_day->setDate(QDate(2017, 6, 30));
  QCOMPARE(list->currentText(), QString("1.03_01"));
  QCOMPARE(Child<QLabel>(window, "titleBand")->text(), QString("Exportação SAF-T-PT modelo 1.03_01"));
  QCOMPARE(window.build_request().saftVersion, SaftVersion::k1_03_01);
}

void TestVersionAndCodes::versionPickedByHandStays() {
  WindowFixture fixture;
  Tmain window(fixture.options());  // December 2015: 1.03_01
  QVERIFY(ShowActive(window));
  auto* list = Child<QComboBox>(window, "saftVersion");
  list->setFocus();
  PressKey(Qt::Key_Down);  // the operator picks 1.04_01
  QCOMPARE(list->currentText(), QString("1.04_01"));
  QCOMPARE(Child<QLabel>(window, "titleBand")->text(), QString("Exportação SAF-T-PT modelo 1.04_01"));
  Child<QDateEdit>(window, "datai")->setDate(QDate(2014, 1, 1));
  QCOMPARE(list->currentText(), QString("1.04_01"));
  QCOMPARE(window.build_request().saftVersion, SaftVersion::k1_04_01);
}

void TestVersionAndCodes::codesDialogRefusesAndSaves() {
  WindowFixture fixture;
  fixture.write_file("Varnel.ini", "[ATCUD]\r\nFT A=AAJFJMVNTN\r\n");
  TmainOptions options = fixture.options();
  int shown = 0;
  options.run_atcud_dialog = [&](AtcudDialog& dialog) {
    ++shown;
    QTableWidget* table = dialog.table();
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("Código de validação"));
    QCOMPARE(table->item(0, 2)->text(), QString("AAJFJMVNTN"));
    table->item(0, 2)->setText("CURTO");
    QCOMPARE(fixture.error_boxes.size(), std::size_t{1});
    QCOMPARE(fixture.error_boxes[0].caption, QString("Erro"));
    QVERIFY(fixture.error_boxes[0].text.startsWith("Código de validação inválido"));
    QCOMPARE(table->item(0, 2)->text(), QString("AAJFJMVNTN"));
    dialog.findChild<QPushButton*>("btadicionar")->click();
    table->item(1, 0)->setText("RC");
    table->item(1, 1)->setText("A");
    table->item(1, 2)->setText("RCRCRCRC1");
    QVERIFY(dialog.saveCodes());
  };
  Tmain window(options);
  auto* button = Child<QPushButton>(window, "btatcud");
  QCOMPARE(button->text(), QString("Códigos ATCUD..."));
  button->click();
  QCOMPARE(shown, 1);
  const QByteArray ini = fixture.read_file("Varnel.ini");
  QVERIFY2(ini.contains("FT A=AAJFJMVNTN\r\n") && ini.contains("RC A=RCRCRCRC1\r\n"), ini.constData());
}

QTEST_MAIN(TestVersionAndCodes)
#include "version_and_codes_test.moc"
