// The JSON forms of the common header, shared by `info`, `dump` and the text forms.
#pragma once

#include "formats/Info.h"
#include "platform/JsonWriter.h"

namespace gs {

// An object from language id to text, in entry order.
void WriteLangStrJson(TJsonWriter& json, const TLangStr& text);
// The keys "guid", "icon" (relative to baseFolder), "title", "hint", "author" and "url".
void WriteInfoJson(TJsonWriter& json, const TInfo& info, const QString& baseFolder);

} // namespace gs
