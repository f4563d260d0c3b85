// Keyboard navigation form base: a form built on TcsEZForm previews every key
// of its controls (an event filter on each of them) and moves the focus the
// way a data-entry terminal does: Enter to the next field, Down/Up between
// single-line text boxes, Ctrl+Tab / Ctrl+Shift+Tab from any control. Focus
// moves in the form's tab order over visible, enabled tab stops, wrapping
// around. Which kinds are active is set per form (a TcsEZKeys child, or the
// form's own set) and globally by the one TcsEZFormOptions object.
//
// TcsEZForm, TcsEZKeys, TNavigationKey and the unit's name CSEZForm are
// those of the form base of the program this one continues, kept (with
// their T and nk prefixes) so the code reads beside its description.
#pragma once

#include <QFlags>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QChar;
class QKeyEvent;
class QPushButton;

namespace varnel {

// The same bits as the window model's NavigationKind.
enum TNavigationKey {
  nkEnter = 0x1,       // Enter moves forward
  nkUpDnArrows = 0x2,  // Down moves forward, Up back
  nkCtrlTab = 0x4,     // Ctrl+Tab forward, Ctrl+Shift+Tab back
};
Q_DECLARE_FLAGS(TNavigationKeys, TNavigationKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(TNavigationKeys)

inline constexpr TNavigationKeys kAllNavigationKeys{nkEnter | nkUpDnArrows | nkCtrlTab};

class TcsEZForm;

// Placed on a form (as a child object), sets that form's navigation kinds.
// Takes the global default set when created.
class TcsEZKeys : public QObject {
  Q_OBJECT

 public:
  explicit TcsEZKeys(QObject* owner);
  TNavigationKeys NavigationKeys() const { return FNavigationKeys; }
  void SetNavigationKeys(TNavigationKeys keys) { FNavigationKeys = keys; }

 private:
  TNavigationKeys FNavigationKeys{};
};

// The one options object of the program: whether the navigation is on, and
// the set that forms and key-set objects created afterwards take.
class TcsEZFormOptions {
 public:
  static TcsEZFormOptions& Instance();
  virtual ~TcsEZFormOptions() = default;

  bool Enabled() const { return FEnabled; }
  // Switches key preview on every open form (or back to the form's own
  // setting) and gives back or takes away its default button's flag.
  void SetEnabled(bool enabled);
  TNavigationKeys DefaultNavigationKeys() const { return FDefaultNavigationKeys; }
  void SetDefaultNavigationKeys(TNavigationKeys keys) { FDefaultNavigationKeys = keys; }

 protected:
  TcsEZFormOptions();
  // Enabled, with all three kinds as the default set.
  virtual void Init();

 private:
  friend class TcsEZForm;
  bool FEnabled = true;
  TNavigationKeys FDefaultNavigationKeys{};
  std::vector<TcsEZForm*> m_open_forms;
};

class TcsEZForm : public QWidget {
  Q_OBJECT

 public:
  // The form's own key handlers, run before the navigation. A handler clears
  // the key by setting it to 0 (a key code) or to a null character.
  using KeyDownHandler = std::function<void(int& key, Qt::KeyboardModifiers shift)>;
  using KeyPressHandler = std::function<void(QChar& key)>;

  explicit TcsEZForm(QWidget* AOwner = nullptr);
  ~TcsEZForm() override;

  TNavigationKeys NavigationKeys() const { return FNavigationKeys; }
  // Stores the set; with the options enabled, a change of nkEnter gives the
  // default button its flag back (nkEnter gone) or takes it away.
  void SetNavigationKeys(TNavigationKeys keys);

  // Whether navigation of kind KeyType may take the key from control Ctrl.
  virtual bool CanIntercept(TNavigationKey KeyType, QWidget* Ctrl) const;
  // Presses the default button found at creation, if any.
  virtual void SelectDefaultBtn();

  bool KeyPreview() const { return m_key_preview; }
  void SetKeyPreview(bool on) { m_key_preview = on; }
  // The form's own handlers; the base runs them first on every key.
  void SetOnKeyDown(KeyDownHandler handler) { FOldOnKeyDown = std::move(handler); }
  void SetOnKeyPress(KeyPressHandler handler) { FOldOnKeyPress = std::move(handler); }

  // The form's control that the focus widget w belongs to: a date picker or a
  // drop-down list for the text box inside it, otherwise w itself.
  QWidget* ControlOf(QWidget* w) const;
  // Moves the focus to the next (previous) tab stop after the focused control.
  void MoveFocus(bool forward);

 protected:
  // Completes the creation once the derived form has built its controls:
  // remembers key preview and the default button, takes the navigation set
  // and switches key preview on. The derived form
  // calls it at the end of its constructor.
  void complete_creation();

  bool eventFilter(QObject* watched, QEvent* event) override;
  // A key that no control took: Enter presses the focused push button or the
  // form's default button, as a dialog does.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class TcsEZFormOptions;
  void watch_widget_tree(QWidget* root);
  bool preview_key(QKeyEvent* event);
  bool is_tab_stop(QWidget* w) const;

  TNavigationKeys FNavigationKeys{};
  QPointer<QPushButton> FOldDefaultBtn;
  bool FOldKeyPreview = false;
  KeyDownHandler FOldOnKeyDown;
  KeyPressHandler FOldOnKeyPress;

  bool m_created = false;
  bool m_key_preview = false;
};

}  // namespace varnel
