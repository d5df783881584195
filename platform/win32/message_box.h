// What every flavour's MessageBoxA does before showing anything: the text as
// one line on stderr, so that a run without a display still says what went
// wrong. An error box that comes when the platform knows why start-up
// failed says that reason instead.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

// Writes the stderr line and returns the text the box itself should show.
std::string ReportMessageBox(LPCSTR text, LPCSTR caption, UINT type);

}  // namespace corvane
