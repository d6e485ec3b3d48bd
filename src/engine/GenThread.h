// TGenThread: a generation job. It produces the asked number of lines from the master
// dictionary on its own thread, tries each line up to the try count, and writes the results,
// their elements and the statistics into the session. Failures are reported on the thread
// that started the job (which must run an event loop) while the job waits.
#pragma once

#include "model/NameValues.h"
#include "platform/FileTimes.h"

#include <QStringList>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

namespace gs {

class TGenerator;
class TSession;
struct TLineResult;

// What a job reads when it starts (the try count at every line).
struct TJobInputs {
  quint32 count = 25;
  std::function<quint32()> tryCount = [] { return 5u; };
  QStringList list;         // the lines of the list file
  bool listLoaded = false;
  QString listFile;         // the list file setting
  // Lays the values stored for the master dictionary over a parameter list. Values changed
  // meanwhile apply from the next line: the job calls it for every line, or, when
  // storedRevision is given, whenever the revision it tells has moved since the last call.
  std::function<void(TNameValues&)> storedValues;
  std::function<quint64()> storedRevision;
  // Assigns the master dictionary again (reloading it when the file changed); false when the
  // generator has none afterwards.
  std::function<bool()> assignMaster;
  // Keep a line only when no earlier result of the session equals it without regard to case.
  bool unique = false;
};

class TGenThread : public QThread {
public:
  // After this many tries in a row that ended as duplicates, a unique job gives up.
  static constexpr int kMaxDuplicateRun = 1000;

  TGenThread(TGenerator& generator, TSession& session, TJobInputs inputs, bool append);
  ~TGenThread() override;

  // Starts the job (the thread that calls it receives OnError and OnTerminate).
  void Start();
  // Stops the generator and asks the job to end; the line being generated is not counted.
  void Terminate();
  bool TerminateRequested() const { return m_terminate.load(std::memory_order_acquire); }
  // Holds the job at the next line boundary or try; the time until Resume is downtime.
  void Pause();
  void Resume();
  TDateTime PausedAt() const;

  bool Append() const { return m_append; }
  bool Failed() const { return m_failed.load(std::memory_order_acquire); }
  // The failure of the current try, valid inside OnError.
  const std::exception* LastError() const { return m_lastErrorObject; }
  // The lines that failed because every try gave an earlier result again.
  quint32 DuplicateLines() const { return m_duplicateLines.load(); }
  bool StoppedForDuplicates() const { return m_stoppedForDuplicates.load(); }

  // Called on the starting thread while the job waits; the handler may Pause and Resume.
  std::function<void(TGenThread&, const std::exception&)> OnError;
  // Called on the starting thread after the job ended.
  std::function<void(TGenThread&)> OnTerminate;

protected:
  void run() override;

private:
  class TDuplicates;
  enum class TTry { Produced, Failed, Duplicate };

  void RunJob();
  quint32 DecideMode(QString& listString);
  void GenerateLine(quint32 index, const TNameValues& base, bool fromList, TDuplicates& duplicates);
  TTry RunTry(const TNameValues& parameters, TLineResult& result, TDuplicates& duplicates);
  void ReportError(const std::exception& error);
  // True when the job was held.
  bool WaitWhilePaused();

  TGenerator& m_generator;
  TSession& m_session;
  TJobInputs m_inputs;
  bool m_append;
  std::atomic<bool> m_failed{false};
  std::atomic<bool> m_terminate{false};
  const std::exception* m_lastErrorObject = nullptr;
  std::atomic<quint32> m_duplicateLines{0};
  std::atomic<bool> m_stoppedForDuplicates{false};
  int m_duplicateRun = 0;
  TNameValues m_stored;      // the stored values the parameter list was built from
  TNameValues m_parameters;  // the parameter list of the lines
  bool m_parametersBuilt = false;
  quint64 m_storedRevision = 0;  // of the stored values last read
  TDateTime m_lineEnd = 0;  // when the last line ended; 0 after a pause

  mutable std::mutex m_pauseMutex;
  std::condition_variable m_pauseChanged;
  std::atomic<bool> m_paused{false};
  TDateTime m_pausedAt = 0;
};

} // namespace gs
