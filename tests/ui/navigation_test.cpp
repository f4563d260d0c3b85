// Keyboard navigation: on the operator window (all three kinds active, no
// default button) keys typed in one field land the focus where the form base
// says, or leave it and change the field; the date pickers' own keys (parts
// that wrap, Tab out, typing at the cursor); on small forms of their own, the
// default button, multi-line text boxes, a reduced key set, the form's own
// key handler and the global options switch.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "window_fixture.h"

using namespace varnel;
using namespace varnel::testing;

Q_DECLARE_METATYPE(Qt::Key)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

// A small form: three text boxes, a memo and an "OK" button marked default.
class SmallForm : public TcsEZForm {
 public:
  explicit SmallForm(bool with_keys = false, TNavigationKeys keys = {}) {
    if (with_keys) (new TcsEZKeys(this))->SetNavigationKeys(keys);
    auto* layout = new QVBoxLayout(this);
    for (const char* name : {"first", "second", "third"}) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(name);
      layout->addWidget(edit);
    }
    memo = new QPlainTextEdit(this);
    memo->setObjectName("memo");
    layout->addWidget(memo);
    ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setDefault(true);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, [this] { ++ok_presses; });
    complete_creation();
  }
  QPlainTextEdit* memo = nullptr;
  QPushButton* ok = nullptr;
  int ok_presses = 0;
};

// Restores the global options whatever a test did to them.
struct OptionsGuard {
  ~OptionsGuard() {
    TcsEZFormOptions::Instance().SetEnabled(true);
    TcsEZFormOptions::Instance().SetDefaultNavigationKeys(kAllNavigationKeys);
  }
};

QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return "(none)";
  // The text box inside a date picker or a list answers for its control.
  for (QWidget* w = focus; w; w = w->parentWidget()) {
    if (qobject_cast<QDateEdit*>(w) || qobject_cast<QComboBox*>(w)) return w->objectName();
  }
  return focus->objectName();
}

}  // namespace

class TestNavigation : public QObject {
  Q_OBJECT

 private slots:
  void mainWindow_data();
  void mainWindow();
  void arrowsChangeListsAndDates();
  void datePartsStepWrapAndTakeTyping();
  void typedDatesKeepTheirDay_data();
  void typedDatesKeepTheirDay();
  void unlockedSeriesIsATabStop();
  void defaultButtonAndOptions();
  void memoKeepsEnterUnlessItRefusesReturns();
  void keySetOnTheForm();
  void formsOwnKeyHandlersRunFirst();
  void widgetsAddedLaterArePreviewed();
};

void TestNavigation::mainWindow_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<Qt::Key>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::addColumn<QString>("to");
  const Qt::KeyboardModifiers none;
  const Qt::KeyboardModifiers ctrl(Qt::ControlModifier);
  const Qt::KeyboardModifiers shift(Qt::ShiftModifier);
  const Qt::KeyboardModifiers ctrl_shift(Qt::ControlModifier | Qt::ShiftModifier);
  QTest::newRow("Enter in Empresa") << "companyName" << Qt::Key_Return << none << "companyID";
  QTest::newRow("keypad Enter") << "companyID" << Qt::Key_Enter << none << "streetName";
  QTest::newRow("Down from Morada to the line below") << "streetName" << Qt::Key_Down << none << "addressDetail";
  QTest::newRow("Up from Nº Contribuinte") << "companyID" << Qt::Key_Up << none << "companyName";
  QTest::newRow("Up from the first field wraps") << "companyName" << Qt::Key_Up << none << "btcancel";
  QTest::newRow("Down across the postal code") << "postalCode1" << Qt::Key_Down << none << "postalCode2";
  QTest::newRow("Down from Localidade into the list") << "city" << Qt::Key_Down << none << "taxCountryRegion";
  QTest::newRow("Enter in a closed list") << "taxCountryRegion" << Qt::Key_Return << none << "saftType";
  QTest::newRow("Enter passes over the locked series")
      << "estabelecimento" << Qt::Key_Return << none << "datai";
  QTest::newRow("Down passes over the locked series") << "estabelecimento" << Qt::Key_Down << none << "datai";
  QTest::newRow("Enter in a date picker") << "datai" << Qt::Key_Return << none << "dataf";
  QTest::newRow("Tab leaves a date picker") << "datai" << Qt::Key_Tab << none << "dataf";
  QTest::newRow("Shift+Tab leaves a date picker") << "dataf" << Qt::Key_Backtab << shift << "datai";
  QTest::newRow("Left stays in the date picker") << "dataf" << Qt::Key_Left << none << "dataf";
  QTest::newRow("Enter in Ficheiro skips the picture button")
      << "ficheiro" << Qt::Key_Return << none << "btexport";
  QTest::newRow("Ctrl+Tab from a list") << "taxCountryRegion" << Qt::Key_Tab << ctrl << "saftType";
  QTest::newRow("Ctrl+Tab from a date picker") << "dataf" << Qt::Key_Tab << ctrl << "ficheiro";
  QTest::newRow("Ctrl+Shift+Tab back") << "saftType" << Qt::Key_Tab << ctrl_shift << "taxCountryRegion";
  QTest::newRow("Ctrl+Backtab back") << "datai" << Qt::Key_Backtab << ctrl_shift << "estabelecimento";
  QTest::newRow("Ctrl+Tab wraps past the hidden Abortar") << "btcancel" << Qt::Key_Tab << ctrl << "companyName";
  QTest::newRow("Ctrl+Shift+Tab wraps back") << "companyName" << Qt::Key_Tab << ctrl_shift << "btcancel";
  QTest::newRow("Ctrl+Tab from a button") << "btexport" << Qt::Key_Tab << ctrl << "btcancel";
  QTest::newRow("Ctrl+Enter does not move") << "companyName" << Qt::Key_Return << ctrl << "companyName";
}

