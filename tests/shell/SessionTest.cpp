#include "FileSupport.h"
#include "shell/Session.h"
#include "shell/Summary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

constexpr double kMs = 1.0 / 86400000.0;

std::unique_ptr<TColLine> Line(const QString& text, bool checked = false) {
  auto line = std::make_unique<TColLine>();
  line->SetText(text);
  line->SetChecked(checked);
  return line;
}

// A session with three results in two parse groups and known statistics.
void Fill(TSession& session) {
  TParse lineParse;
  lineParse.Add(QStringLiteral("Syllable"), QStringLiteral("ka"));
  lineParse.Add(QStringLiteral("Suffix"), QStringLiteral("or"));
  session.UpdateStats([](TSessionStats& s) {
    s.Amount = 4;
    s.RunStart = 46000.5;
    s.TimeoutMs = 250;
    s.PriorElapsed = 7 * kMs;
  });
  session.SetAttempt(3);
  session.SetAttempt(1);
  TDateTime t = 46000.5;
  for (const char* text : {"Ka", "Kor", "Kai"}) {
    session.AddResult(Line(QString::fromUtf8(text), text[1] == 'o'), lineParse, t, t + 12 * kMs);
    t += 20 * kMs;
  }
  session.AddResult(nullptr, lineParse, t, t + 30 * kMs);  // a failed line
}

void ExpectSameStats(const TSessionStats& a, const TSessionStats& b) {
  EXPECT_EQ(a.ListMode, b.ListMode);
  EXPECT_EQ(a.Amount, b.Amount);
  EXPECT_EQ(a.Processed, b.Processed);
  EXPECT_EQ(a.MaxLineMs, b.MaxLineMs);
  EXPECT_EQ(a.LastLineMs, b.LastLineMs);
  EXPECT_EQ(a.TimeoutMs, b.TimeoutMs);
  EXPECT_EQ(a.GenerationTime, b.GenerationTime);
  EXPECT_EQ(a.RunStart, b.RunStart);
  EXPECT_EQ(a.LastEnd, b.LastEnd);
  EXPECT_EQ(a.Downtime, b.Downtime);
  EXPECT_EQ(a.PriorElapsed, b.PriorElapsed);
  EXPECT_EQ(a.Attempt, b.Attempt);
  EXPECT_EQ(a.MaxAttempt, b.MaxAttempt);
}

} // namespace

TEST(Session, ResultArithmeticAndDerivedFigures) {
  TSession session;
  Fill(session);
  const TSessionStats s = session.Stats();
  EXPECT_EQ(s.Processed, 4u);
  EXPECT_EQ(session.ResultCount(), 3);
  EXPECT_EQ(s.Failed(3), 1u);
  EXPECT_EQ(s.LastLineMs, 30u);
  EXPECT_EQ(s.MaxLineMs, 30u);
  EXPECT_EQ(DaysToMs(s.GenerationTime + kMs / 10), 66u);  // 12 + 12 + 12 + 30
  EXPECT_EQ(s.MaxAttempt, 3u);
  EXPECT_EQ(s.Attempt, 1u);
  // Elapsed runs from the first start to the last end, plus the earlier jobs' 7 ms.
  EXPECT_EQ(DaysToMs(s.Elapsed() + kMs / 10), 60u + 30u + 7u);
  EXPECT_EQ(s.AverageMs(), 24u);  // 97 / 4, fraction cut off
  EXPECT_DOUBLE_EQ(s.Progress(), 1.0);
  EXPECT_EQ(session.Results().CheckedCount(), 1);
  EXPECT_EQ(session.SessionParse().FindGroup(u"Syllable")->Item(0).Count, 3u);  // a failed line adds none

  TSessionStats empty;
  EXPECT_EQ(empty.AverageMs(), 0u);
  EXPECT_EQ(empty.Failed(0), 0u);
  EXPECT_EQ(empty.Progress(), 0.0);
  EXPECT_EQ(empty.Estimate(), 0.0);
}

TEST(Session, ClearAndReset) {
  TSession session;
  session.SetTimeoutSource([] { return 321u; });
  int cleared = 0, reset = 0;
  session.OnClear = [&](TSession&) { ++cleared; };
  session.OnReset = [&](TSession&) { ++reset; };
  Fill(session);
  session.Clear();
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(reset, 1);
  EXPECT_EQ(session.ResultCount(), 0);
  EXPECT_EQ(session.SessionParse().GroupCount(), 0);
  const TSessionStats s = session.Stats();
  EXPECT_EQ(s.Processed, 0u);
  EXPECT_EQ(s.MaxAttempt, 0u);
  EXPECT_EQ(s.TimeoutMs, 321u);
  EXPECT_EQ(s.PriorElapsed, 0.0);
}

