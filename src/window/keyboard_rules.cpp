// The keyboard rules of the form base: which navigation may take a key from
// which kind of control, and what each navigation key does.
#include "window/keyboard_rules.h"

namespace varnel {

bool CanIntercept(NavigationKind kind, ControlKind control, unsigned kinds, bool enabled) {
  if (!enabled || (kinds & kind) == 0) return false;
  switch (kind) {
    case kNavigateEnter: return control != ControlKind::MultiLineText;
    case kNavigateUpDownArrows: return control == ControlKind::SingleLineText;
    case kNavigateCtrlTab: return true;
  }
  return false;
}

KeyDecision DecideKey(NavigationKey key, bool ctrl, bool shift, bool alt, ControlKind control, unsigned kinds,
                      bool enabled) {
  if (!enabled) return {};
  switch (key) {
    case NavigationKey::Up:
    case NavigationKey::Down:
      // The arrow is not taken away: the control sees it as well.
      if (!CanIntercept(kNavigateUpDownArrows, control, kinds)) return {};
      return {key == NavigationKey::Down ? 1 : -1, false};
    case NavigationKey::Tab:
      if (!ctrl || !CanIntercept(kNavigateCtrlTab, control, kinds)) return {};
      return {shift ? -1 : 1, true};
    case NavigationKey::Enter:
      // Ctrl+Enter and Alt+Enter are the control's; a push button takes
      // Enter as its press.
      if (ctrl || alt || control == ControlKind::PushButton) return {};
      if (!CanIntercept(kNavigateEnter, control, kinds)) return {};
      return {1, true};
    case NavigationKey::Other:
      return {};
  }
  return {};
}

}  // namespace varnel