void TestNavigation::mainWindow() {
  QFETCH(QString, from);
  QFETCH(Qt::Key, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  QFETCH(QString, to);
  WindowFixture fixture;
  Tmain window(fixture.options(DateTime::FromDate(2016, 1, 15), [](ExportObserver&, ScriptedRun&) {}));
  QVERIFY(ShowActive(window));
  Child<QWidget>(window, from.toLatin1().constData())->setFocus(Qt::OtherFocusReason);
  QCOMPARE(FocusName(), from);
  PressKey(key, modifiers);
  QCOMPARE(FocusName(), to);
  QVERIFY2(fixture.requests.empty(), "no key may press Exportar on its way");
}

void TestNavigation::arrowsChangeListsAndDates() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  auto* region = Child<QComboBox>(window, "taxCountryRegion");
  region->setFocus();
  PressKey(Qt::Key_Down);
  QCOMPARE(FocusName(), QString("taxCountryRegion"));
  QCOMPARE(region->currentText(), QString("Madeira"));
  PressKey(Qt::Key_Up);
  QCOMPARE(region->currentText(), QString("Continente"));

  auto* first_day = Child<QDateEdit>(window, "datai");
  first_day->setFocus();
  first_day->setCurrentSection(QDateTimeEdit::DaySection);
  PressKey(Qt::Key_Up);
  QCOMPARE(FocusName(), QString("datai"));
  QCOMPARE(first_day->date(), QDate(2015, 12, 2));

  // Typing in a text box still reaches it: only Enter is taken.
  auto* name = Child<QLineEdit>(window, "companyName");
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(QApplication::focusWidget(), "Loja");
  QCOMPARE(name->text(), QString("Loja"));
}

// From the default period (1 to 31 December 2015): every part steps on every
// value, wrapping within its range as the platform's picker does.
void TestNavigation::datePartsStepWrapAndTakeTyping() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  auto* first_day = Child<QDateEdit>(window, "datai");
  auto* last_day = Child<QDateEdit>(window, "dataf");
  first_day->setFocus(Qt::TabFocusReason);
  QCOMPARE(first_day->currentSection(), QDateTimeEdit::DaySection);
  PressKey(Qt::Key_Down);  // day 01 -> the month's last day
  QCOMPARE(first_day->date(), QDate(2015, 12, 31));
  PressKey(Qt::Key_Up);
  QCOMPARE(first_day->date(), QDate(2015, 12, 1));
  PressKey(Qt::Key_Right);  // to the month
  QCOMPARE(first_day->currentSection(), QDateTimeEdit::MonthSection);
  PressKey(Qt::Key_Up);  // December -> January of the same year
  QCOMPARE(first_day->date(), QDate(2015, 1, 1));
  PressKey(Qt::Key_Right);
  PressKey(Qt::Key_Right);  // stays on the year, the last part
  QCOMPARE(first_day->currentSection(), QDateTimeEdit::YearSection);
  PressKey(Qt::Key_Down);
  QCOMPARE(first_day->date(), QDate(2014, 1, 1));
  PressKey(Qt::Key_Left);
  PressKey(Qt::Key_Left);
  QCOMPARE(first_day->currentSection(), QDateTimeEdit::DaySection);
  QCOMPARE(FocusName(), QString("datai"));

  // 31 December: Up on the day wraps to the 1st; in February the last day is 29 (2016).
  last_day->setFocus(Qt::TabFocusReason);
  PressKey(Qt::Key_Up);
  QCOMPARE(last_day->date(), QDate(2015, 12, 1));
  last_day->setDate(QDate(2016, 2, 1));
  last_day->setCurrentSection(QDateTimeEdit::DaySection);
  PressKey(Qt::Key_Down);
  QCOMPARE(last_day->date(), QDate(2016, 2, 29));

  // Digits typed at the cursor, nothing selected: the part takes them.
  auto* text = last_day->findChild<QLineEdit*>();
  last_day->setDate(QDate(2015, 12, 31));
  text->deselect();
  text->setCursorPosition(0);
  QTest::keyClicks(QApplication::focusWidget(), "15");
  QCOMPARE(last_day->date(), QDate(2015, 12, 15));
  text->deselect();
  text->setCursorPosition(10);  // after the year
  QTest::keyClicks(QApplication::focusWidget(), "2014");
  QCOMPARE(last_day->date(), QDate(2014, 12, 15));
}

