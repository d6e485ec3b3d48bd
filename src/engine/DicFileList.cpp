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
  if (!QFileInfo(path).isFile()) throw EWrongFileName(path);
  if (!item) {
    m_items.push_back({path, 0, std::make_unique<TDicFile>()});
    item = &m_items.back();
  }
  const TDateTime modified = FileModified(path);
  if (item->loadedTime != modified) {
    item->file->LoadFromFile(path);
    item->loadedTime = modified;
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
