// What every fuzz target needs: the program-wide objects, once, and the exceptions that a
// reader may raise for bad input. Anything else escaping is a finding.
#pragma once

#include "documents/ColFiles.h"
#include "model/DicTextForm.h"
#include "model/EO.h"
#include "model/Functions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
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

// Readers that take a file name get the input as a file of this name in a scratch folder.
inline QString FuzzFile(const uint8_t* data, size_t size, const QString& name) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(reinterpret_cast<const char*>(data), qint64(size));
  return path;
}

} // namespace gs
