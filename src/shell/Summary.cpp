#include "shell/Summary.h"

#include "shell/LangFrm.h"
#include "shell/Session.h"

namespace gs {
namespace {

QString Caption(std::uint16_t id) { return LangString(TLangSection::Strings, id); }
QString Num(qint64 n) { return QString::number(n); }

TSummaryRow Row(std::uint16_t id, QString value, QString remaining = {}, QString total = {}) {
  return {Caption(id), std::move(value), std::move(remaining), std::move(total)};
}

TSummaryGroup Group(std::uint16_t id, std::vector<TSummaryRow> rows, const TSummaryRow& figures) {
  TSummaryGroup g;
  g.own = figures;
  g.own.caption = Caption(id);
  g.rows = std::move(rows);
  return g;
}

} // namespace

QString SummaryTimeText(TDateTime days) {
  const qint64 all = qint64(DaysToMs(days));
  const qint64 ms = all % 1000, s = all / 1000 % 60, m = all / 60000 % 60, h = all / 3600000;
  const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
  const QString tail = two(s) + u':' + QStringLiteral("%1").arg(ms, 3, 10, QLatin1Char('0'));
  if (h != 0) return two(h) + u':' + two(m) + u':' + tail;
  if (m != 0) return two(m) + u':' + tail;
  return tail;
}

std::vector<TSummaryGroup> BuildSummary(const TSession& session, quint32 tryCount) {
  const auto lock = session.Lock();
  const TSessionStats s = session.Stats();
  const int results = session.Results().Count();
  const TParse& parse = session.SessionParse();
  const qint64 lists = parse.GroupCount(), unnamed = parse.UnnamedCount();
  const TDateTime elapsed = s.Elapsed(), estimate = s.Estimate();

  const TSummaryRow amount = Row(403, Num(s.Processed), Num(qint64(s.Amount) - s.Processed), Num(s.Amount));
  const TSummaryRow lastTry = Row(413, Num(s.Attempt), Num(qint64(tryCount) - s.Attempt), Num(tryCount));
  const TSummaryRow allElements = Row(415, Num(lists + unnamed));
  const TSummaryRow lastRate = Row(408, Num(s.LastLineMs));
  const TSummaryRow time = Row(412, SummaryTimeText(elapsed), SummaryTimeText(estimate - elapsed), SummaryTimeText(estimate));

  std::vector<TSummaryGroup> groups;
  groups.push_back(Group(420, {Row(400, Num(results)), Row(401, Num(session.Results().CheckedCount())), Row(402, Num(s.Failed(results))), amount}, amount));
  groups.push_back(Group(424, {Row(414, Num(s.MaxAttempt)), lastTry}, lastTry));
  groups.push_back(Group(421, {Row(404, Num(unnamed)), Row(405, Num(lists)), allElements}, allElements));
  groups.push_back(Group(422, {Row(406, Num(s.MaxLineMs)), Row(407, Num(s.AverageMs())), lastRate}, lastRate));
  groups.push_back(Group(423, {Row(409, SummaryTimeText(s.GenerationTime)), Row(410, SummaryTimeText(s.Downtime)), Row(411, SummaryTimeText(s.Visualization())), time}, time));
  return groups;
}

} // namespace gs
