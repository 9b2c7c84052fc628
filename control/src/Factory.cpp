#include "tolvarin/Tolvarin.h"

#include <cstring>

extern "C" QWidget* TolvarinCreateControl(const char* identifier, QWidget* parent)
{
    if (!identifier || std::strcmp(identifier, tolvarin::ProgId) != 0)
        return nullptr;
    auto* control = new tolvarin::Tolvarin(parent);
    control->InitProperties();
    return control;
}
