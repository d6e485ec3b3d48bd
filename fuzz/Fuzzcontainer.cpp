#include "FuzzSupport.h"
#include "documents/ConFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return gs::FuzzRead(data, size, [](gs::TStreamReader& s) {
    gs::TConFile con;
    con.LoadFromStream(s, QStringLiteral("/f/"));
    gs::TStreamWriter w;
    con.SaveToStream(w, QStringLiteral("/f/"));
  });
}
