#pragma once

#include "text/Metre.h"

#include <QJsonObject>

namespace qelvane::metre {

// One poem's metre as the command line's --json prints it.
QJsonObject toJson(const Metre& metre);

} // namespace qelvane::metre
