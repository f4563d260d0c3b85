// No text is cut in the Qt window: every label, button, list, date and
// column header of the main window (in both of its states), the results
// dialog and the validation codes' dialog is at least as wide as its text
// in its own font (QFontMetrics). CTest runs it at 100 % and, with
// QT_SCALE_FACTOR=1.5, at 150 %.
#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QtTest>

#include "tools/demo_signing_key.h"
#include "ui/atcud_dialog.h"
#include "ui/verification_dialog.h"
#include "window_fixture.h"

using namespace varnel;
using namespace varnel::testing;

namespace {

int TextWidth(const QWidget& widget, const QString& text) { return widget.fontMetrics().horizontalAdvance(text); }

// "name: text needs N px, has M" for every visible text that does not fit.
QStringList CutTexts(const QWidget& top) {
  QStringList cut;
  auto check = [&cut](const QWidget& widget, const QString& text, int room) {
    const int needed = TextWidth(widget, text);
    if (!text.isEmpty() && needed > room) {
      cut << QString("%1 \"%2\": %3 px of text in %4 px").arg(widget.objectName(), text).arg(needed).arg(room);
    }
  };
  for (const QLabel* label : top.findChildren<QLabel*>()) {
    if (!label->isVisible() || label->wordWrap() || !label->pixmap().isNull()) continue;
    const int room = label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
    check(*label, label->text(), room);
  }
  for (const QPushButton* button : top.findChildren<QPushButton*>()) {
    if (button->isVisible() && button->width() < button->sizeHint().width()) {
      cut << QString("%1 \"%2\": %3 px for a button that needs %4")
                 .arg(button->objectName(), button->text())
                 .arg(button->width())
                 .arg(button->sizeHint().width());
    }
  }
  for (const QComboBox* list : top.findChildren<QComboBox*>()) {
    if (!list->isVisible()) continue;
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
    for (int index = 0; index < list->count(); ++index) check(*list, list->itemText(index), field.width());
  }
  for (const QDateEdit* date : top.findChildren<QDateEdit*>()) {
    const QLineEdit* line = date->findChild<QLineEdit*>();
    if (date->isVisible() && line) check(*line, date->text(), line->contentsRect().width() - 4);
  }
  for (const QHeaderView* header : top.findChildren<QHeaderView*>()) {
    if (!header->isVisible() || header->orientation() != Qt::Horizontal) continue;
    const auto* table = qobject_cast<const QTableWidget*>(header->parentWidget());
    if (!table) continue;
    for (int column = 0; column < table->columnCount(); ++column) {
      const QString text = table->horizontalHeaderItem(column) ? table->horizontalHeaderItem(column)->text() : "";
      const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
      check(*header, text, header->sectionSize(column) - 2 * margin);
    }
  }
  return cut;
}

VerificationReport ResultsReport() {
  VerificationReport report;
  report.completed = true;
  report.findings = {
      {FindingSeverity::Note, "SalesInvoices", "", "Série FS A: 164 documentos, números 1 a 164"},
      {FindingSeverity::Warning, "SalesInvoices", "", "301 referências OrderReferences/OriginatingON não correspondem"},
      {FindingSeverity::Error, "SalesInvoices", "FT A/3", "Falta o ATCUD"},
  };
  report.summary.vat = {
      {"PT", "INT", "13.00", Currency::FromRaw(55994138), Currency::FromRaw(7279238), Currency::FromRaw(63273376)},
      {"PT-AC", "ISE", "0.00", Currency::FromRaw(1670000), Currency(), Currency::FromRaw(1670000)},
      {"PT-MA", "NOR", "22.00", Currency::FromRaw(1234567890000), Currency::FromRaw(271604935800),
       Currency::FromRaw(1506172825800)},
  };
  report.summary.documents_by_type = {{"FS", 164}, {"FT", 20}};
  return report;
}

}  // namespace

class TestTextsFit : public QObject {
  Q_OBJECT

 private slots:
  void mainWindowInBothStates();
  void keyIndicator_data();
  void keyIndicator();
  void resultsDialog();
  void codesDialog();
};

