#pragma once

#include <QString>
#include <QTextStream>

namespace qelvane::metre {

// Reads every Chinese poem of a library file, finds its form and prints how many poems of
// each form each epoch holds, then metre_seconds: and metre_poems:. Returns the exit code.
int printLibraryForms(const QString& file, QTextStream& out, QTextStream& err);

} // namespace qelvane::metre
