#include "platform/FileTimes.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <sys/stat.h>

namespace gs {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

} // namespace

TDateTime DateTimeFromQt(const QDateTime& value) {
  const QDateTime local = value.toLocalTime();
  const qint64 days = kEpoch.daysTo(local.date());
  const qint64 ms = local.time().msecsSinceStartOfDay();
  // Before the epoch the fraction counts away from zero, as date-time values do.
  const double fraction = double(ms) / kMsPerDay;
  return days >= 0 ? days + fraction : days - fraction;
}

QDateTime DateTimeToQt(TDateTime value) {
  const double whole = std::trunc(value);
  const qint64 ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  return QDateTime(kEpoch.addDays(qint64(whole)), QTime(0, 0).addMSecs(int(ms % kMsPerDay)));
}

TDateTime Now() {
  // Converting every reading to local time re-reads the time zone from disk; the offset is
  // looked up again once a minute instead, which follows a change of summer time.
  constexpr qint64 kRefreshMs = 60000;
  constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 in date-time days
  thread_local qint64 offsetMs = 0;
  thread_local qint64 validFrom = 1, validUntil = 0;
  const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
  if (utcMs < validFrom || utcMs >= validUntil) {
    offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
    validFrom = utcMs;
    validUntil = utcMs + kRefreshMs;
  }
  return kUnixEpochDays + double(utcMs + offsetMs) / kMsPerDay;
}

TDateTime ToDosResolution(TDateTime value) {
  QDateTime dt = DateTimeToQt(value);
  const QTime t = dt.time();
  dt.setTime(QTime(t.hour(), t.minute(), t.second() & ~1));
  return DateTimeFromQt(dt);
}

TDateTime FileModified(const QString& fileName) {
  const QFileInfo info(fileName);
  if (!info.exists() || info.isDir()) return 0;
  return ToDosResolution(DateTimeFromQt(info.lastModified()));
}

bool SetFileModified(const QString& fileName, TDateTime value) {
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadWrite)) return false;
  return file.setFileTime(DateTimeToQt(ToDosResolution(value)), QFileDevice::FileModificationTime);
}

qint64 FileChangeStamp(const QString& fileName) {
  struct stat st {};
  if (stat(QFile::encodeName(fileName).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

qint64 FileSizeOf(const QString& fileName) {
  const QFileInfo info(fileName);
  return info.exists() && !info.isDir() ? info.size() : -1;
}

} // namespace gs
