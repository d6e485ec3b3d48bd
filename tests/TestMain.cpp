// Runs every test with the program-wide objects that the model needs.
#include "model/EO.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  gs::CreateStdOptions();
  const int status = RUN_ALL_TESTS();
  gs::FreeStdOptions();
  return status;
}
