#include "engine/DicFileList.h"

#include "platform/Paths.h"

#include <QFileInfo>

namespace gs {

TDicFile* TDicFileList::Get(const QString& path) {
  std::lock_guard lock(m_mutex);
  TItem* item = nullptr;
  for (TItem& i : m_items)
    if (SamePath(i.fileName, path)) {
      item = &i;
      break;
    }
  const qint64 stamp = FileChangeStamp(path);
  if (stamp < 0) throw EWrongFileName(path);
  if (!item) {
    m_items.push_back({path, -1, std::make_unique<TDicFile>()});
    item = &m_items.back();
  }
  if (item->loadedTime != stamp) {
    item->file->LoadFromFile(path);
    item->loadedTime = stamp;
  }
  return item->file.get();
}

void TDicFileList::Clear() {
  std::lock_guard lock(m_mutex);
  m_items.clear();
}

TDicFileList& DicFileList() {
  static TDicFileList list;
  return list;
}

} // namespace gs
