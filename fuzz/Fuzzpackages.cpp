#include "FuzzSupport.h"
#include "shell/Packages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  gs::TPackages packages(nullptr, QStringLiteral("/nonexistent/"));
  packages.LoadFromFile(gs::FuzzFile(data, size, QStringLiteral("Packages.db")));
  return 0;
}
