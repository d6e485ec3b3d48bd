// Glossmith: parses the command line and hands over to the headless jobs or the windows.
#include "engine/Random.h"
#include "model/EO.h"
#include "model/Functions.h"
#include "shell/Commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Glossmith"));
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();

  QTextStream out(stdout);
  QTextStream err(stderr);
  gs::RandomSeedFromClock();
  gs::CreateStdOptions();
  gs::CreateStdFuncs();
  const std::optional<int> status = gs::RunHeadless(args, out, err);
  gs::FreeStdFuncs();
  gs::FreeStdOptions();
  if (status) return *status;
  // The main window does not exist yet: say what the program can do instead.
  err << "glossmith: the main window is not available in this build; see glossmith --help\n";
  return gs::exitUsage;
}
