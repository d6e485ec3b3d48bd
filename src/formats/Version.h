// Two-byte structure versions (major, minor) and their comparison.
#pragma once

#include <QString>
#include <cstdint>

namespace gs {

struct TVersion {
  std::uint8_t major = 0;
  std::uint8_t minor = 0;
  bool operator==(const TVersion&) const = default;
  QString ToString() const { return QStringLiteral("%1.%2").arg(major).arg(minor); }
};

// Negative, zero or positive; the major bytes decide, then the minor ones.
constexpr int CompareVersion(TVersion a, TVersion b) {
  if (a.major != b.major) return int(a.major) - int(b.major);
  return int(a.minor) - int(b.minor);
}

} // namespace gs
