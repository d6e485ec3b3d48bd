#include "shell/Folders.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace gs {
namespace {

TFolders g_folders;

QString WithSeparator(const QString& dir) {
  QString d = QDir::cleanPath(QDir(dir).absolutePath());
  if (!d.endsWith(u'/')) d += u'/';
  return d;
}

bool Writable(const QString& dir) {
  const QFileInfo info(dir);
  return info.isDir() && info.isWritable();
}

} // namespace

TFolders TFolders::Resolve(const QString& home, const QString& exeDir, const QString& exeName) {
  QString program = home;
  if (program.isEmpty()) program = Writable(exeDir) ? exeDir : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  TFolders f;
  f.programDir = WithSeparator(program);
  f.languagesDir = f.programDir + QStringLiteral("Languages/");
  f.packagesDir = f.programDir + QStringLiteral("Packages/");
  f.installersDir = f.programDir + QStringLiteral("Installers/");
  f.helpDir = f.programDir + QStringLiteral("Help/");
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  f.documentsDir = docs.isEmpty() ? QString() : WithSeparator(docs);
  f.settingsFile = f.programDir + FileNameWithoutExt(exeName.isEmpty() ? QStringLiteral("glossmith") : exeName) + QStringLiteral(".ini");
  return f;
}

const TFolders& Folders() { return g_folders; }
void SetFolders(const TFolders& folders) { g_folders = folders; }

QString StoredPath(const QString& path) {
  return MakeRelative(g_folders.programDir, path);
}

QString ExpandStoredPath(const QString& stored) {
  if (stored.isEmpty()) return {};
  // The base is a file name: ExpandRelative takes the text up to its last separator.
  return ExpandRelative(g_folders.programDir, stored);
}

} // namespace gs
