#include "engine/GenThread.h"

#include "documents/ColFiles.h"
#include "engine/Generator.h"
#include "shell/Session.h"

#include <QSet>

namespace gs {

// The case-folded texts of the session's results, for unique jobs.
class TGenThread::TDuplicates {
public:
  TDuplicates(bool active, const TSession& session) : m_active(active) {
    if (!active) return;
    const auto lock = session.Lock();
    const TColFile& results = session.Results();
    m_seen.reserve(results.Count());
    for (int i = 0; i < results.Count(); ++i) m_seen.insert(results.Line(i).Text().toCaseFolded());
  }
  // True when text was produced before; otherwise it is remembered.
  bool Seen(const QString& text) {
    if (!m_active) return false;
    const QString folded = text.toCaseFolded();
    if (m_seen.contains(folded)) return true;
    m_seen.insert(folded);
    return false;
  }

private:
  bool m_active;
  QSet<QString> m_seen;
};

namespace {

// Deep dictionaries nest the walk up to its depth limit; sanitizers enlarge every frame.
constexpr uint kJobStackSize = 256u * 1024 * 1024;

} // namespace

TGenThread::TGenThread(TGenerator& generator, TSession& session, TJobInputs inputs, bool append)
    : m_generator(generator), m_session(session), m_inputs(std::move(inputs)), m_append(append) {
  setStackSize(kJobStackSize);
}

TGenThread::~TGenThread() {
  Terminate();
  wait();
}

void TGenThread::Start() {
  QObject::connect(this, &QThread::finished, this, [this] {
    if (OnTerminate) OnTerminate(*this);
  });
  start();
}

void TGenThread::Terminate() {
  m_terminate.store(true, std::memory_order_release);
  m_generator.Stop();
  std::lock_guard lock(m_pauseMutex);
  m_pauseChanged.notify_all();
}

void TGenThread::Pause() {
  std::lock_guard lock(m_pauseMutex);
  if (m_paused.load(std::memory_order_relaxed)) return;
  m_paused.store(true, std::memory_order_release);
  m_pausedAt = Now();
}

void TGenThread::Resume() {
  TDateTime pause = 0;
  {
    std::lock_guard lock(m_pauseMutex);
    if (m_pausedAt > 0) pause = Now() - m_pausedAt;
    m_pausedAt = 0;
    m_paused.store(false, std::memory_order_release);
    m_pauseChanged.notify_all();
  }
  if (pause > 0)
    m_session.UpdateStats([pause](TSessionStats& s) {
      s.LinePause += pause;
      s.Downtime += pause;
    });
}

TDateTime TGenThread::PausedAt() const {
  std::lock_guard lock(m_pauseMutex);
  return m_pausedAt;
}

bool TGenThread::WaitWhilePaused() {
  // A pause asked for meanwhile holds the job at the next boundary.
  if (!m_paused.load(std::memory_order_acquire)) return false;
  std::unique_lock lock(m_pauseMutex);
  m_pauseChanged.wait(lock, [this] { return !m_paused.load(std::memory_order_acquire) || TerminateRequested(); });
  return true;
}

void TGenThread::run() {
  try {
    RunJob();
  } catch (const std::exception&) {
    // Failures outside a try end the job; what was produced stays in the session.
  }
  m_generator.OnStop = nullptr;
  m_generator.Stop();  // idle again, so that a new job can start
}

quint32 TGenThread::DecideMode(QString& listString) {
  const TVariables& variables = m_generator.Dictionary()->Info().Variables();
  const bool listMode = variables.IndexOf(u"String") >= 0;
  m_session.UpdateStats([listMode](TSessionStats& s) { s.ListMode = listMode ? 1 : 0; });
  if (!listMode) return m_inputs.count;
  TNameValues stored;
  if (m_inputs.storedValues) m_inputs.storedValues(stored);
  const int at = stored.IndexOfName(u"String");
  listString = at >= 0 ? stored[at].value : variables.DefaultOf(u"String");
  if (listString.isEmpty() && m_inputs.listLoaded) return quint32(m_inputs.list.size());
  return 1;
}

void TGenThread::RunJob() {
  if (!m_append) m_session.Clear();
  // Assigning may show messages and touches the recent lists: it runs on the starting thread.
  bool assigned = true;
  if (m_inputs.assignMaster)
    QMetaObject::invokeMethod(this, [this, &assigned] { assigned = m_inputs.assignMaster(); }, Qt::BlockingQueuedConnection);
  if (!assigned) return;
  if (!m_generator.Dictionary()) return;
  QString listString;
  const quint32 count = DecideMode(listString);
  const bool fromList = m_session.Stats().ListMode && listString.isEmpty() && m_inputs.listLoaded;
  {
    const auto lock = m_session.Lock();
    m_session.Results().Info().Assign(m_generator.Dictionary()->Info());
  }
  m_session.UpdateStats([count](TSessionStats& s) {
    s.Amount = count + s.Processed;
    s.PriorElapsed += s.LastEnd - s.RunStart;
  });

  TNameValues base;
  m_generator.Dictionary()->Info().Variables().FillDefaults(base);
  m_generator.OnStop = [this](TGenerator&) { m_failed.store(true, std::memory_order_release); };
  {
    std::lock_guard lock(m_pauseMutex);
    m_pausedAt = 0;
  }
  TDuplicates duplicates(m_inputs.unique, m_session);
  for (quint32 i = 1; i <= count && !TerminateRequested(); ++i) {
    if (WaitWhilePaused()) m_lineEnd = 0;
    if (TerminateRequested()) break;
    GenerateLine(i, base, fromList, duplicates);
    if (m_stoppedForDuplicates) break;
  }
  {
    const auto lock = m_session.Lock();
    m_session.SessionParse().ComputeAll();
  }
}

void TGenThread::GenerateLine(quint32 index, const TNameValues& base, bool fromList, TDuplicates& duplicates) {
  // The stored values are read again when they may have changed (the revision is read first:
  // a change meanwhile moves it again); the list is built again only when they did change.
  const quint64 revision = m_inputs.storedRevision ? m_inputs.storedRevision() : 0;
  if (!m_parametersBuilt || !m_inputs.storedRevision || revision != m_storedRevision) {
    m_storedRevision = revision;
    TNameValues stored;
    if (m_inputs.storedValues) m_inputs.storedValues(stored);
    if (!m_parametersBuilt || !(stored == m_stored)) {
      m_parameters = base;
      for (const auto& entry : stored.Entries()) m_parameters.SetValue(entry.name, entry.value);
      if (stored.IndexOfName(u"ListFile") < 0) m_parameters.SetValue(QStringLiteral("ListFile"), m_inputs.listFile);
      m_stored = std::move(stored);
      m_parametersBuilt = true;
    }
  }
  if (fromList) m_parameters.SetValue(QStringLiteral("String"), m_inputs.list[index - 1]);
  const TNameValues& parameters = m_parameters;

  // Lines that follow one another without a pause share one clock reading: the end of one is
  // the start of the next.
  const TDateTime start = m_lineEnd > 0 ? m_lineEnd : Now();
  m_session.BeginLine(start, index == 1);
  TLineResult result;
  TTry outcome = TTry::Failed;
  const quint32 tries = std::max<quint32>(1, m_inputs.tryCount ? m_inputs.tryCount() : 1);
  for (quint32 k = 1; k <= tries; ++k) {
    if (k > 1) m_session.SetAttempt(k);  // BeginLine recorded the first
    outcome = RunTry(parameters, result, duplicates);
    if (TerminateRequested() || outcome == TTry::Produced || m_stoppedForDuplicates) break;
  }
  const TDateTime end = Now();
  m_lineEnd = end;
  if (TerminateRequested()) return;
  if (outcome == TTry::Duplicate) ++m_duplicateLines;
  std::unique_ptr<TColLine> line;
  if (outcome == TTry::Produced)
    line = std::make_unique<TColLine>(std::move(result.text), result.rating, std::move(result.group), result.checked, end);
  m_session.AddResult(std::move(line), m_generator.LineParse, start, end, m_generator.Timeout);
}

TGenThread::TTry TGenThread::RunTry(const TNameValues& parameters, TLineResult& result, TDuplicates& duplicates) {
  m_failed.store(false, std::memory_order_release);
  try {
    m_generator.Generate(parameters, result);
  } catch (const std::exception& error) {
    m_failed.store(true, std::memory_order_release);
    if (!m_generator.Idle()) ReportError(error);
    return TTry::Failed;
  }
  if (Failed()) return TTry::Failed;
  if (!duplicates.Seen(result.text)) {
    m_duplicateRun = 0;
    return TTry::Produced;
  }
  if (++m_duplicateRun >= kMaxDuplicateRun) m_stoppedForDuplicates = true;
  return TTry::Duplicate;
}

void TGenThread::ReportError(const std::exception& error) {
  m_lastErrorObject = &error;
  if (OnError) QMetaObject::invokeMethod(this, [this, &error] { OnError(*this, error); }, Qt::BlockingQueuedConnection);
  m_lastErrorObject = nullptr;
  // The report leaves the generator inside the failed line; idle it for the next try.
  m_generator.Stop();
  m_failed.store(true, std::memory_order_release);
  WaitWhilePaused();
}

} // namespace gs
