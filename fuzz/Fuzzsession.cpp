#include "FuzzSupport.h"
#include "shell/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  gs::TSession session;
  session.LoadFromFile(gs::FuzzFile(data, size, QStringLiteral("f.qgs")));
  gs::TStreamWriter w;
  session.SaveToStream(w);
  return 0;
}
