#pragma once

#include "PoemDocument.h"

class QWidget;

namespace qelvane {

struct Services;

// Exporting a poem, in one place: laid out as a word-processor document, written as an
// OpenDocument text into the documents folder and opened on the desktop. Says so (over
// `parent`) and returns false when the document cannot be written or nothing opens it.
bool ExportToWord(const Services& services, QWidget* parent, const PoemDocument& document);

} // namespace qelvane
