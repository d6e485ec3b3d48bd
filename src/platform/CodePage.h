// Conversion between Unicode and the ANSI code page of 8-bit texts (ShortAnsi and the like).
// The code page is Windows-1252 unless the settings choose another one. Conversion goes
// through iconv; a character the code page lacks becomes "?", a byte it does not define
// becomes U+FFFD. Safe to call from any thread.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace gs {

constexpr int DefaultAnsiCodePage = 1252;

// Chooses the code page (a Windows code page number such as 1251). An unknown number is
// refused (returns false) and the current code page stays.
bool SetAnsiCodePage(int codePage);
int AnsiCodePage();

QString AnsiToUnicode(QByteArrayView bytes);
QByteArray UnicodeToAnsi(QStringView text);

// The text as it survives a trip through the code page (what an 8-bit field can hold).
QString AnsiRoundTrip(QStringView text);

} // namespace gs
