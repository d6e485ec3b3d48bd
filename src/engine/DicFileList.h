// The process-wide store of loaded dictionaries (the master dictionary and linked ones).
#pragma once

#include "engine/FileStore.h"
#include "model/DicFiles.h"

namespace gs {

// A dictionary as the store keeps it.
class TStoredDictionary : public TDicFile {
public:
  void Load(const QString& fileName) { LoadFromFile(fileName); }
};

using TDicFileList = TFileStore<TStoredDictionary>;

// The program's dictionary list, created at start-up.
TDicFileList& DicFileList();

} // namespace gs