TEST(Session, FileRoundTripAndVersions) {
  QTemporaryDir dir;
  const QString path = dir.filePath("s.qgs");
  TSession session;
  Fill(session);
  ASSERT_TRUE(session.SaveToFile(path));
  const QByteArray bytes = ReadFile(path);
  ASSERT_EQ(bytes.left(5), QByteArray("QGS\x01\x02"));

  TSession loaded;
  int changes = 0;
  loaded.OnStatsChange = [&](TSession&) { ++changes; };
  loaded.LoadFromFile(path);
  EXPECT_EQ(changes, 1);
  ExpectSameStats(loaded.Stats(), session.Stats());
  ASSERT_EQ(loaded.ResultCount(), 3);
  EXPECT_EQ(loaded.Results().Line(1).Text(), "Kor");
  EXPECT_TRUE(loaded.Results().Line(1).Checked());
  EXPECT_EQ(loaded.SessionParse().GroupCount(), session.SessionParse().GroupCount());
  ASSERT_NE(loaded.SessionParse().FindGroup(u"Suffix"), nullptr);

  // Version 1.1 has no PriorElapsed: the try counts follow Downtime at offset 58.
  QByteArray v11 = bytes;
  v11[4] = 1;
  v11.remove(58, 8);
  WriteFile(path, v11);
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.Stats().PriorElapsed, 0.0);
  EXPECT_EQ(loaded.Stats().MaxAttempt, 3u);
  EXPECT_EQ(loaded.ResultCount(), 3);
  // Version 1.0 has neither.
  QByteArray v10 = v11;
  v10[4] = 0;
  v10.remove(58, 8);
  WriteFile(path, v10);
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.Stats().MaxAttempt, 0u);
  EXPECT_EQ(loaded.Stats().Amount, 4u);
  EXPECT_EQ(loaded.ResultCount(), 3);
  EXPECT_EQ(loaded.ReadVersion(), (TVersion{1, 0}));
}

TEST(Session, NewerOrForeignOrDamagedFilesLoadWhatCameBefore) {
  QTemporaryDir dir;
  const QString path = dir.filePath("s.qgs");
  TSession session;
  Fill(session);
  ASSERT_TRUE(session.SaveToFile(path));
  const QByteArray bytes = ReadFile(path);

  TSession loaded;
  for (const auto& [offset, value] : {std::pair{4, '\x03'}, std::pair{0, 'X'}}) {
    QByteArray changed = bytes;
    changed[offset] = value;
    WriteFile(path, changed);
    Fill(loaded);
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.ResultCount(), 0);
    EXPECT_EQ(loaded.Stats().Processed, 0u);
  }
  // Cut anywhere: never a crash; the counts before the cut are kept.
  for (qsizetype size = 0; size < bytes.size(); ++size) {
    WriteFile(path, bytes.left(size));
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Stats().Processed, size >= 10 ? 4u : 0u) << size;
    EXPECT_LE(loaded.ResultCount(), 3);
  }
  // A missing file empties the session.
  Fill(loaded);
  loaded.LoadFromFile(dir.filePath("none.qgs"));
  EXPECT_EQ(loaded.ResultCount(), 0);
  EXPECT_EQ(loaded.Stats().Processed, 0u);
}

TEST(Summary, TimeTextsAndRows) {
  const struct {
    double ms;
    const char* text;
  } times[] = {{0, "00:000"}, {1234, "01:234"}, {61001, "01:01:001"}, {3600000 + 2 * 60000 + 3004, "01:02:03:004"}};
  for (const auto& t : times) EXPECT_EQ(SummaryTimeText((t.ms + 0.1) * kMs), t.text) << t.ms;

  TSession session;
  Fill(session);
  const std::vector<TSummaryGroup> groups = BuildSummary(session, 5);
  ASSERT_EQ(groups.size(), 5u);
  const QStringList captions{groups[0].own.caption, groups[1].own.caption, groups[2].own.caption, groups[3].own.caption, groups[4].own.caption};
  EXPECT_EQ(captions, (QStringList{"Result", "Tries", "Parse", "Rate", "Time"}));
  const TSummaryGroup& result = groups[0];
  ASSERT_EQ(result.rows.size(), 4u);
  EXPECT_EQ(result.rows[0].value, "3");  // generated
  EXPECT_EQ(result.rows[1].value, "1");  // checked
  EXPECT_EQ(result.rows[2].value, "1");  // failed
  EXPECT_EQ(result.own.value, "4");
  EXPECT_EQ(result.own.remaining, "0");
  EXPECT_EQ(result.own.total, "4");
  const TSummaryGroup& tries = groups[1];
  EXPECT_EQ(tries.rows[0].value, "3");
  EXPECT_EQ(tries.own.remaining, "4");
  EXPECT_EQ(tries.own.total, "5");
  EXPECT_EQ(groups[3].rows[0].caption, "Maximal");
  EXPECT_EQ(groups[3].rows[0].value, "30");
  EXPECT_EQ(groups[4].rows[2].caption, "Visualization");
}
