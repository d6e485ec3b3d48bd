// The program's folders. All carry a trailing separator.
#pragma once

#include <QString>

namespace gs {

struct TFolders {
  QString programDir;     // settings, "Dictionaries.ini", the databases and "Session.qgs"
  QString languagesDir;   // language files
  QString packagesDir;    // installed packages
  QString installersDir;  // first folder of the install dialog
  QString helpDir;
  QString documentsDir;   // the user's documents folder
  QString settingsFile;   // the settings file: named after the executable, ".ini"

  // home: the folder given with --home (may be empty); exeDir and exeName: where the program
  // runs from. Without a home folder the executable's folder serves when it is writable, else
  // the per-user data folder.
  static TFolders Resolve(const QString& home, const QString& exeDir, const QString& exeName);
  QString ProgramFile(const QString& name) const { return programDir + name; }
};

// The folders of this run, set at start-up.
const TFolders& Folders();
void SetFolders(const TFolders& folders);

// Stored paths: relative to the program folder when possible, expanded against it on reading.
QString StoredPath(const QString& path);
QString ExpandStoredPath(const QString& stored);

} // namespace gs
