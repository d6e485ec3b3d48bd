// File times and sizes. Dates are date-time values: days since 1899-12-30 as a double, the
// fraction being the time of day, in local time.
#pragma once

#include <QDateTime>
#include <QString>

namespace gs {

using TDateTime = double;

TDateTime DateTimeFromQt(const QDateTime& value);  // local time
QDateTime DateTimeToQt(TDateTime value);           // local time, millisecond precision
TDateTime Now();

// The value cut down to the 2-second resolution of DOS file times.
TDateTime ToDosResolution(TDateTime value);

// Last-write time in local time at DOS resolution; 0 when missing or a folder.
TDateTime FileModified(const QString& fileName);
// Sets the last-write time (DOS resolution) of an existing file; false when it cannot.
bool SetFileModified(const QString& fileName, TDateTime value);
// A stamp that changes whenever the file is written (its modification time in nanoseconds);
// -1 when there is no such file or it is a folder. One system call: the stores of loaded files
// check it on every use.
qint64 FileChangeStamp(const QString& fileName);
// Size in bytes, -1 when no such file exists.
qint64 FileSizeOf(const QString& fileName);

} // namespace gs
