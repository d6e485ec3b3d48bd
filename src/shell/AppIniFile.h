// TAppIniFile: the settings file, and the list that its "Generator"/"ListFile" names (the
// lines of a text file, read through the engine's text file list).
#pragma once

#include "shell/IniFilesEx.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

namespace gs {

class TRecent;

class TAppIniFile : public TIniFileEx {
public:
  // Read as UTF-8, values trimmed, written through until shutdown.
  TAppIniFile(const QString& fileName, TRecent* recent);

  // Reads never fail; writes that fail are ignored.
  QString ListFile() const;  // expanded
  // Stores the name relative to the program folder and reloads the list.
  void SetListFile(const QString& fileName);
  // Reads the list file again (when the window is activated, at start-up): on success it goes
  // to the head of the recent list "ListFile", on failure it leaves that list.
  void ReloadList();
  bool ListLoaded() const;
  // The list's lines; safe from the generation job's thread.
  QStringList List() const;

  std::function<void(TAppIniFile&)> OnListLoaded;
  std::function<void(TAppIniFile&)> OnListFileChanged;

private:
  TRecent* m_recent;
  mutable std::mutex m_listMutex;
  QStringList m_list;
  bool m_listLoaded = false;
};

} // namespace gs
