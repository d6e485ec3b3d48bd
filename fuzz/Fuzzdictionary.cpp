#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return gs::FuzzRead(data, size, [](gs::TStreamReader& s) {
    gs::TDicFile dic;
    dic.LoadFromStream(s, QStringLiteral("/f/"));
    gs::TStreamWriter w;
    dic.SaveToStream(w, QStringLiteral("/f/"));  // whatever loaded must also save
  });
}
