#include "shell/GenerateCommand.h"

#include "engine/ErrorReport.h"
#include "engine/Generator.h"
#include "engine/Random.h"
#include "platform/JsonWriter.h"
#include "platform/Text.h"
#include "shell/FileMessages.h"

#include <QFileInfo>

namespace gs {
namespace {

enum class TFormat { Text, Tsv, Json };

struct TOptions {
  int count = 25;
  std::optional<quint32> seed;
  quint32 timeout = 1000;
  int tries = 5;
  TFormat format = TFormat::Text;
  std::vector<std::pair<QString, QString>> params;
  bool parse = false;
};

// Reads the options; returns an error text for a usage fault.
QString ReadOptions(const TParsedArgs& args, TOptions& o) {
  const auto number = [](const QString& text, qint64 low, qint64 high, qint64& value) {
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
  };
  for (const auto& [name, value] : args.options) {
    qint64 n = 0;
    if (name == u"-n" || name == u"--count") {
      if (!number(value, 0, INT32_MAX, n)) return QStringLiteral("--count takes a whole number from 0");
      o.count = int(n);
    } else if (name == u"--seed") {
      if (!number(value, 0, 0xFFFFFFFFLL, n)) return QStringLiteral("--seed takes a whole number from 0 to 4294967295");
      o.seed = quint32(n);
    } else if (name == u"--timeout") {
      if (!number(value, 0, 0xFFFFFFFFLL, n)) return QStringLiteral("--timeout takes milliseconds");
      o.timeout = quint32(n);
    } else if (name == u"--tries") {
      if (!number(value, 1, INT32_MAX, n)) return QStringLiteral("--tries takes a whole number from 1");
      o.tries = int(n);
    } else if (name == u"--format") {
      if (value == u"text") o.format = TFormat::Text;
      else if (value == u"tsv") o.format = TFormat::Tsv;
      else if (value == u"json") o.format = TFormat::Json;
      else return QStringLiteral("--format is text, tsv or json");
    } else if (name == u"--parse") {
      o.parse = true;
    } else if (name == u"-p" || name == u"--param") {
      const qsizetype eq = value.indexOf(u'=');
      if (eq <= 0) return QStringLiteral("--param takes NAME=VALUE");
      o.params.emplace_back(value.left(eq), value.mid(eq + 1));
    } else {
      return QStringLiteral("unknown option ") + name + QStringLiteral(" for generate");
    }
  }
  return {};
}

void PrintReport(const TErrorReport& report, QTextStream& err) {
  const auto plain = [](QString t) { return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); };
  err << plain(report.heading) << "\n" << plain(report.message) << "\n";
  for (const auto& row : report.path) {
    QString line = row[0];
    for (int c = 1; c < 3; ++c)
      if (!row[c].isEmpty()) line += u' ' + row[c];
    err << "  " << plain(line) << "\n";
  }
}

void PrintLine(const TLineResult& r, TFormat format, TJsonWriter& json, QTextStream& out) {
  switch (format) {
  case TFormat::Text: out << r.text << "\n"; break;
  case TFormat::Tsv: out << r.text << '\t' << r.rating << '\t' << r.group << '\t' << (r.checked ? 1 : 0) << "\n"; break;
  case TFormat::Json:
    json.BeginObject();
    json.Key(u"text");
    json.String(r.text);
    json.Key(u"rating");
    json.Integer(r.rating);
    json.Key(u"group");
    json.String(r.group);
    json.Key(u"checked");
    json.Bool(r.checked);
    json.EndObject();
    break;
  }
}

// The merged parse of the run: groups in order, each with its elements.
QString ParseJson(TParse& parse) {
  parse.ComputeAll();
  TJsonWriter json;
  json.BeginArray();
  for (int g = 0; g < parse.GroupCount(); ++g) {
    const TParseGroup& group = parse.Group(g);
    json.BeginObject();
    json.Key(u"group");
    json.String(group.GroupName());
    json.Key(u"total");
    json.Integer(group.Total());
    json.Key(u"elements");
    json.BeginArray();
    for (int i = 0; i < group.Count(); ++i) {
      const TParseItem& item = group.Item(i);
      json.BeginObject();
      json.Key(u"element");
      json.String(item.Element);
      json.Key(u"count");
      json.Integer(item.Count);
      json.Key(u"percent");
      json.Number(item.Percent);
      json.Key(u"ratio");
      json.Number(item.Ratio);
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  return json.Text();
}

} // namespace

int RunGenerate(const TParsedArgs& args, QTextStream& out, QTextStream& err) {
  TOptions o;
  if (const QString fault = ReadOptions(args, o); !fault.isEmpty()) {
    err << "glossmith: " << fault << "\n";
    return exitUsage;
  }
  if (o.seed) RandomSeed(*o.seed);
  const QString file = QFileInfo(args.positional[1]).absoluteFilePath();
  TGenerator generator;
  generator.Timeout = o.timeout;
  try {
    generator.SetFileName(file);
  } catch (const std::exception& e) {
    err << FileErrorText(e, file, TFileErrorContext::Opening).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << "\n";
    return exitFileError;
  }
  bool stopped = false;
  generator.OnStop = [&](TGenerator&) { stopped = true; };

  TNameValues parameters;
  generator.Dictionary()->Info().Variables().FillDefaults(parameters);
  for (const auto& [name, value] : o.params) parameters.SetValue(name, value);

  TParse runParse;
  TJsonWriter json;
  if (o.format == TFormat::Json) json.BeginArray();
  bool allProduced = true;
  for (int line = 0; line < o.count; ++line) {
    bool produced = false;
    for (int attempt = 0; attempt < o.tries && !produced; ++attempt) {
      TLineResult result;
      stopped = false;
      try {
        generator.Generate(parameters, result);
        produced = !stopped;
      } catch (const std::exception& e) {
        const TGenerator* active = ActiveGenerator();
        PrintReport(BuildErrorReport(active ? *active : generator, e), err);
        generator.Stop();
      }
      if (!produced) continue;
      PrintLine(result, o.format, json, out);
      runParse.Merge(generator.LineParse);
    }
    allProduced = allProduced && produced;
  }
  if (o.format == TFormat::Json) {
    json.EndArray();
    out << json.Text() << "\n";
  }
  if (o.parse) err << ParseJson(runParse) << "\n";
  return allProduced ? exitOk : exitPartial;
}

} // namespace gs
