#include "shell/Commands.h"

#include "documents/DocTextBuild.h"
#include "documents/DocTextDump.h"
#include "formats/Info.h"
#include "formats/InfoJson.h"
#include "model/DicTextForm.h"
#include "platform/JsonWriter.h"
#include "platform/Paths.h"
#include "platform/TextDecode.h"
#include "shell/FileMessages.h"
#include "shell/GenerateCommand.h"
#include "shell/Session.h"
#include "shell/SessionDump.h"
#include "shell/PackageCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gs {
namespace {

// Options that take a value.
const char16_t* const kValueOptions[] = {u"--home", u"-o",       u"--output", u"-n",      u"--count",  u"--seed",
                                         u"-p",     u"--param", u"--timeout", u"--tries", u"--format",
                                         u"--list", u"--session"};

bool TakesValue(QStringView name) {
  for (const char16_t* o : kValueOptions)
    if (name == QStringView(o)) return true;
  return false;
}

// The switches of the program's own command-line jobs.
const char16_t* const kProgramSwitches[] = {u"--install", u"--uninstall", u"--register", u"--select", u"--pack", u"--silent"};

bool IsProgramSwitch(QStringView name) {
  for (const char16_t* s : kProgramSwitches)
    if (name == QStringView(s)) return true;
  return false;
}

QString PlainLines(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

int FileError(const std::exception& e, const QString& fileName, QTextStream& err) {
  err << PlainLines(FileErrorText(e, fileName, TFileErrorContext::Opening)) << "\n";
  return exitFileError;
}

// Sessions and installers, by their extension. A session is read as the program reads it:
// what comes before damage.
int DumpPackedFile(const QString& fileName, TFileType type, QTextStream& out, QTextStream& err) {
  if (!QFileInfo(fileName).isFile()) return FileError(EWrongFileName(fileName), fileName, err);
  if (type == ftSession) {
    TSession session;
    session.LoadFromFile(fileName);
    out << DumpSession(session);
    return exitOk;
  }
  try {
    TInsFile installer(fileName);
    out << DumpInstaller(installer);
  } catch (const std::exception& e) {
    return FileError(e, fileName, err);
  }
  return exitOk;
}

const char kUsage[] =
    "Usage: glossmith [--home DIR] [FILE...]\n"
    "       glossmith --select DICTIONARY|LIST...\n"
    "       glossmith --version\n"
    "       glossmith info FILE\n"
    "       glossmith dump FILE.qdx|FILE.qcu|FILE.qpc|FILE.qgs|FILE.qpi\n"
    "       glossmith build FILE.json [-o FILE]\n"
    "       glossmith pack DOCUMENT INSTALLER.qpi\n"
    "       glossmith install INSTALLER.qpi...\n"
    "       glossmith --install|--uninstall|--register|--pack [--silent] FILE...\n"
    "       glossmith generate DICTIONARY [-n COUNT] [--seed N] [-p NAME=VALUE]... [--timeout MS]\n"
    "                          [--tries N] [--format text|tsv|json] [--parse] [--list FILE]\n"
    "                          [--session FILE] [--append] [--unique] [--summary]\n";

// Subcommands and how many file names each takes.
struct TCommand {
  const char16_t* name;
  int files;
};
// -1: one file or more.
const TCommand kCommands[] = {{u"info", 1}, {u"dump", 1}, {u"build", 1}, {u"generate", 1}, {u"pack", 2}, {u"install", -1}};

} // namespace

bool TParsedArgs::Has(QStringView name) const {
  for (const auto& o : options)
    if (o.first == name) return true;
  return false;
}

QString TParsedArgs::Value(QStringView name, const QString& fallback) const {
  QString value = fallback;
  for (const auto& o : options)
    if (o.first == name) value = o.second;
  return value;
}

QString ProgramVersionText() {
  return QStringLiteral("Glossmith " GLOSSMITH_VERSION);
}

TParsedArgs ParseArgs(const QStringList& args) {
  TParsedArgs parsed;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const bool looksLikeOption = a.size() > 1 && (a.startsWith(u'-') || a.startsWith(u'/'));
    // A leading "/" is a switch only when it names no path.
    const bool path = a.startsWith(u'/') && (QFileInfo::exists(a) || a.count(u'/') > 1);
    if (optionsEnded || !looksLikeOption || path) {
      parsed.positional.append(a);
      continue;
    }
    if (a == u"--") {
      optionsEnded = true;
      continue;
    }
    QString name = a, value;
    bool hasValue = false;
    if (const qsizetype eq = a.indexOf(u'='); eq > 0) {
      name = a.left(eq);
      value = a.mid(eq + 1);
      hasValue = true;
    }
    if (name.startsWith(u'/')) name = QStringLiteral("--") + name.mid(1);
    if (name.startsWith(u"--")) name = name.toLower();
    if (TakesValue(name) && !hasValue) {
      if (i + 1 >= args.size()) {
        parsed.error = name + QStringLiteral(" needs a value");
        return parsed;
      }
      value = args[++i];
    }
    if (name == u"--home") parsed.home = QDir(value).absolutePath();
    else parsed.options.emplace_back(name, value);
  }
  return parsed;
}

