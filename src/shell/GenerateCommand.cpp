#include "shell/GenerateCommand.h"

#include "documents/DocTextDump.h"
#include "engine/EngineErrors.h"
#include "engine/ErrorReport.h"
#include "engine/Generator.h"
#include "engine/Random.h"
#include "platform/JsonWriter.h"
#include "platform/Text.h"
#include "engine/GenThread.h"
#include "engine/TextFileList.h"
#include "platform/Paths.h"
#include "shell/FileMessages.h"
#include "shell/General.h"
#include "shell/LangFrm.h"
#include "shell/SessionDump.h"
#include "shell/Summary.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <QFileInfo>

namespace gs {
namespace {

enum class TFormat { Text, Tsv, Json };

// How often the results of a running job are printed, in milliseconds.
constexpr int kPrintInterval = 20;

struct TOptions {
  int count = 25;
  std::optional<quint32> seed;
  quint32 timeout = 1000;
  int tries = 5;
  TFormat format = TFormat::Text;
  TNameValues params;
  bool parse = false;
  QString list;
  QString session;
  bool append = false;
  bool unique = false;
  bool summary = false;
};

// Reads the options over the defaults; returns an error text for a usage fault.
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
    } else if (name == u"-p" || name == u"--param") {
      const qsizetype eq = value.indexOf(u'=');
      if (eq <= 0) return QStringLiteral("--param takes NAME=VALUE");
      o.params.SetValue(value.left(eq), value.mid(eq + 1));
    } else if (name == u"--list") {
      o.list = QFileInfo(value).absoluteFilePath();
    } else if (name == u"--session") {
      o.session = QFileInfo(value).absoluteFilePath();
    } else if (name == u"--parse") {
      o.parse = true;
    } else if (name == u"--append") {
      o.append = true;
    } else if (name == u"--unique") {
      o.unique = true;
    } else if (name == u"--summary") {
      o.summary = true;
    } else {
      return QStringLiteral("unknown option ") + name + QStringLiteral(" for generate");
    }
  }
  return {};
}

QString Plain(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void PrintReport(const TErrorReport& report, QTextStream& err) {
  err << Plain(report.heading) << "\n" << Plain(report.message) << "\n";
  for (const auto& row : report.path) {
    QString line = row[0];
    for (int c = 1; c < 3; ++c)
      if (!row[c].isEmpty()) line += u' ' + row[c];
    err << "  " << Plain(line) << "\n";
  }
}

// Prints the results of the job as they come, so that printing overlaps generating. The job
// only appends lines and never changes one it added, so the new ones are picked under the
// session's lock and formatted after it is released.
class TResultPrinter {
public:
  TResultPrinter(TFormat format, int first, QTextStream& out) : m_format(format), m_next(first), m_out(out) {
    if (m_format == TFormat::Json) m_json.BeginArray();
  }

  void PrintNew(const TSession& session) {
    m_lines.clear();
    {
      const auto lock = session.Lock();
      const TColFile& results = session.Results();
      for (; m_next < results.Count(); ++m_next) m_lines.push_back(&results.Line(m_next));
    }
    for (const TColLine* line : m_lines) Format(*line);
    m_out << m_batch;
    m_batch.clear();
  }

  void Finish(const TSession& session) {
    PrintNew(session);
    if (m_format != TFormat::Json) return;
    m_json.EndArray();
    m_out << m_json.Text() << "\n";
  }

private:
  void Format(const TColLine& r) {
    switch (m_format) {
    case TFormat::Text: m_batch += r.Text(); break;
    case TFormat::Tsv:
      m_batch += r.Text() + u'\t' + IntegerText(r.Rating()) + u'\t' + r.Group() + u'\t' + (r.Checked() ? u'1' : u'0');
      break;
    case TFormat::Json: WriteLineJson(m_json, r, false); return;
    }
    m_batch += u'\n';
  }

  TFormat m_format;
  int m_next;
  QTextStream& m_out;
  std::vector<const TColLine*> m_lines;
  QString m_batch;
  TJsonWriter m_json;
};

void PrintSummary(const TSession& session, quint32 tries, QTextStream& err) {
  for (const TSummaryGroup& group : BuildSummary(session, tries)) {
    err << group.own.caption << "\n";
    for (const TSummaryRow& row : group.rows) {
      err << "  " << row.caption << ": " << row.value;
      if (!row.total.isEmpty()) err << " (remaining " << row.remaining << " of " << row.total << ")";
      err << "\n";
    }
  }
}

struct TJobOutcome {
  quint32 duplicateLines = 0;
  bool stoppedForDuplicates = false;
};

// Runs the job to its end on a thread of its own while this thread answers its calls and
// prints the results.
TJobOutcome RunJob(TShell& shell, TJobInputs inputs, bool append, TResultPrinter& printer, QTextStream& err) {
  TGenThread thread(shell.Generator(), shell.Session(), std::move(inputs), append);
  QEventLoop loop;
  QTimer printing;
  QObject::connect(&printing, &QTimer::timeout, [&] { printer.PrintNew(shell.Session()); });
  printing.start(kPrintInterval);
  thread.OnError = [&err](TGenThread&, const std::exception& e) {
    // As "Continue": the job goes on with the next try.
    const TGenerator* active = ActiveGenerator();
    if (active) PrintReport(BuildErrorReport(*active, e), err);
  };
  thread.OnTerminate = [&loop](TGenThread&) { loop.quit(); };
  thread.Start();
  loop.exec();
  thread.wait();
  return {thread.DuplicateLines(), thread.StoppedForDuplicates()};
}

} // namespace

