// What every fuzz target needs: the program-wide objects, once, and the exceptions that a
// reader may raise for bad input. Anything else escaping is a finding.
#pragma once

#include "documents/ColFiles.h"
#include "model/DicTextForm.h"
#include "model/EO.h"
#include "model/Functions.h"

#include <QCoreApplication>
#include <cstdint>

namespace gs {

inline void FuzzSetUp() {
  static bool done = [] {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives for the whole fuzzing process
    CreateStdOptions();
    CreateStdFuncs();
    return true;
  }();
  (void)done;
}

// Runs read over the input; the readers' own exceptions are the expected outcome of bad data.
template <class F>
int FuzzRead(const uint8_t* data, size_t size, F read) {
  FuzzSetUp();
  TStreamReader stream(reinterpret_cast<const char*>(data), qint64(size));
  try {
    read(stream);
  } catch (const EWrongStructure&) {
  } catch (const EWrongFormat&) {
  } catch (const EWrongFileName&) {
  }
  return 0;
}

} // namespace gs
