#include "tolvarin/Tolvarin.h"

#include <cstring>

extern "C" QWidget* TolvarinCreateControl(const char* identifier, QWidget* parent)
{
    if (!identifier || std::strcmp(identifier, tolvarin::ProgId) != 0)
        return nullptr;
    // The constructor gives the defaults of a new control, as it does for a host that
    // links the library.
    return new tolvarin::Tolvarin(parent);
}
