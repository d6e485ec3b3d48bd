// Text helpers that every part shares, so all compare and convert the same way: casing,
// comparison without case, the program's integer reading and line splitting.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace gs {

// Locale-aware casing (the program's locale).
QString UpperCase(QStringView text);
QString LowerCase(QStringView text);

// Comparison without regard to case.
bool SameText(QStringView a, QStringView b);
int CompareText(QStringView a, QStringView b);

// Reads a 32-bit signed integer: leading blanks, an optional sign, then decimal digits or,
// after "$", "x", "X" or "0x", hexadecimal digits. Anything else (trailing text, overflow)
// is no number.
std::optional<qint32> StrToIntOpt(QStringView text);
qint32 StrToIntDef(QStringView text, qint32 fallback);

// Splits at CR, LF or CR LF; a final line break does not start another line.
QStringList SplitLines(QStringView text);

// The text up to its first NUL character.
QStringView UpToNul(QStringView text);

} // namespace gs
