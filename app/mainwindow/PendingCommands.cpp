// Commands of the main window whose dialogs and behaviour are still to come. Each is
// reachable from the bars already and does nothing yet.
#include "frmMain.h"

namespace qelvane {

void frmMain::ExportPoem() {}

} // namespace qelvane
