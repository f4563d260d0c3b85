// The navigation form base. Key preview is an event filter installed on the
// form and on every widget below it (widgets added later are caught through
// their parent's child-added event); a key is previewed once, when it reaches
// the form's focus widget, before that widget sees it.
//
// Controls as the navigation sees them:
//   single-line text box  QLineEdit (not the one inside a date picker or list)
//   multi-line text box   QPlainTextEdit / QTextEdit; it wants Enter unless it
//                         is read-only or its "wantReturns" property is false
//   drop-down list        QComboBox;  date picker  QAbstractSpinBox (QDateEdit)
//   push button           QPushButton: Enter presses the focused one, as the
//                         platform's dialog keys do, before any navigation
#include "ui/CSEZForm.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QChar>
#include <QChildEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>

#include "window/keyboard_rules.h"

namespace varnel {

namespace {

bool IsEnterKey(const QKeyEvent& event) {
  return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
         !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool WantsReturns(const QWidget* control) {
  const bool text_box = qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QTextEdit*>(control);
  if (!text_box) return false;
  const QVariant want = control->property("wantReturns");
  if (want.isValid() && !want.toBool()) return false;
  if (auto* plain = qobject_cast<const QPlainTextEdit*>(control)) return !plain->isReadOnly();
  return !qobject_cast<const QTextEdit*>(control)->isReadOnly();
}

static_assert(unsigned(nkEnter) == kNavigateEnter && unsigned(nkUpDnArrows) == kNavigateUpDownArrows &&
              unsigned(nkCtrlTab) == kNavigateCtrlTab);

ControlKind KindOf(const QWidget* control) {
  if (qobject_cast<const QLineEdit*>(control)) return ControlKind::SingleLineText;
  if (qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QTextEdit*>(control)) {
    return WantsReturns(control) ? ControlKind::MultiLineText : ControlKind::MultiLineTextNoReturns;
  }
  if (qobject_cast<const QComboBox*>(control)) return ControlKind::DropDownList;
  if (qobject_cast<const QAbstractSpinBox*>(control)) return ControlKind::DatePicker;
  if (qobject_cast<const QPushButton*>(control)) return ControlKind::PushButton;
  return ControlKind::Other;
}

}  // namespace

// ---- TcsEZKeys ------------------------------------------------------------

TcsEZKeys::TcsEZKeys(QObject* owner)
    : QObject(owner), FNavigationKeys(TcsEZFormOptions::Instance().DefaultNavigationKeys()) {}

// ---- TcsEZFormOptions -----------------------------------------------------

TcsEZFormOptions& TcsEZFormOptions::Instance() {
  static TcsEZFormOptions options;
  return options;
}

TcsEZFormOptions::TcsEZFormOptions() { Init(); }

void TcsEZFormOptions::Init() {
  FEnabled = true;
  FDefaultNavigationKeys = kAllNavigationKeys;
}

void TcsEZFormOptions::SetEnabled(bool enabled) {
  FEnabled = enabled;
  for (TcsEZForm* form : m_open_forms) {
    form->SetKeyPreview(enabled ? true : form->FOldKeyPreview);
    if (form->FOldDefaultBtn) {
      form->FOldDefaultBtn->setDefault(!(enabled && form->FNavigationKeys.testFlag(nkEnter)));
    }
  }
}

// ---- TcsEZForm ------------------------------------------------------------

TcsEZForm::TcsEZForm(QWidget* AOwner) : QWidget(AOwner) {
  TcsEZFormOptions::Instance().m_open_forms.push_back(this);
  installEventFilter(this);
}

TcsEZForm::~TcsEZForm() {
  auto& forms = TcsEZFormOptions::Instance().m_open_forms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
}

void TcsEZForm::complete_creation() {
  if (m_created) return;
  m_created = true;
  watch_widget_tree(this);
  FOldKeyPreview = m_key_preview;

  FOldDefaultBtn = nullptr;
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->isDefault()) {
      FOldDefaultBtn = button;
      break;
    }
  }

  const TcsEZFormOptions& options = TcsEZFormOptions::Instance();
  if (auto* keys = findChild<TcsEZKeys*>()) {
    SetNavigationKeys(keys->NavigationKeys());
  } else if (FNavigationKeys == TNavigationKeys()) {
    SetNavigationKeys(options.DefaultNavigationKeys());
  }

  if (options.Enabled()) {
    m_key_preview = true;
    if (FOldDefaultBtn && FNavigationKeys.testFlag(nkEnter)) FOldDefaultBtn->setDefault(false);
  }
}

void TcsEZForm::showEvent(QShowEvent* event) {
  complete_creation();  // for a form that did not complete itself
  QWidget::showEvent(event);
}