std::optional<int> RunHeadless(const QStringList& args, QTextStream& out, QTextStream& err) {
  const TParsedArgs parsed = ParseArgs(args);
  if (!parsed.error.isEmpty()) {
    err << "glossmith: " << parsed.error << "\n" << kUsage;
    return exitUsage;
  }
  if (parsed.Has(u"--version")) {
    out << ProgramVersionText() << "\n";
    return exitOk;
  }
  if (parsed.Has(u"--help") || parsed.Has(u"-h")) {
    out << kUsage;
    return exitOk;
  }
  const QString command = parsed.positional.isEmpty() ? QString() : parsed.positional.front();
  for (const TCommand& c : kCommands) {
    if (command != QStringView(c.name)) continue;
    if (c.files >= 0 ? parsed.positional.size() != 1 + c.files : parsed.positional.size() < 2) {
      err << kUsage;
      return exitUsage;
    }
    if (command == u"generate") return RunGenerate(parsed, out, err);
    if (command == u"pack" && parsed.options.empty()) return RunPack(parsed, out, err);
    if (command == u"install" && parsed.options.empty()) return RunInstall(parsed, out, err);
    for (const auto& [name, value] : parsed.options) {
      if (command == u"build" && (name == u"-o" || name == u"--output")) continue;
      err << "glossmith: unknown option " << name << " for " << command << "\n" << kUsage;
      return exitUsage;
    }
    const QString file = parsed.positional[1];
    if (command == u"info") return RunInfo(file, out, err);
    if (command == u"dump") return RunDump(file, out, err);
    return RunBuild(file, parsed.Value(u"-o", parsed.Value(u"--output", ChangeFileExt(file, QStringLiteral(".qdx")))), out, err);
  }
  for (const auto& [name, value] : parsed.options) {
    if (IsProgramSwitch(name)) continue;
    err << "glossmith: unknown option " << name << "\n" << kUsage;
    return exitUsage;
  }
  return std::nullopt;
}

int RunInfo(const QString& fileName, QTextStream& out, QTextStream& err) {
  // The library's reader: every kind and version shows its header.
  TInfo info(true);
  try {
    info.LoadHeader(fileName);
  } catch (const std::exception& e) {
    return FileError(e, fileName, err);
  }
  TJsonWriter json;
  json.BeginObject();
  json.Key(u"signature");
  json.String(SignatureText(info.Signature()));
  json.Key(u"formatVersion");
  json.Integer(info.FormatVersion());
  json.Key(u"version");
  json.String(info.Version().ToString());
  WriteInfoJson(json, info, QString());
  json.EndObject();
  out << json.Text() << "\n";
  return exitOk;
}

int RunDump(const QString& fileName, QTextStream& out, QTextStream& err) {
  const QString absolute = QFileInfo(fileName).absoluteFilePath();
  const QString folder = ExtractFileDir(absolute);
  // Collections and containers by their signature; anything else is read as a dictionary, so
  // that a file of no known kind gets the dictionary's message.
  const TFileType type = FileTypeOf(absolute);
  if (type == ftSession || type == ftInstaller) return DumpPackedFile(absolute, type, out, err);
  const TFileType kind = FileKindOf(absolute);
  std::unique_ptr<TFile> doc = CreateDocument(kind == ftNone ? ftDictionary : kind);
  try {
    doc->LoadFromFile(absolute);
  } catch (const std::exception& e) {
    return FileError(e, absolute, err);
  }
  if (auto* col = dynamic_cast<TColFile*>(doc.get())) out << DumpCollection(*col, folder);
  else if (auto* con = dynamic_cast<TConFile*>(doc.get())) out << DumpContainer(*con, folder);
  else out << DumpDictionary(static_cast<TDicFile&>(*doc), folder);
  return exitOk;
}

int RunBuild(const QString& jsonName, const QString& outName, QTextStream& out, QTextStream& err) {
  const QString json = QFileInfo(jsonName).absoluteFilePath();
  const QString target = QFileInfo(outName).absoluteFilePath();
  QFile file(json);
  if (!QFileInfo(json).isFile()) return FileError(EWrongFileName(json), json, err);
  if (!file.open(QIODevice::ReadOnly)) return FileError(EFileAccess(json, false), json, err);
  try {
    const TJsonValue document = ParseJson(DecodeText(file.readAll()).text);
    const TJsonValue* type = document.IsObject() ? document.Find(u"type") : nullptr;
    const QString kind = type && type->IsString() ? type->String() : QString();
    if (kind == u"collection") {
      TColFile col;
      BuildCollection(document, ExtractFileDir(json), col);
      col.SaveToFile(target);
    } else if (kind == u"container") {
      TConFile con;
      BuildContainer(document, ExtractFileDir(json), con);
      con.SaveToFile(target);
    } else {
      TDicFile dic;
      BuildDictionary(document, ExtractFileDir(json), dic);
      dic.SaveToFile(target);
    }
  } catch (const EJsonSyntax& e) {
    err << ExtractFileName(json) << ":" << e.Line() << ":" << e.Column() << ": " << e.Message() << "\n";
    return exitFileError;
  } catch (const ETextForm& e) {
    err << ExtractFileName(json) << ": " << e.Text() << "\n";
    return exitFileError;
  } catch (const std::exception& e) {
    return FileError(e, target, err);
  }
  Q_UNUSED(out);
  return exitOk;
}

} // namespace gs
