#include "shell/Session.h"

#include "formats/Exceptions.h"
#include "formats/File.h"
#include "formats/FileFunctions.h"

#include <QFileInfo>
#include <cmath>

namespace gs {
namespace {

constexpr char kSignature[3] = {'Q', 'G', 'S'};
constexpr double kMsPerDay = 86400000.0;

} // namespace

quint32 DaysToMs(TDateTime days) {
  const double ms = std::fabs(days) * kMsPerDay;
  return ms >= 4294967295.0 ? 0xFFFFFFFFu : quint32(ms);
}

quint32 TSessionStats::AverageMs() const {
  return Processed == 0 ? 0 : DaysToMs(Elapsed() / Processed);
}

TSession::TSession() = default;

TSessionStats TSession::Stats() const {
  std::lock_guard lock(m_mutex);
  return m_stats;
}

int TSession::ResultCount() const {
  std::lock_guard lock(m_mutex);
  return m_results.Count();
}

void TSession::ResetStatsLocked() {
  const TDateTime lineStart = m_stats.LineStart, linePause = m_stats.LinePause;
  m_stats = TSessionStats();
  // Set by every line, not by a reset.
  m_stats.LineStart = lineStart;
  m_stats.LinePause = linePause;
  m_stats.TimeoutMs = m_timeoutSource ? m_timeoutSource() : 0;
}

void TSession::ResetStats() {
  {
    std::lock_guard lock(m_mutex);
    ResetStatsLocked();
  }
  Notify(OnReset);
}

void TSession::Clear() {
  ResetStats();
  {
    std::lock_guard lock(m_mutex);
    m_results.Clear();
    m_parse.Clear();
  }
  Notify(OnClear);
}

void TSession::SetAttempt(quint32 attempt) {
  UpdateStats([attempt](TSessionStats& s) {
    s.Attempt = attempt;
    s.MaxAttempt = std::max(s.MaxAttempt, attempt);
  });
}

void TSession::UpdateStats(const std::function<void(TSessionStats&)>& change) {
  {
    std::lock_guard lock(m_mutex);
    change(m_stats);
  }
  Notify(OnStatsChange);
}

void TSession::BeginLine(TDateTime start, bool first) {
  UpdateStats([start, first](TSessionStats& s) {
    if (first) s.RunStart = s.LastEnd = start;
    s.LineStart = start;
    s.LinePause = 0;
    s.Attempt = 1;
    s.MaxAttempt = std::max(s.MaxAttempt, 1u);
  });
}

void TSession::AddResult(std::unique_ptr<TColLine> line, const TParse& lineParse, TDateTime start, TDateTime end,
                         std::optional<quint32> timeoutMs) {
  {
    std::lock_guard lock(m_mutex);
    TSessionStats& s = m_stats;
    if (timeoutMs) s.TimeoutMs = *timeoutMs;
    ++s.Processed;
    const quint32 ms = DaysToMs(end - start);
    s.LastLineMs = ms;
    s.MaxLineMs = std::max(s.MaxLineMs, ms);
    s.GenerationTime += end - start - s.LinePause;
    s.LastEnd = end + s.LinePause;
    if (line) {
      m_results.Add(std::move(line));
      m_parse.Merge(lineParse);
    }
  }
  Notify(OnStatsChange);
}

void TSession::LoadFromStream(TStreamReader& stream) {
  TSessionStats& s = m_stats;
  const QByteArrayView signature = stream.ReadBytes(3);
  if (signature != QByteArrayView(kSignature, 3)) throw EWrongFormat(TSignature{'Q', 'G', 'S'});
  m_readVersion.major = stream.ReadU8();
  m_readVersion.minor = stream.ReadU8();
  if (CompareVersion(m_readVersion, kVersion) > 0) throw EWrongVersion(TSignature{'Q', 'G', 'S'});
  s.ListMode = stream.ReadU8();
  s.Processed = stream.ReadU32();
  s.Amount = stream.ReadU32();
  s.MaxLineMs = stream.ReadU32();
  s.LastLineMs = stream.ReadU32();
  s.TimeoutMs = stream.ReadU32();
  s.GenerationTime = stream.ReadDouble();
  s.RunStart = stream.ReadDouble();
  s.LastEnd = stream.ReadDouble();
  s.Downtime = stream.ReadDouble();
  if (CompareVersion(m_readVersion, {1, 2}) >= 0) s.PriorElapsed = stream.ReadDouble();
  if (CompareVersion(m_readVersion, {1, 1}) >= 0) {
    s.Attempt = stream.ReadU32();
    s.MaxAttempt = stream.ReadU32();
  }
  m_results.LoadFromStream(stream, QString());
  m_parse.LoadFromStream(stream);
}

void TSession::LoadFromFile(const QString& path) {
  Clear();
  if (!QFileInfo::exists(path)) return;
  {
    std::lock_guard lock(m_mutex);
    try {
      const TFileBytes bytes(path);
      TStreamReader stream(bytes.View());
      LoadFromStream(stream);
    } catch (const std::exception&) {
      // What was read before the fault stays.
    }
  }
  Notify(OnStatsChange);
}

void TSession::SaveToStream(TStreamWriter& stream) const {
  std::lock_guard lock(m_mutex);
  const TSessionStats& s = m_stats;
  stream.WriteBytes(QByteArrayView(kSignature, 3));
  stream.WriteU8(kVersion.major);
  stream.WriteU8(kVersion.minor);
  stream.WriteU8(s.ListMode);
  stream.WriteU32(s.Processed);
  stream.WriteU32(s.Amount);
  stream.WriteU32(s.MaxLineMs);
  stream.WriteU32(s.LastLineMs);
  stream.WriteU32(s.TimeoutMs);
  stream.WriteDouble(s.GenerationTime);
  stream.WriteDouble(s.RunStart);
  stream.WriteDouble(s.LastEnd);
  stream.WriteDouble(s.Downtime);
  stream.WriteDouble(s.PriorElapsed);
  stream.WriteU32(s.Attempt);
  stream.WriteU32(s.MaxAttempt);
  m_results.SaveToStream(stream, QString());
  m_parse.SaveToStream(stream);
}

bool TSession::SaveToFile(const QString& path) const {
  return WriteWholeFile(path, [this](TStreamWriter& stream) { SaveToStream(stream); });
}

} // namespace gs
