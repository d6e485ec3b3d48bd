// The JSON forms of collections, containers and installers, as `glossmith dump` prints them.
#pragma once

#include "documents/ColFiles.h"
#include "documents/ConFiles.h"
#include "documents/InsFiles.h"

namespace gs {
class TJsonWriter;
}

namespace gs {

// Paths are written relative to baseFolder.
QString DumpCollection(const TColFile& col, const QString& baseFolder);
// One line: text, rating, group and checked mark; whole adds its date and hint.
void WriteLineJson(TJsonWriter& json, const TColLine& line, bool whole);
void WriteCollectionJson(TJsonWriter& json, const TColFile& col, const QString& baseFolder);
// The header, the main file and the payload's entries with their sizes and dates.
QString DumpInstaller(TInsFile& installer);
QString DumpContainer(const TConFile& con, const QString& baseFolder);

} // namespace gs
