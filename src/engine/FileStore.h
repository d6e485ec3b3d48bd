// A process-wide store of files loaded from disk: every caller that asks for one path gets one
// object, loaded again in place whenever the file is written. Items live until the store goes.
// Safe from any thread.
#pragma once

#include "formats/Exceptions.h"
#include "platform/FileTimes.h"
#include "platform/Paths.h"

#include <memory>
#include <mutex>
#include <vector>

namespace gs {

// T provides Load(fileName), which raises the reader's exceptions.
template <class T>
class TFileStore {
public:
  // Raises EWrongFileName when no file exists at path (checked on every call) and the reader's
  // exceptions when loading fails (the next call then tries again). The object stays valid as
  // long as the store.
  T& Get(const QString& path) {
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
      m_items.push_back({path, -1, std::make_unique<T>()});
      item = &m_items.back();
    }
    if (item->loadedStamp != stamp) {
      item->object->Load(path);
      item->loadedStamp = stamp;
    }
    return *item->object;
  }

  void Clear() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
  }

private:
  struct TItem {
    QString fileName;
    qint64 loadedStamp;  // the file's change stamp when it was loaded; -1: never
    std::unique_ptr<T> object;
  };
  std::mutex m_mutex;
  std::vector<TItem> m_items;
};

} // namespace gs
