// The ODBC headers. Windows' sql.h (MinGW-w64's as the SDK's) uses types
// that only <windows.h> declares, so there it has to come first; unixODBC's
// headers stand alone. The one place the difference is written down.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
