// Runs the benchmarks with the program-wide objects that the model needs.
#include "model/EO.h"
#include "model/Functions.h"
#include "platform/Memory.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  gs::TuneAllocator();  // as the program does
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  gs::CreateStdOptions();
  gs::CreateStdFuncs();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gs::FreeStdFuncs();
  gs::FreeStdOptions();
  return 0;
}
