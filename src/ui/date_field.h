// DateField: the window's date picker, a QDateEdit with the keys a
// point-of-sale operator expects of a date box. Up and Down step the part
// under the cursor (day, month or year) on every value, wrapping as the
// platform's picker does (Down on day 01 gives the month's last day); Left
// and Right move between the parts; Tab leaves the field for the next one
// instead of stepping through its parts; a digit typed at the cursor replaces
// that part even when nothing is selected.
#pragma once

#include <QDateEdit>

namespace varnel {

class DateField : public QDateEdit {
  Q_OBJECT

 public:
  explicit DateField(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
};

}  // namespace varnel