// The field keeps the day typed beyond the month it shows until the month
// and year are typed, and the request gets what the field shows; Up on the
// month keeps the 31st across February.
void TestNavigation::typedDatesKeepTheirDay_data() {
  QTest::addColumn<QDate>("before");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QDate>("after");
  QTest::newRow("31/03/2016 over 30/11/2026") << QDate(2026, 11, 30) << "31032016" << QDate(2016, 3, 31);
  QTest::newRow("29/02 of a leap year") << QDate(2026, 11, 30) << "29022016" << QDate(2016, 2, 29);
  QTest::newRow("29/02 of a common year") << QDate(2026, 11, 30) << "29022015" << QDate(2015, 2, 28);
}

void TestNavigation::typedDatesKeepTheirDay() {
  QFETCH(QDate, before);
  QFETCH(QString, typed);
  QFETCH(QDate, after);
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  auto* last_day = Child<QDateEdit>(window, "dataf");
  last_day->setDate(before);
  last_day->setFocus(Qt::TabFocusReason);
  QCOMPARE(last_day->currentSection(), QDateTimeEdit::DaySection);
  QTest::keyClicks(QApplication::focusWidget(), typed);
  QCOMPARE(last_day->date(), after);
  PressKey(Qt::Key_Tab);  // leaving the field keeps it
  QCOMPARE(last_day->date(), after);
  QCOMPARE(last_day->text(), after.toString("dd/MM/yyyy"));
  QCOMPARE(window.build_request().dataf, DateTime::FromDate(after.year(), after.month(), after.day()));

  last_day->setDate(QDate(2016, 1, 31));
  last_day->setFocus(Qt::TabFocusReason);
  PressKey(Qt::Key_Right);
  PressKey(Qt::Key_Up);
  QCOMPARE(last_day->date(), QDate(2016, 2, 29));
  PressKey(Qt::Key_Up);
  QCOMPARE(last_day->date(), QDate(2016, 3, 31));
}

void TestNavigation::unlockedSeriesIsATabStop() {
  WindowFixture fixture;
  Tmain window(fixture.options());
  QVERIFY(ShowActive(window));
  QTest::mouseClick(Child<QLabel>(window, "lbserie"), Qt::LeftButton, Qt::ControlModifier);
  Child<QLineEdit>(window, "estabelecimento")->setFocus();
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("fserienum"));
  PressKey(Qt::Key_Down);  // a list keeps its arrows
  QCOMPARE(FocusName(), QString("fserienum"));
  QCOMPARE(Child<QComboBox>(window, "fserienum")->currentText(), QString("A"));
}