void TcsEZForm::SetNavigationKeys(TNavigationKeys keys) {
  const bool enter_changed = keys.testFlag(nkEnter) != FNavigationKeys.testFlag(nkEnter);
  FNavigationKeys = keys;
  if (TcsEZFormOptions::Instance().Enabled() && FOldDefaultBtn && enter_changed) {
    FOldDefaultBtn->setDefault(!keys.testFlag(nkEnter));
  }
}

// The rules are the window model's, shared with the Win32 view; this maps
// Qt's controls onto their kinds.
bool TcsEZForm::CanIntercept(TNavigationKey KeyType, QWidget* Ctrl) const {
  return varnel::CanIntercept(static_cast<NavigationKind>(KeyType), KindOf(Ctrl),
                              static_cast<unsigned>(FNavigationKeys.toInt()), TcsEZFormOptions::Instance().Enabled());
}

void TcsEZForm::SelectDefaultBtn() {
  if (FOldDefaultBtn) FOldDefaultBtn->click();
}

QWidget* TcsEZForm::ControlOf(QWidget* w) const {
  QWidget* control = w;
  for (QWidget* parent = w ? w->parentWidget() : nullptr; parent && parent != this; parent = parent->parentWidget()) {
    if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
        parent->focusProxy() == control) {
      control = parent;
    }
  }
  return control;
}

bool TcsEZForm::is_tab_stop(QWidget* w) const {
  return w != this && w->window() == this && w->isVisibleTo(this) && w->isEnabled() &&
         (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy();
}

void TcsEZForm::MoveFocus(bool forward) {
  QWidget* start = focusWidget() ? focusWidget() : this;
  QWidget* w = start;
  // The focus chain is a ring; one turn visits every widget of the form.
  for (int guard = 0; guard < 100000; ++guard) {
    w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    if (w == start) return;
    if (is_tab_stop(w) && ControlOf(w) != ControlOf(start)) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

void TcsEZForm::watch_widget_tree(QWidget* root) {
  root->installEventFilter(this);
  for (QWidget* child : root->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TcsEZForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (child->isWidgetType()) watch_widget_tree(static_cast<QWidget*>(child));
    return false;
  }
  if (event->type() != QEvent::KeyPress || !m_key_preview) return false;
  // Only the first delivery, to the focus widget; not the copies that travel
  // up to its parents when it ignores the key, nor keys of popup windows.
  const QWidget* focus = focusWidget();
  if (watched != (focus ? static_cast<const QWidget*>(focus) : static_cast<const QWidget*>(this))) return false;
  return preview_key(static_cast<QKeyEvent*>(event));
}

// The form's key-down and key-press handlers in one: Qt delivers a key and
// its character in one event. Returns true when the key is cleared.
bool TcsEZForm::preview_key(QKeyEvent* event) {
  QWidget* control = ControlOf(focusWidget() ? focusWidget() : this);
  const bool enabled = TcsEZFormOptions::Instance().Enabled();

  // Key down.
  int key = event->key();
  const Qt::KeyboardModifiers shift = event->modifiers();
  if (FOldOnKeyDown) {
    FOldOnKeyDown(key, shift);
    if (key == 0) return true;
  }
  if (enabled) {
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      // The arrow is not cleared: the control sees it as well.
      if (CanIntercept(nkUpDnArrows, control)) MoveFocus(key == Qt::Key_Down);
    } else if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && (shift & Qt::ControlModifier)) {
      if (CanIntercept(nkCtrlTab, control)) {
        MoveFocus(key == Qt::Key_Tab && !(shift & Qt::ShiftModifier));
        return true;
      }
    }
  }

  // Key press (the character).
  QChar character;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // Ctrl+Enter types a line feed, Alt+Enter no character at all.
    if (shift & Qt::AltModifier) return false;
    character = (shift & Qt::ControlModifier) ? QChar(u'\n') : QChar(u'\r');
  } else if (!event->text().isEmpty()) {
    character = event->text().at(0);
  } else {
    return false;
  }
  if (FOldOnKeyPress) {
    FOldOnKeyPress(character);
    if (character.isNull()) return true;
  }
  if (enabled && character == QChar(u'\r') && !qobject_cast<QPushButton*>(control) &&
      CanIntercept(nkEnter, control)) {
    MoveFocus(true);
    return true;
  }
  return false;
}

void TcsEZForm::keyPressEvent(QKeyEvent* event) {
  if (IsEnterKey(*event)) {
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    if (focused && focused->isEnabled() && focused->isVisible()) {
      focused->click();
      return;
    }
    for (QPushButton* button : findChildren<QPushButton*>()) {
      if (button->isDefault() && button->isEnabled() && button->isVisibleTo(this)) {
        button->click();
        return;
      }
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace varnel
