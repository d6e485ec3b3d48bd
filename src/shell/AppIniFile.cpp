#include "shell/AppIniFile.h"

#include "engine/TextFileList.h"
#include "platform/Text.h"
#include "shell/Folders.h"
#include "shell/Recent.h"

namespace gs {

TAppIniFile::TAppIniFile(const QString& fileName, TRecent* recent)
    : TIniFileEx(fileName, TTextEncoding::Utf8, /*trimValues=*/true, /*writeThrough=*/true), m_recent(recent) {}

QString TAppIniFile::ListFile() const {
  return ExpandStoredPath(ReadString(u"Generator", u"ListFile", QString()));
}

void TAppIniFile::SetListFile(const QString& fileName) {
  const QString old = ListFile();
  WriteString(u"Generator", u"ListFile", StoredPath(fileName));
  ReloadList();
  if (!SameText(old, ListFile()) && OnListFileChanged) OnListFileChanged(*this);
}

void TAppIniFile::ReloadList() {
  const QString fileName = ListFile();
  QStringList lines;
  bool loaded = false;
  if (!fileName.isEmpty()) {
    try {
      lines = TextFileList().Get(fileName).Lines();
      loaded = true;
    } catch (const std::exception&) {
      // The setting keeps the name; the list stays empty.
    }
  }
  {
    std::lock_guard lock(m_listMutex);
    m_list = std::move(lines);
    m_listLoaded = loaded;
  }
  if (m_recent && !fileName.isEmpty()) {
    if (loaded) m_recent->Add(QStringLiteral("ListFile"), fileName);
    else m_recent->Remove(QStringLiteral("ListFile"), fileName);
  }
  if (OnListLoaded) OnListLoaded(*this);
}

bool TAppIniFile::ListLoaded() const {
  std::lock_guard lock(m_listMutex);
  return m_listLoaded;
}

QStringList TAppIniFile::List() const {
  std::lock_guard lock(m_listMutex);
  return m_list;
}

} // namespace gs
