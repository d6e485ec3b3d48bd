#include "shell/Commands.h"

#include "formats/Info.h"
#include "platform/JsonWriter.h"
#include "shell/FileMessages.h"

#include <QDir>
#include <QFileInfo>

namespace gs {
namespace {

QString PlainLines(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void WriteLangStr(TJsonWriter& json, const TLangStr& text) {
  json.BeginObject();
  for (const TLangStr::TEntry& e : text.Entries()) {
    json.Key(QString::number(e.id));
    json.String(e.text);
  }
  json.EndObject();
}

const char kUsage[] =
    "Usage: glossmith [--home DIR] [FILE...]\n"
    "       glossmith --version\n"
    "       glossmith info FILE\n";

} // namespace

QString ProgramVersionText() {
  return QStringLiteral("Glossmith " GLOSSMITH_VERSION);
}

TParsedArgs ParseArgs(const QStringList& args) {
  TParsedArgs parsed;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (optionsEnded || a.isEmpty() || a == u"-" || (!a.startsWith(u'-') && !a.startsWith(u'/'))) {
      parsed.positional.append(a);
      continue;
    }
    // A leading "/" is a switch only when no such file exists.
    if (a.startsWith(u'/') && (QFileInfo::exists(a) || a.count(u'/') > 1)) {
      parsed.positional.append(a);
      continue;
    }
    if (a == u"--") {
      optionsEnded = true;
      continue;
    }
    QString name = a.startsWith(u"--") ? a.mid(2) : a.mid(1);
    name = QStringLiteral("--") + name.toLower();
    if (name == u"--home") {
      if (i + 1 >= args.size()) {
        parsed.error = QStringLiteral("--home needs a folder");
        return parsed;
      }
      parsed.home = QDir(args[++i]).absolutePath();
      continue;
    }
    parsed.options.append(name);
  }
  return parsed;
}

std::optional<int> RunHeadless(const QStringList& args, QTextStream& out, QTextStream& err) {
  const TParsedArgs parsed = ParseArgs(args);
  if (!parsed.error.isEmpty()) {
    err << "glossmith: " << parsed.error << "\n" << kUsage;
    return exitUsage;
  }
  if (parsed.options.contains(u"--version")) {
    out << ProgramVersionText() << "\n";
    return exitOk;
  }
  if (parsed.options.contains(u"--help")) {
    out << kUsage;
    return exitOk;
  }
  if (!parsed.positional.isEmpty() && parsed.positional.front() == u"info") {
    if (parsed.positional.size() != 2 || !parsed.options.isEmpty()) {
      err << kUsage;
      return exitUsage;
    }
    return RunInfo(parsed.positional[1], out, err);
  }
  if (!parsed.options.isEmpty()) {
    err << "glossmith: unknown option " << parsed.options.front() << "\n" << kUsage;
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
    err << PlainLines(FileErrorText(e, fileName, TFileErrorContext::Opening)) << "\n";
    return exitFileError;
  }
  TJsonWriter json;
  json.BeginObject();
  json.Key(u"signature");
  json.String(SignatureText(info.Signature()));
  json.Key(u"formatVersion");
  json.Integer(info.FormatVersion());
  json.Key(u"version");
  json.String(info.Version().ToString());
  json.Key(u"guid");
  json.String(GuidToString(info.Guid()));
  json.Key(u"icon");
  json.String(info.Icon());
  json.Key(u"title");
  WriteLangStr(json, info.Title());
  json.Key(u"hint");
  WriteLangStr(json, info.Hint());
  json.Key(u"author");
  json.String(info.Author());
  json.Key(u"url");
  json.String(info.URL());
  json.EndObject();
  out << json.Text() << "\n";
  return exitOk;
}

} // namespace gs
