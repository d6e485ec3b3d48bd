#include "FuzzSupport.h"
#include "shell/Library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  gs::TLibrary library;
  library.LoadFromFile(gs::FuzzFile(data, size, QStringLiteral("Library.db")));
  for (int i = 0; i < library.Count(); ++i) (void)library.Item(i).DisplayTitle();
  return 0;
}
