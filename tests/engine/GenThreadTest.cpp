#include "engine/EngineTestSupport.h"
#include "engine/GenThread.h"
#include "shell/Session.h"

#include <QEventLoop>
#include <QTimer>

using namespace gs;

namespace {

const char* kAlways = R"({"nodes": [{"request": "Line", "children": [{"kind": "answer", "value": "x"}]}]})";

const char* kNever = R"({"nodes": [{"request": "Word", "children": [{"kind": "order", "order": "Loop", "children": [
    {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]}]}]})";

// The line's text is no integer: every try fails with a conversion error.
const char* kFailing = R"({"nodes": [{"request": "Word Count", "children": [{"kind": "answer", "value": {"call": "Line"}}]}]})";

const char* kEcho = R"({"variables": [{"name": "String"}],
    "nodes": [{"request": "Line", "children": [{"kind": "answer", "value": {"call": "Concat", "args": {
      "String1": "<", "String2": {"call": "Variable", "args": {"Ident": "String"}}}}}]}]})";

// Three possible lines.
const char* kThree = R"({"nodes": [{"request": "Line", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "a"}, {"kind": "answer", "value": "B"}, {"kind": "answer", "value": "c"}]}]}]})";

class GenThread : public TEngineTest {
protected:
  void SetUp() override {
    m_generator.Timeout = 100;
    m_session.SetTimeoutSource([this] { return m_generator.Timeout; });
  }

  TJobInputs Inputs(const char* json, quint32 count, quint32 tries = 5) {
    m_generator.SetFileName(Dictionary(json));
    TJobInputs in;
    in.count = count;
    in.tryCount = [tries] { return tries; };
    in.storedValues = [this](TNameValues& list) {
      for (const auto& e : m_stored.Entries()) list.SetValue(e.name, e.value);
    };
    return in;
  }

  // Runs a job to its end; onError answers each report (the default continues).
  void Run(TJobInputs inputs, bool append = false, std::function<void(TGenThread&)> onError = {}) {
    TGenThread job(m_generator, m_session, std::move(inputs), append);
    QEventLoop loop;
    job.OnError = [&](TGenThread& t, const std::exception&) {
      ++m_reports;
      if (onError) onError(t);
    };
    job.OnTerminate = [&](TGenThread&) { loop.quit(); };
    job.Start();
    loop.exec();
    job.wait();
    m_duplicateLines = job.DuplicateLines();
    m_stoppedForDuplicates = job.StoppedForDuplicates();
  }

  QStringList Texts() const {
    QStringList texts;
    for (int i = 0; i < m_session.Results().Count(); ++i) texts << m_session.Results().Line(i).Text();
    return texts;
  }

  TGenerator m_generator;
  TSession m_session;
  TNameValues m_stored;
  int m_reports = 0;
  quint32 m_duplicateLines = 0;
  bool m_stoppedForDuplicates = false;
};

} // namespace

TEST_F(GenThread, CountsAndAppend) {
  Run(Inputs(kAlways, 5));
  TSessionStats s = m_session.Stats();
  EXPECT_EQ(s.Processed, 5u);
  EXPECT_EQ(s.Amount, 5u);
  EXPECT_EQ(s.Attempt, 1u);
  EXPECT_EQ(s.Failed(m_session.ResultCount()), 0u);
  EXPECT_EQ(Texts(), QStringList(5, QStringLiteral("x")));
  EXPECT_TRUE(m_generator.Idle());
  const TDateTime firstSpan = s.LastEnd - s.RunStart;

  Run(Inputs(kAlways, 3), /*append=*/true);
  s = m_session.Stats();
  EXPECT_EQ(s.Amount, 8u);
  EXPECT_EQ(s.Processed, 8u);
  EXPECT_EQ(m_session.ResultCount(), 8);
  EXPECT_DOUBLE_EQ(s.PriorElapsed, firstSpan);  // the first job's time counts on
  EXPECT_GE(s.Elapsed(), firstSpan);

  Run(Inputs(kAlways, 2));  // a new run empties the session
  EXPECT_EQ(m_session.Stats().Amount, 2u);
  EXPECT_EQ(m_session.ResultCount(), 2);
  EXPECT_EQ(m_session.Stats().PriorElapsed, 0.0);
  // The results carry the dictionary's header.
  EXPECT_EQ(m_session.Results().Info().Guid(), m_generator.Dictionary()->Info().Guid());
}

TEST_F(GenThread, TimedOutTriesFailTheLine) {
  Run(Inputs(kNever, 2, /*tries=*/2));
  const TSessionStats s = m_session.Stats();
  EXPECT_EQ(s.Processed, 2u);
  EXPECT_EQ(m_session.ResultCount(), 0);
  EXPECT_EQ(s.Failed(0), 2u);
  EXPECT_EQ(s.MaxAttempt, 2u);
  EXPECT_GE(s.MaxLineMs, 190u);  // two tries of 100 ms
  EXPECT_EQ(m_reports, 0);       // a stop is silent
  EXPECT_TRUE(m_generator.Idle());
}

TEST_F(GenThread, ErrorsAreReportedPerTryAndTheJobGoesOn) {
  Run(Inputs(kFailing, 2, /*tries=*/3));
  EXPECT_EQ(m_reports, 6);
  EXPECT_EQ(m_session.Stats().Processed, 2u);
  EXPECT_EQ(m_session.ResultCount(), 0);
  EXPECT_TRUE(m_generator.Idle());  // Continue after the last try ends the job; a new one can start
  Run(Inputs(kAlways, 1));
  EXPECT_EQ(m_session.ResultCount(), 1);
}

