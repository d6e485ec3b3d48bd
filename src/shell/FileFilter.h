// The filter strings of file dialogs ("name (patterns)|patterns|" per entry).
#pragma once

#include "formats/FileFunctions.h"

#include <QString>
#include <initializer_list>

namespace gs {

QString BuildFileFilter(std::initializer_list<TFileType> types, bool allSupported, bool allFiles);

} // namespace gs
