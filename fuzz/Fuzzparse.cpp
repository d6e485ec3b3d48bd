#include "FuzzSupport.h"
#include "engine/ParFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return gs::FuzzRead(data, size, [](gs::TStreamReader& s) {
    gs::TParse parse;
    parse.LoadFromStream(s);
    parse.ComputeAll();
    gs::TParse merged;
    merged.Merge(parse);
  });
}