TEST_F(GenThread, PauseDuringAReportIsDowntime) {
  Run(Inputs(kFailing, 1, 1), false, [](TGenThread& t) {
    t.Pause();
    QThread::msleep(60);
    t.Resume();
  });
  const TSessionStats s = m_session.Stats();
  EXPECT_GE(DaysToMs(s.Downtime), 55u);
  EXPECT_GE(s.LinePause, s.Downtime);
  EXPECT_LT(DaysToMs(s.GenerationTime), DaysToMs(s.Downtime));  // the pause is not generation time
}

TEST_F(GenThread, TerminateDuringTheFirstLineCountsNothing) {
  m_generator.Timeout = 60000;
  TGenThread job(m_generator, m_session, Inputs(kNever, 3, 1000), false);
  QEventLoop loop;
  job.OnTerminate = [&](TGenThread&) { loop.quit(); };
  job.Start();
  QTimer::singleShot(50, [&] { job.Terminate(); });
  loop.exec();
  job.wait();
  EXPECT_EQ(m_session.Stats().Processed, 0u);
  EXPECT_EQ(m_session.ResultCount(), 0);
  EXPECT_TRUE(m_generator.Idle());
}

TEST_F(GenThread, ListMode) {
  TJobInputs in = Inputs(kEcho, 25);
  for (int i = 1; i <= 10; ++i) in.list << QStringLiteral("w%1").arg(i);
  in.listLoaded = true;
  Run(in);
  QStringList expected;
  for (int i = 1; i <= 10; ++i) expected << QStringLiteral("<w%1").arg(i);
  EXPECT_EQ(Texts(), expected);  // the count is the list's, in its order
  EXPECT_EQ(m_session.Stats().ListMode, 1);

  m_stored.SetValue(QStringLiteral("String"), QStringLiteral("given"));
  Run(in);
  EXPECT_EQ(Texts(), QStringList{QStringLiteral("<given")});
}

TEST_F(GenThread, UniqueKeepsOnlyNewTexts) {
  TJobInputs in = Inputs(kThree, 10, /*tries=*/400);
  in.unique = true;
  RandomSeed(5);
  Run(in);
  QStringList texts = Texts();
  texts.sort(Qt::CaseInsensitive);
  EXPECT_EQ(texts, (QStringList{"a", "B", "c"}));
  // From line 4 every try repeats: such lines fail, and the job gives up after 1,000 tries in a
  // row that were duplicates (lines 4 to 6).
  const TSessionStats s = m_session.Stats();
  EXPECT_EQ(s.Failed(3), s.Processed - 3);
  EXPECT_GT(m_duplicateLines, 0u);
  EXPECT_TRUE(m_stoppedForDuplicates);
  EXPECT_EQ(s.Processed, 6u);

  // Appending knows the earlier results: nothing new can come.
  TJobInputs again = Inputs(kThree, 2, 3);
  again.unique = true;
  Run(again, true);
  EXPECT_EQ(m_session.ResultCount(), 3);
}

TEST_F(GenThread, TheUsersThreadReadsWhileTheJobWrites) {
  TGenThread job(m_generator, m_session, Inputs(kThree, 1000000, 1), false);
  QEventLoop loop;
  job.OnTerminate = [&](TGenThread&) { loop.quit(); };
  int lastCount = 0;
  bool ordered = true;
  QTimer reader;
  // As the window's refresh timer: the statistics, the results and the summary while lines come.
  QObject::connect(&reader, &QTimer::timeout, [&] {
    const auto lock = m_session.Lock();
    const TSessionStats s = m_session.Stats();
    const int count = m_session.Results().Count();
    ordered = ordered && count >= lastCount && s.Processed >= quint32(count);
    if (count > 0) (void)m_session.Results().Line(count - 1).Text();
    lastCount = count;
    if (count > 2000) job.Terminate();
  });
  reader.start(1);
  job.Start();
  loop.exec();
  job.wait();
  EXPECT_TRUE(ordered);
  EXPECT_GT(m_session.ResultCount(), 2000);
  EXPECT_LT(m_session.Stats().Processed, 1000000u);  // terminated early
  EXPECT_EQ(m_session.Stats().Processed, quint32(m_session.ResultCount()));
  EXPECT_TRUE(m_generator.Idle());
}

// With a revision the job reads the stored values only when it has moved.
TEST_F(GenThread, StoredValuesAreReadAgainWhenTheirRevisionMoves) {
  TJobInputs in = Inputs(R"({"variables": [{"name": "Race", "options": {"default": "elf"}}],
      "nodes": [{"request": "Line", "children": [{"kind": "answer", "value": {"call": "Variable", "args": {"Ident": "Race"}}}]}]})", 5);
  int reads = 0, line = 0;
  quint64 revision = 7;
  in.storedValues = [&](TNameValues& list) {
    ++reads;
    if (revision > 7) list.SetValue(QStringLiteral("Race"), QStringLiteral("orc"));
  };
  in.storedRevision = [&] {
    if (++line == 3) ++revision;
    return revision;
  };
  Run(in);
  EXPECT_EQ(Texts(), (QStringList{"elf", "elf", "orc", "orc", "orc"}));
  EXPECT_EQ(reads, 2);
}

TEST_F(GenThread, StoredValuesChangedMeanwhileApplyFromTheNextLine) {
  TJobInputs in = Inputs(R"({"variables": [{"name": "Race", "options": {"default": "elf"}}],
      "nodes": [{"request": "Line", "children": [{"kind": "answer", "value": {"call": "Variable", "args": {"Ident": "Race"}}}]}]})", 4);
  int line = 0;
  in.storedValues = [&line](TNameValues& list) {
    if (++line >= 3) list.SetValue(QStringLiteral("Race"), QStringLiteral("orc"));
  };
  Run(in);
  EXPECT_EQ(Texts(), (QStringList{"elf", "elf", "orc", "orc"}));
}
