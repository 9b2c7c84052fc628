#pragma once

#include <QString>

namespace qelvane {

// The program's fatal error report: a failure nobody trapped ends the program after
// this is shown. It also goes to the standard error stream; where no screen can show
// a box (a headless run) only there, so such a run never waits on a box nobody sees.
// `detail` (a statement, the engine's own words) goes to the error stream only.
void reportFatal(const QString& description, const QString& detail = {});

} // namespace qelvane
