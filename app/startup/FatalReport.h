#pragma once

#include <QString>

namespace qelvane {

// The program's fatal error report: a failure nobody trapped ends the program after
// this is shown. It also goes to the standard error stream; where no screen can show
// a box (a headless run) only there, so such a run never waits on a box nobody sees.
void reportFatal(const QString& description);

} // namespace qelvane