void TestTextsFit::mainWindowInBothStates() {
  WindowFixture fixture;
  fixture.write_file("Varnel.ini", "[Company Info]\r\nCompanyName=Restaurante da S\xE9\r\nTaxCountryRegion=2\r\n");
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  QTest::mouseClick(Child<QLabel>(window, "lbserie"), Qt::LeftButton, Qt::ControlModifier);
  const QStringList data_state = CutTexts(window);
  QVERIFY2(data_state.isEmpty(), qPrintable(data_state.join("\n")));

  ExportObserver& observer = window.model();  // as a run drives it
  observer.showProcessing();
  observer.progressStart(10);
  observer.setStatus("Manutenção da base de dados: 15000 de 15963 documentos");
  QTest::qWait(20);
  const QStringList processing = CutTexts(window);
  QVERIFY2(processing.isEmpty(), qPrintable(processing.join("\n")));
  observer.showData();
  observer.setStatus("Ficheiro verificado: 12 erros, 3 avisos");
  QTest::qWait(20);
  const QStringList after = CutTexts(window);
  QVERIFY2(after.isEmpty(), qPrintable(after.join("\n")));
}

// The key indicator beside "Códigos ATCUD...", its longest texts.
void TestTextsFit::keyIndicator_data() {
  QTest::addColumn<QByteArray>("section");
  QTest::addColumn<QString>("text");
  QTest::newRow("duas versões") << QByteArray("1=chave.pem\r\n2=chave.pem\r\n")
                                << QString("Chaves públicas: versões 1 e 2");
  QTest::newRow("com erro") << QByteArray("1=chave.pem\r\n12=falta.pem\r\n")
                            << QString("Chave pública: versão 12 com erro");
  QTest::newRow("secção errada") << QByteArray("um=chave.pem\r\n") << QString("Chave pública: erro em Varnel.ini");
}

void TestTextsFit::keyIndicator() {
  QFETCH(QByteArray, section);
  QFETCH(QString, text);
  WindowFixture fixture;
  const std::string_view pem = demo::DemoPublicKeyPem();
  fixture.write_file("chave.pem", QByteArray(pem.data(), static_cast<qsizetype>(pem.size())));
  fixture.write_file("Varnel.ini", "[Assinaturas]\r\n" + section);
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  QCOMPARE(Child<QLabel>(window, "lbchave")->text(), text);
  const QStringList cut = CutTexts(window);
  QVERIFY2(cut.isEmpty(), qPrintable(cut.join("\n")));
}

void TestTextsFit::resultsDialog() {
  VerificationDialog dialog(ResultsReport(), "Ficheiro verificado: 1 erro, 1 aviso", "/tmp", nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const QStringList cut = CutTexts(dialog);
  QVERIFY2(cut.isEmpty(), qPrintable(cut.join("\n")));
  // Every row of the VAT summary shows without scrolling, the total
  // included, and the amounts fit their columns.
  auto* vat = dialog.findChild<QTableWidget*>("resumoiva");
  QCOMPARE(vat->verticalScrollBar()->maximum(), 0);
  for (int row = 0; row < vat->rowCount(); ++row) {
    for (int column = 0; column < vat->columnCount(); ++column) {
      const QString text = vat->item(row, column)->text();
      QVERIFY2(vat->fontMetrics().horizontalAdvance(text) <= vat->columnWidth(column), qPrintable(text));
    }
  }
}

void TestTextsFit::codesDialog() {
  WindowFixture fixture;
  fixture.write_file("Varnel.ini", "[ATCUD]\r\nFT A=AAJFJMVNTN\r\nRC A=AAJFJMVNTT\r\n");
  AtcudDialog dialog(fixture.directory().string(), {}, nullptr);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  const QStringList cut = CutTexts(dialog);
  QVERIFY2(cut.isEmpty(), qPrintable(cut.join("\n")));
}

QTEST_MAIN(TestTextsFit)
#include "texts_fit_test.moc"
