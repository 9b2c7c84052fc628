#pragma once

#include "store/Changes.h"

#include <QString>
#include <functional>

class QWidget;

namespace qelvane {
class DbConnection;
}

// A change that may take seconds on a big library (an epoch with its 80,000 poems) runs
// on a thread of its own, with a connection of its own to the same library, while the
// window goes on painting; a dialog shows how far it has come once it has taken longer
// than a moment. It is one transaction as every change is: closed or killed halfway, the
// library is left as it was.
namespace qelvane::longchange {

using Work = std::function<void(DbConnection& db, const changes::Progress& progress)>;

// Runs `work` and returns when it is done; its failure (a StoreError) is thrown here.
// `label` names the change in the dialog. The reader's clicks and keys meanwhile come to
// nothing, and no window closes.
void run(QWidget* parent, DbConnection& db, const QString& label, const Work& work);

// Whether such a change is running now (the window does not close meanwhile).
bool running();

// Called with each change's own connection, on the change's thread, before the change
// (a test's ledger of the rows changed listens on it too).
void watchConnections(std::function<void(DbConnection& db)> watcher);

} // namespace qelvane::longchange
