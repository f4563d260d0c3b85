// The date picker's keys through the window model's DateEntry. The widget's
// date always holds the entry's date (so a field left in the middle of a
// part keeps what it shows); while digits are pending, the line shows them
// in place of the part, written with the line's signals blocked so the
// spin box does not read the partial text back. Leaving the field, a mouse
// press or any other key ends the typing first and puts the whole date back
// in the line. Tab is handed to the plain widget's focus chain, skipping
// QDateEdit's own walk through the parts.
#include "ui/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace varnel {

namespace {

DatePart PartOf(QDateTimeEdit::Section section) {
  switch (section) {
    case QDateTimeEdit::MonthSection: return DatePart::Month;
    case QDateTimeEdit::YearSection: return DatePart::Year;
    default: return DatePart::Day;
  }
}

QDateTimeEdit::Section SectionOf(DatePart part) {
  switch (part) {
    case DatePart::Month: return QDateTimeEdit::MonthSection;
    case DatePart::Year: return QDateTimeEdit::YearSection;
    case DatePart::Day: break;
  }
  return QDateTimeEdit::DaySection;
}

}  // namespace

DateField::DateField(QWidget* parent) : QDateEdit(parent) {
  setWrapping(true);  // the steps are the entry's; wrapping keeps both keys enabled at the ends
  setCalendarPopup(true);
  setDisplayFormat("dd/MM/yyyy");
  setMinimumDate(QDate(DateEntry::kFirstYear, 1, 1));
  m_entry.set(date().year(), date().month(), date().day());
  connect(this, &QDateEdit::dateChanged, this, [this](QDate changed) {
    if (!m_showing) m_entry.set(changed.year(), changed.month(), changed.day());
  });
}

void DateField::follow_cursor() {
  if (!m_entry.typing() && currentSection() != NoSection) m_entry.selectPart(PartOf(currentSection()));
}

void DateField::show_entry() {
  m_showing = true;
  setDate(QDate(m_entry.year(), m_entry.month(), m_entry.day()));
  m_showing = false;
  QLineEdit* line = lineEdit();
  const QString text = QString::fromStdString(m_entry.text());
  if (m_entry.typing()) {
    const QSignalBlocker blocker(line);
    line->setText(text);
    const auto [start, length] = m_entry.partRange();
    line->setCursorPosition(start + length);
    return;
  }
  if (line->text() != text) {
    const QSignalBlocker blocker(line);
    line->setText(text);
  }
  setCurrentSection(SectionOf(m_entry.part()));
  setSelectedSection(currentSection());
}

void DateField::end_typing() {
  if (!m_entry.typing()) return;
  m_entry.endTyping();
  show_entry();
}

void DateField::stepBy(int steps) {
  follow_cursor();
  m_entry.step(steps);
  show_entry();
}

void DateField::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  const int key = event->key();
  const QString text = event->text();
  if (text.size() == 1 && text.at(0).isDigit() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    follow_cursor();
    m_entry.typeDigit(text.at(0).digitValue());
    show_entry();
    event->accept();
    return;
  }
  if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
    QDateEdit::keyPressEvent(event);  // steps through stepBy
    return;
  }
  if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr) {
    QDateEdit::keyPressEvent(event);  // held to type a digit on some keyboards
    return;
  }
  end_typing();
  if (plain && (key == Qt::Key_Left || key == Qt::Key_Right)) {
    const int index = currentSectionIndex() + (key == Qt::Key_Right ? 1 : -1);
    if (index >= 0 && index < sectionCount()) {
      setCurrentSectionIndex(index);
      setSelectedSection(currentSection());
    }
    m_entry.selectPart(PartOf(currentSection()));
    event->accept();
    return;
  }
  QDateEdit::keyPressEvent(event);
}

void DateField::focusOutEvent(QFocusEvent* event) {
  end_typing();
  QDateEdit::focusOutEvent(event);
}

void DateField::mousePressEvent(QMouseEvent* event) {
  end_typing();
  QDateEdit::mousePressEvent(event);
}

bool DateField::focusNextPrevChild(bool next) {
  // QWidget's walk along the focus chain; QDateTimeEdit's moves between the
  // parts first.
  return QWidget::focusNextPrevChild(next);
}

}  // namespace varnel
