// Collections and containers from the JSON forms that `glossmith dump` prints.
#pragma once

#include "documents/ColFiles.h"
#include "documents/ConFiles.h"
#include "platform/JsonReader.h"

namespace gs {

// Relative paths are resolved against baseFolder. Raise ETextForm with the JSON path of a fault.
void BuildCollection(const TJsonValue& document, const QString& baseFolder, TColFile& col);
void BuildContainer(const TJsonValue& document, const QString& baseFolder, TConFile& con);

} // namespace gs
