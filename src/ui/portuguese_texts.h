// The Qt window speaks Portuguese whatever the machine's locale: its dates,
// its calendar and Qt's own dialogs and buttons. The core's messages in
// Portuguese are the window model's (window/portuguese_messages.h).
#pragma once

#include <string>

#include "window/portuguese_messages.h"

class QApplication;
class QLocale;

namespace varnel {

// Portuguese (Portugal), whatever the machine's locale.
QLocale PortugueseLocale();

// Makes Portuguese the program's locale and installs Qt's Portuguese
// translations (European Portuguese first, Brazilian for what it lacks) for
// Qt's own dialogs and buttons. Returns false when none was found.
bool InstallPortuguese(QApplication& application);

}  // namespace varnel
