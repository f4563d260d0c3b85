// The keyboard rules of the window's form base, for both views: Enter moves
// to the next field, Down and Up move between single-line text boxes (the
// key still reaches the box), Ctrl+Tab and Ctrl+Shift+Tab move on from any
// control. Lists, date pickers and buttons keep their own arrows; a
// multi-line text box that wants returns keeps Enter; a push button keeps
// Enter (it presses the button). Each view maps its key events and control
// classes onto these and moves the focus over its tab stops.
#pragma once

namespace varnel {

// The kinds of navigation, as a set of bits.
enum NavigationKind : unsigned {
  kNavigateEnter = 0x1,
  kNavigateUpDownArrows = 0x2,
  kNavigateCtrlTab = 0x4,
};
inline constexpr unsigned kAllNavigationKinds = kNavigateEnter | kNavigateUpDownArrows | kNavigateCtrlTab;

enum class ControlKind {
  SingleLineText,
  MultiLineText,           // wants returns: Enter breaks lines there
  MultiLineTextNoReturns,  // refuses returns: Enter moves on
  DropDownList,
  DatePicker,
  PushButton,
  Other,
};

// Whether navigation of kind may take the key from a control of kind control,
// with the navigation on and the kinds of the form in kinds.
bool CanIntercept(NavigationKind kind, ControlKind control, unsigned kinds = kAllNavigationKinds,
                  bool enabled = true);

enum class NavigationKey { Enter, Up, Down, Tab, Other };

// What a key does: move the focus (+1 forward, -1 backward, 0 not at all)
// and whether the control still receives the key.
struct KeyDecision {
  int move = 0;
  bool swallow = false;

  friend bool operator==(const KeyDecision&, const KeyDecision&) = default;
};

// The decision for key pressed in a control of kind control. Enter with Ctrl
// or Alt held is the control's own key.
KeyDecision DecideKey(NavigationKey key, bool ctrl, bool shift, bool alt, ControlKind control,
                      unsigned kinds = kAllNavigationKinds, bool enabled = true);

}  // namespace varnel
