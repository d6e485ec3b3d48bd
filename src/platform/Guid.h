// GUIDs as the 16 bytes of the Windows structure: a 32-bit, two 16-bit little-endian fields,
// then 8 bytes.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace gs {

using TGuid = std::array<std::uint8_t, 16>;

TGuid NewGuid();
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
QString GuidToString(const TGuid& guid);
bool IsNullGuid(const TGuid& guid);
// Reads the form GuidToString writes (braces optional, any letter case); false when malformed.
bool GuidFromString(QStringView text, TGuid& guid);

} // namespace gs