int RunGenerate(const TParsedArgs& args, QTextStream& out, QTextStream& err) {
  TShell shell({args.home, QCoreApplication::applicationDirPath(), QFileInfo(QCoreApplication::applicationFilePath()).fileName(), true});
  TOptions o;
  o.count = shell.Fields().Count();
  o.timeout = quint32(std::max(0, shell.Settings().timeOut));
  o.tries = std::max(1, shell.Settings().tryCount);
  if (const QString fault = ReadOptions(args, o); !fault.isEmpty()) {
    err << "glossmith: " << fault << "\n";
    return exitUsage;
  }
  if (o.seed) RandomSeed(*o.seed);
  const QString file = QFileInfo(args.positional[1]).absoluteFilePath();
  TGenerator& generator = shell.Generator();
  generator.Timeout = o.timeout;
  TJobInputs inputs = shell.JobInputs(o.params, o.unique);
  try {
    generator.SetFileName(file);
    if (!o.list.isEmpty()) {
      inputs.list = TextFileList().Get(o.list).Lines();
      inputs.listLoaded = true;
      inputs.listFile = o.list;
    }
  } catch (const std::exception& e) {
    err << Plain(FileErrorText(e, o.list.isEmpty() || generator.DicFile() != file ? file : o.list, TFileErrorContext::Opening)) << "\n";
    return exitFileError;
  }
  shell.DicIniFile().SetDictionary(file);
  inputs.count = quint32(o.count);
  inputs.tryCount = [tries = quint32(o.tries)] { return tries; };
  inputs.assignMaster = [&generator] {
    generator.Reload();  // picks up a changed file; a failure ends the job
    return generator.Dictionary() != nullptr;
  };

  // The job clears a session it does not append to when it starts; clearing it first keeps the
  // printer, which may look before the job starts, from taking the old lines for new ones.
  if (!o.append) shell.Session().Clear();
  const int before = o.append ? shell.Session().ResultCount() : 0;
  const quint32 processedBefore = o.append ? shell.Session().Stats().Processed : 0;
  TResultPrinter printer(o.format, before, out);
  const TJobOutcome outcome = RunJob(shell, std::move(inputs), o.append, printer, err);

  const TSession& session = shell.Session();
  printer.Finish(session);
  const auto lock = session.Lock();
  const TColFile& results = session.Results();
  if (o.parse) {
    TJsonWriter parse;
    WriteParseJson(parse, session.SessionParse());
    err << parse.Text() << "\n";
  }
  if (o.summary) PrintSummary(session, quint32(o.tries), err);
  if (!o.session.isEmpty() && !session.SaveToFile(o.session)) {
    err << Plain(FormatLang(LangMessage(msgFileWriteLocked), {ExtractFileName(o.session)})) << "\n";
    return exitFileError;
  }
  const int produced = results.Count() - before;
  const quint32 finished = session.Stats().Processed - processedBefore;
  const quint32 failed = finished - quint32(produced);
  const quint32 lostToDuplicates = std::min(failed, outcome.duplicateLines);
  if (o.unique && produced < o.count && (lostToDuplicates > 0 || outcome.stoppedForDuplicates))
    err << "only " << produced << " distinct lines could be generated\n";
  return failed > lostToDuplicates ? exitPartial : exitOk;
}

} // namespace gs
