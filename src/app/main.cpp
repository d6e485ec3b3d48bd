// Glossmith: parses the command line and hands over to the headless jobs or to the shell.
#include "app/SingleInstance.h"
#include "model/EO.h"
#include "model/Functions.h"
#include "platform/Memory.h"
#include "shell/Commands.h"
#include "shell/General.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Start-up without a window: the shell, the single-instance check and the command-line jobs.
int RunShell(const QStringList& args, QTextStream& err) {
  const gs::TParsedArgs parsed = gs::ParseArgs(args);
  QStringList rest = parsed.positional;
  for (const auto& [name, value] : parsed.options) rest << name;  // switches such as --select
  gs::TShell shell({parsed.home, QCoreApplication::applicationDirPath(),
                    QFileInfo(QCoreApplication::applicationFilePath()).fileName(), true});
  gs::TSingleInstance instance(shell.Folders().programDir);
  if (instance.ForwardToRunning(rest)) return gs::exitOk;
  instance.Listen();
  if (shell.ProcessCommandLine(rest)) return gs::exitOk;
  // The main window does not exist yet: say what the program can do instead.
  err << "glossmith: the main window is not available in this build; see glossmith --help\n";
  return gs::exitUsage;
}

} // namespace

int main(int argc, char** argv) {
  gs::TuneAllocator();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Glossmith"));
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();

  QTextStream out(stdout);
  QTextStream err(stderr);
  gs::CreateStdOptions();
  gs::CreateStdFuncs();
  std::optional<int> status = gs::RunHeadless(args, out, err);
  if (!status) status = RunShell(args, err);
  gs::FreeStdFuncs();
  gs::FreeStdOptions();
  return *status;
}
