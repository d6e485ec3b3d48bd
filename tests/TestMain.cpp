// Runs every test with the program-wide objects that the model needs.
#include "model/EO.h"
#include "model/Functions.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  gs::CreateStdOptions();
  gs::CreateStdFuncs();
  const int status = RUN_ALL_TESTS();
  gs::FreeStdFuncs();
  gs::FreeStdOptions();
  return status;
}
