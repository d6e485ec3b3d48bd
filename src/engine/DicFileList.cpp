#include "engine/DicFileList.h"

namespace gs {

TDicFileList& DicFileList() {
  static TDicFileList list;
  return list;
}

} // namespace gs
