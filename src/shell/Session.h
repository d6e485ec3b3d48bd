// TSession: what the generator produced since the user last started afresh: the result lines,
// the elements collected while generating them, and the statistics of the runs. The job's
// thread writes it while the user's thread reads it, so every access goes through its lock.
#pragma once

#include "documents/ColFiles.h"
#include "engine/ParFiles.h"
#include "formats/Version.h"
#include "platform/FileTimes.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace gs {

// Times are date-time values in days.
struct TSessionStats {
  quint8 ListMode = 0;
  quint32 Amount = 0;     // lines asked for in this session
  quint32 Processed = 0;  // lines finished, produced or failed
  quint32 MaxLineMs = 0;
  quint32 LastLineMs = 0;
  TDateTime GenerationTime = 0;
  TDateTime RunStart = 0;
  TDateTime LastEnd = 0;
  TDateTime Downtime = 0;
  quint32 TimeoutMs = 0;
  TDateTime LineStart = 0;
  quint32 Attempt = 0;
  quint32 MaxAttempt = 0;
  TDateTime LinePause = 0;
  TDateTime PriorElapsed = 0;

  // The derived figures; resultCount is the number of result lines.
  TDateTime Elapsed() const { return PriorElapsed + LastEnd - RunStart - Downtime; }
  quint32 AverageMs() const;
  quint32 Failed(int resultCount) const { return Processed == 0 ? 0 : Processed - quint32(resultCount); }
  double Progress() const { return Amount == 0 ? 0.0 : double(Processed) / Amount; }
  TDateTime Estimate() const { return Processed == 0 ? 0.0 : Elapsed() / Processed * Amount; }
  TDateTime Visualization() const { return Elapsed() - GenerationTime; }
};

// Whole milliseconds of a span of days, the fraction cut off.
quint32 DaysToMs(TDateTime days);

class TSession {
public:
  using TNotify = std::function<void(TSession&)>;
  static constexpr TVersion kVersion{1, 2};

  TSession();
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  // The source of the time-out that a reset records (the program's generator's).
  void SetTimeoutSource(std::function<quint32()> source) { m_timeoutSource = std::move(source); }

  // Hold the lock while reading Results or SessionParse on another thread than the job's.
  std::unique_lock<std::recursive_mutex> Lock() const { return std::unique_lock(m_mutex); }
  TColFile& Results() { return m_results; }
  const TColFile& Results() const { return m_results; }
  TParse& SessionParse() { return m_parse; }
  const TParse& SessionParse() const { return m_parse; }
  TSessionStats Stats() const;
  int ResultCount() const;
  TVersion ReadVersion() const { return m_readVersion; }

  void Clear();
  void ResetStats();
  void SetAttempt(quint32 attempt);
  // A line begins with its first attempt: its start, and for the first line of a job the run's.
  void BeginLine(TDateTime start, bool first);
  // A finished line: line is null for a failed one; timeoutMs, when given, is recorded with it.
  void AddResult(std::unique_ptr<TColLine> line, const TParse& lineParse, TDateTime start, TDateTime end,
                 std::optional<quint32> timeoutMs = std::nullopt);
  // Changes the statistics under the lock and notifies.
  void UpdateStats(const std::function<void(TSessionStats&)>& change);

  // A missing file gives an empty session; any fault ends loading silently, keeping what was
  // read before it.
  void LoadFromFile(const QString& path);
  // Failures are swallowed; returns false when nothing was written.
  bool SaveToFile(const QString& path) const;
  void SaveToStream(TStreamWriter& stream) const;

  TNotify OnStatsChange;
  TNotify OnClear;
  TNotify OnReset;

private:
  void ResetStatsLocked();
  void LoadFromStream(TStreamReader& stream);
  void Notify(const TNotify& notify) {
    if (notify) notify(*this);
  }

  mutable std::recursive_mutex m_mutex;
  TColFile m_results;
  TParse m_parse;
  TVersion m_readVersion = kVersion;
  TSessionStats m_stats;
  std::function<quint32()> m_timeoutSource;
};

} // namespace gs