void TestNavigation::defaultButtonAndOptions() {
  OptionsGuard guard;
  SmallForm form;
  QVERIFY(ShowActive(form));
  QVERIFY2(!form.ok->isDefault(), "with nkEnter the default button gives up its flag");
  form.findChild<QLineEdit*>("first")->setFocus();
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("second"));
  QCOMPARE(form.ok_presses, 0);

  TcsEZFormOptions::Instance().SetEnabled(false);
  QVERIFY(form.ok->isDefault());
  QVERIFY(!form.KeyPreview());
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("second"));
  QCOMPARE(form.ok_presses, 1);
  PressKey(Qt::Key_Down);
  QCOMPARE(FocusName(), QString("second"));

  TcsEZFormOptions::Instance().SetEnabled(true);
  QVERIFY(!form.ok->isDefault());
  form.SetNavigationKeys(nkUpDnArrows);
  QVERIFY2(form.ok->isDefault(), "without nkEnter the button is the default again");
  PressKey(Qt::Key_Return);
  QCOMPARE(form.ok_presses, 2);
  PressKey(Qt::Key_Down);
  QCOMPARE(FocusName(), QString("third"));

  // Enter on a focused push button presses it.
  form.SetNavigationKeys(kAllNavigationKeys);
  form.ok->setFocus();
  PressKey(Qt::Key_Return);
  QCOMPARE(form.ok_presses, 3);
  QCOMPARE(FocusName(), QString("ok"));

  form.SelectDefaultBtn();
  QCOMPARE(form.ok_presses, 4);
}

void TestNavigation::memoKeepsEnterUnlessItRefusesReturns() {
  OptionsGuard guard;
  SmallForm form;
  QVERIFY(ShowActive(form));
  form.memo->setFocus();
  PressKey(Qt::Key_A);
  PressKey(Qt::Key_Return);
  PressKey(Qt::Key_B);
  QCOMPARE(FocusName(), QString("memo"));
  QCOMPARE(form.memo->toPlainText(), QString("a\nb"));
  PressKey(Qt::Key_Up);
  QCOMPARE(FocusName(), QString("memo"));

  form.memo->setProperty("wantReturns", false);
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("ok"));
  QCOMPARE(form.memo->toPlainText(), QString("a\nb"));
  QCOMPARE(form.ok_presses, 0);
}

void TestNavigation::keySetOnTheForm() {
  OptionsGuard guard;
  SmallForm form(true, nkCtrlTab);
  QVERIFY(ShowActive(form));
  QCOMPARE(form.NavigationKeys(), TNavigationKeys(nkCtrlTab));
  QVERIFY2(form.ok->isDefault(), "without nkEnter the default button keeps its flag");
  form.findChild<QLineEdit*>("first")->setFocus();
  PressKey(Qt::Key_Down);
  QCOMPARE(FocusName(), QString("first"));
  PressKey(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(FocusName(), QString("second"));
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("second"));
  QCOMPARE(form.ok_presses, 1);

  // An empty set on a form without a key set takes the global default.
  TcsEZFormOptions::Instance().SetDefaultNavigationKeys(nkUpDnArrows);
  SmallForm later;
  QCOMPARE(later.NavigationKeys(), TNavigationKeys(nkUpDnArrows));
  SmallForm with_keys(true, nkEnter);
  QCOMPARE(with_keys.NavigationKeys(), TNavigationKeys(nkEnter));
  QCOMPARE(TcsEZKeys(nullptr).NavigationKeys(), TNavigationKeys(nkUpDnArrows));
}

void TestNavigation::formsOwnKeyHandlersRunFirst() {
  OptionsGuard guard;
  SmallForm form;
  QStringList calls;
  form.SetOnKeyDown([&](int& key, Qt::KeyboardModifiers) {
    calls << QString("down %1").arg(key);
    if (key == Qt::Key_Down) key = 0;  // the form keeps Down for itself
  });
  form.SetOnKeyPress([&](QChar& key) {
    calls << QString("press %1").arg(key.unicode());
    if (key == QChar(u'x')) key = QChar();
  });
  QVERIFY(ShowActive(form));
  auto* first = form.findChild<QLineEdit*>("first");
  first->setFocus();
  PressKey(Qt::Key_Down);
  QCOMPARE(FocusName(), QString("first"));
  PressKey(Qt::Key_X);
  QCOMPARE(first->text(), QString());
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("second"));
  QCOMPARE(calls, (QStringList{QString("down %1").arg(int(Qt::Key_Down)), QString("down %1").arg(int(Qt::Key_X)),
                               "press 120", QString("down %1").arg(int(Qt::Key_Return)), "press 13"}));
}

void TestNavigation::widgetsAddedLaterArePreviewed() {
  OptionsGuard guard;
  SmallForm form;
  auto* panel = new QWidget(&form);
  auto* late = new QLineEdit(panel);
  late->setObjectName("late");
  form.layout()->addWidget(panel);
  QVERIFY(ShowActive(form));
  late->setFocus();
  PressKey(Qt::Key_Return);
  QCOMPARE(FocusName(), QString("first"));  // "late" is last in the chain: Enter wraps
}

QTEST_MAIN(TestNavigation)
#include "navigation_test.moc"
