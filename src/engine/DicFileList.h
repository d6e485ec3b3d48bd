// The process-wide store of loaded dictionaries: every caller that asks for one path gets one
// object, reloaded in place whenever the file is written. Safe from any thread.
#pragma once

#include "model/DicFiles.h"

#include <memory>
#include <mutex>
#include <vector>

namespace gs {

class TDicFileList {
public:
  // Raises EWrongFileName when no file exists at path (checked on every call), and the
  // reader's exceptions when loading fails (the next call then tries again).
  TDicFile* Get(const QString& path);
  void Clear();

private:
  struct TItem {
    QString fileName;
    qint64 loadedTime = -1;  // the file's change stamp when it was loaded
    std::unique_ptr<TDicFile> file;
  };
  std::mutex m_mutex;
  std::vector<TItem> m_items;
};

// The program's dictionary list, created at start-up.
TDicFileList& DicFileList();

} // namespace gs
