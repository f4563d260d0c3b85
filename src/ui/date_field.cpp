// The date picker's keys. QDateEdit already steps the part at the cursor on
// Up and Down; wrapping makes that work at the ends of each part too. Tab is
// handed to the plain widget's focus chain, skipping QDateEdit's own walk
// through the parts. A part already at its full width ("01", "2016") would
// refuse one more digit at the cursor, so the part is selected first and the
// digit replaces it, as when the part is selected by hand.
#include "ui/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace varnel {

namespace {

int FullWidth(QDateTimeEdit::Section section) { return section == QDateTimeEdit::YearSection ? 4 : 2; }

}  // namespace

DateField::DateField(QWidget* parent) : QDateEdit(parent) {
  setWrapping(true);
  setCalendarPopup(true);
  setDisplayFormat("dd/MM/yyyy");
}

void DateField::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  const int key = event->key();
  if (plain && (key == Qt::Key_Left || key == Qt::Key_Right)) {
    const int index = currentSectionIndex() + (key == Qt::Key_Right ? 1 : -1);
    if (index >= 0 && index < sectionCount()) {
      setCurrentSectionIndex(index);
      setSelectedSection(currentSection());
    }
    event->accept();
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text.at(0).isDigit() && !lineEdit()->hasSelectedText()) {
    const Section section = currentSection();
    if (section != NoSection && sectionText(section).size() >= FullWidth(section)) setSelectedSection(section);
  }
  QDateEdit::keyPressEvent(event);
}

bool DateField::focusNextPrevChild(bool next) {
  // QWidget's walk along the focus chain; QDateTimeEdit's moves between the
  // parts first.
  return QWidget::focusNextPrevChild(next);
}

}  // namespace varnel
