#include "platform/Paths.h"

#include <QDir>

namespace gs {
namespace {

bool IsSeparator(QChar ch) {
  return ch == u'/' || ch == u'\\';
}

qsizetype LastSeparator(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (IsSeparator(path[i])) return i;
  return -1;
}

QString ToNative(QString path) {
  return path.replace(u'\\', u'/');
}

QString DrivePart(QStringView path) {
  if (path.size() >= 2 && path[1] == u':' && path[0].isLetter()) return path.first(2).toString();
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // "\\server\share"
    qsizetype i = 2;
    int pieces = 0;
    while (i < path.size()) {
      if (IsSeparator(path[i]) && ++pieces == 2) break;
      ++i;
    }
    return path.first(i).toString();
  }
  return {};
}

} // namespace

bool HasDrivePart(QStringView path) {
  return !DrivePart(path).isEmpty();
}

QString ExpandRelative(const QString& baseFile, const QString& name) {
  if (name.isEmpty() || HasDrivePart(name)) return name;
  const QString native = ToNative(name);
  if (native.startsWith(u'/')) return QDir::cleanPath(native);
  QString folder = ExtractFileDir(baseFile);
  if (folder.isEmpty()) folder = QDir::currentPath();
  return QDir::cleanPath(QDir(ToNative(folder)).absoluteFilePath(native));
}

QString MakeRelative(const QString& baseFolder, const QString& name) {
  if (name.isEmpty() || baseFolder.isEmpty() || !SameDrive(baseFolder, name)) return name;
  if (HasDrivePart(name)) return name;
  QString relative = QDir(ToNative(baseFolder)).relativeFilePath(ToNative(name));
  return relative.replace(u'/', u'\\');
}

bool SameDrive(const QString& a, const QString& b) {
  return DrivePart(a).compare(DrivePart(b), Qt::CaseInsensitive) == 0;
}

QString ExtractFileName(const QString& path) {
  return path.mid(LastSeparator(path) + 1);
}

QString ExtractFileDir(const QString& path) {
  return path.left(LastSeparator(path) + 1);
}

QString ChangeFileExt(const QString& path, const QString& ext) {
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot <= LastSeparator(path)) return path + ext;
  return path.left(dot) + ext;
}

QString FileNameWithoutExt(const QString& path) {
  return ChangeFileExt(ExtractFileName(path), QString());
}

bool SamePath(const QString& a, const QString& b) {
  if (a == b) return true;
  return QDir::cleanPath(ToNative(a)) == QDir::cleanPath(ToNative(b));
}

} // namespace gs
