#include "FuzzSupport.h"
#include "shell/Recent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  gs::TRecent recent;
  recent.LoadFromFile(gs::FuzzFile(data, size, QStringLiteral("Recent.db")));
  (void)recent.Values(QStringLiteral("GenCount"));
  return 0;
}
