// The headless jobs of the command line. main() hands the arguments here first; what is not
// a headless job is left to the windows.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <utility>
#include <vector>

namespace gs {

// Exit statuses of the headless jobs.
enum TExitStatus { exitOk = 0, exitPartial = 1, exitUsage = 2, exitFileError = 3 };

struct TParsedArgs {
  QStringList positional;                             // everything that is not an option
  std::vector<std::pair<QString, QString>> options;  // names ("--version", "-o") with values
  QString home;                                       // --home DIR
  QString error;                                      // a usage fault

  bool Has(QStringView name) const;
  QString Value(QStringView name, const QString& fallback = {}) const;  // the last one given
};

// Options may stand anywhere; "--" ends them; "--name=value" and "--name value" are alike
// for the options that take a value. Switches are accepted as "/Name" and "--name".
TParsedArgs ParseArgs(const QStringList& args);

// Runs a headless job and returns its exit status, or nothing when the arguments ask for
// the windows.
std::optional<int> RunHeadless(const QStringList& args, QTextStream& out, QTextStream& err);

// `glossmith info FILE`: the common header of a document (or the Info.ini metadata of any
// other file) as one JSON object.
int RunInfo(const QString& fileName, QTextStream& out, QTextStream& err);
// `glossmith dump FILE`: the text form of a document.
int RunDump(const QString& fileName, QTextStream& out, QTextStream& err);
// `glossmith build FILE.json -o FILE`: the document of a text form.
int RunBuild(const QString& jsonName, const QString& outName, QTextStream& out, QTextStream& err);

QString ProgramVersionText();

} // namespace gs
