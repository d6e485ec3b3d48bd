#include "shell/PackageCommands.h"

#include "documents/InsFiles.h"
#include "formats/Exceptions.h"
#include "platform/Paths.h"
#include "shell/FileMessages.h"
#include "shell/General.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace gs {
namespace {

TStartOptions StartOptions(const TParsedArgs& args) {
  return {args.home, QCoreApplication::applicationDirPath(), QFileInfo(QCoreApplication::applicationFilePath()).fileName(), true};
}

QString Plain(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

} // namespace

int RunPack(const TParsedArgs& args, QTextStream& out, QTextStream& err) {
  const QString main = QFileInfo(args.positional[1]).absoluteFilePath();
  const QString installer = QFileInfo(args.positional[2]).absoluteFilePath();
  if (!QFileInfo(main).isFile()) {
    err << Plain(FileErrorText(EWrongFileName(main), main, TFileErrorContext::Opening)) << "\n";
    return exitFileError;
  }
  TShell shell(StartOptions(args));
  try {
    Pack(main, installer);
    TInsFile packed(installer);
    out << "packed " << packed.FileCount() << " files into " << installer << "\n";
    return exitOk;
  } catch (const std::exception& e) {
    err << Plain(FileErrorText(e, installer, TFileErrorContext::Opening)) << "\n";
    return exitFileError;
  }
}

int RunInstall(const TParsedArgs& args, QTextStream& out, QTextStream& err) {
  TShell shell(StartOptions(args));
  int status = exitOk;
  for (qsizetype i = 1; i < args.positional.size(); ++i) {
    const QString file = QFileInfo(args.positional[i]).absoluteFilePath();
    TGuid guid{};
    try {
      const TInsFile installer(file);
      guid = installer.Info().Guid();
    } catch (const std::exception& e) {
      err << Plain(FileErrorText(e, file, TFileErrorContext::Opening)) << "\n";
      status = exitFileError;
      continue;
    }
    if (!shell.Packages().InstallFile(file, true)) {
      err << Plain(FileErrorText(EWrongStructure(0), file, TFileErrorContext::Opening)) << "\n";
      status = exitFileError;
      continue;
    }
    const TPackage* package = shell.Packages().FindByGuid(guid);
    out << "installed \"" << (package ? package->Title.DisplayText() : ExtractFileName(file)) << "\" from "
        << ExtractFileName(file) << " into " << shell.Folders().packagesDir << "\n";
  }
  return status;
}

} // namespace gs
