// The JSON forms of collections and containers, as `glossmith dump` prints them.
#pragma once

#include "documents/ColFiles.h"
#include "documents/ConFiles.h"

namespace gs {

// Paths are written relative to baseFolder.
QString DumpCollection(const TColFile& col, const QString& baseFolder);
QString DumpContainer(const TConFile& con, const QString& baseFolder);

} // namespace gs
