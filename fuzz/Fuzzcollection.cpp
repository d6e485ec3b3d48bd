#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return gs::FuzzRead(data, size, [](gs::TStreamReader& s) {
    gs::TColFile col;
    col.LoadFromStream(s, QStringLiteral("/f/"));
    col.RemoveDuplicates();
    gs::TStreamWriter w;
    col.SaveToStream(w, QStringLiteral("/f/"));
  });
}
