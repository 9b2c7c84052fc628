#pragma once

#include "store/StoreError.h"

#include <QString>

namespace qelvane {

// What the reader is told when a change was refused: a library another program holds
// or one opened for reading only reads the same in every command (its own sentence);
// any other failure follows the command's words, "…：%1" taking the reason.
inline QString refusalText(const StoreError& failure, const QString& commandWords)
{
    if (dynamic_cast<const LibraryBusy*>(&failure) || dynamic_cast<const LibraryReadOnly*>(&failure))
        return failure.description();
    return commandWords.arg(failure.description());
}

} // namespace qelvane
