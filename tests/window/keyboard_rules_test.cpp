// The keyboard rules both views apply: which key moves the focus from which
// kind of control, and whether the control still gets the key.
#include <gtest/gtest.h>

#include "window/keyboard_rules.h"

using namespace varnel;

TEST(KeyboardRules, KeysByControlKind) {
  using K = NavigationKey;
  using C = ControlKind;
  const struct {
    K key;
    bool ctrl, shift, alt;
    C control;
    KeyDecision decision;
  } rows[] = {
      {K::Enter, false, false, false, C::SingleLineText, {1, true}},
      {K::Enter, false, false, false, C::DropDownList, {1, true}},
      {K::Enter, false, false, false, C::DatePicker, {1, true}},
      {K::Enter, false, false, false, C::MultiLineText, {0, false}},  // breaks the line
      {K::Enter, false, false, false, C::MultiLineTextNoReturns, {1, true}},
      {K::Enter, false, false, false, C::PushButton, {0, false}},  // presses the button
      {K::Enter, true, false, false, C::SingleLineText, {0, false}},
      {K::Enter, false, false, true, C::SingleLineText, {0, false}},
      {K::Down, false, false, false, C::SingleLineText, {1, false}},  // the box sees it too
      {K::Up, false, false, false, C::SingleLineText, {-1, false}},
      {K::Down, false, false, false, C::DropDownList, {0, false}},  // changes the choice
      {K::Up, false, false, false, C::DatePicker, {0, false}},     // changes the date
      {K::Down, false, false, false, C::MultiLineText, {0, false}},
      {K::Tab, true, false, false, C::DatePicker, {1, true}},
      {K::Tab, true, true, false, C::PushButton, {-1, true}},
      {K::Tab, false, false, false, C::SingleLineText, {0, false}},  // plain Tab is the toolkit's
      {K::Other, true, false, false, C::SingleLineText, {0, false}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(DecideKey(row.key, row.ctrl, row.shift, row.alt, row.control), row.decision)
        << static_cast<int>(row.key) << " in " << static_cast<int>(row.control);
  }
}

TEST(KeyboardRules, KindsOfTheFormAndTheGlobalSwitch) {
  EXPECT_EQ(DecideKey(NavigationKey::Enter, false, false, false, ControlKind::SingleLineText, kNavigateCtrlTab),
            KeyDecision{});
  EXPECT_EQ(DecideKey(NavigationKey::Tab, true, false, false, ControlKind::SingleLineText, kNavigateCtrlTab),
            (KeyDecision{1, true}));
  EXPECT_EQ(DecideKey(NavigationKey::Down, false, false, false, ControlKind::SingleLineText, kAllNavigationKinds,
                      false),
            KeyDecision{});
  EXPECT_FALSE(CanIntercept(kNavigateCtrlTab, ControlKind::Other, kAllNavigationKinds, false));
  EXPECT_TRUE(CanIntercept(kNavigateCtrlTab, ControlKind::Other));
}
