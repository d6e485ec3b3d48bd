#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return gs::FuzzRead(data, size, [](gs::TStreamReader& s) { gs::TInfo(true).ReadFromStream(s, QStringLiteral("/f/")); });
}
