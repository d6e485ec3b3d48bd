// TGenerator: the interpreter of dictionaries. It raises requests, walks the request nodes
// that answer them and assembles lines (Generate). One generator works on one thread at a
// time; Stop() and Idle() may be called from any thread.
#pragma once

#include "engine/ParFiles.h"
#include "engine/Random.h"
#include "engine/Words.h"
#include "model/DicFiles.h"
#include "model/Limits.h"
#include "model/NameValues.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TGenerator;

// One evaluated argument of a call.
struct TArgument {
  const QString* name;  // the argument's name in the value (not owned)
  QString value;
};

// The evaluated arguments of one call: a view into the generator's argument stack, which
// nested calls may grow (so it holds indices, not pointers).
class TArgList {
public:
  TArgList(const std::vector<TArgument>& stack, size_t begin, size_t end) : m_stack(stack), m_begin(begin), m_end(end) {}
  int Count() const { return int(m_end - m_begin); }
  const QString& Name(int i) const { return *m_stack[m_begin + i].name; }
  const QString& Value(int i) const { return m_stack[m_begin + i].value; }
  // The value of the first argument with that name (without case); empty when absent.
  QString Value(QStringView name) const;

private:
  const std::vector<TArgument>& m_stack;
  size_t m_begin, m_end;
};

// The standard functions and link calls, filled in by their own units.
QString CallStandardFunction(TGenerator& generator, quint16 id, const TArgList& args);
QString CallLink(TGenerator& generator, TLink& link, const TArgList& args);
// The standard functions that measure the line in integers (Word Count, Word Index, Position,
// ...): true, with the measure, for those.
bool IntegerMeasure(const TGenerator& generator, quint16 id, qint32& value);

struct TLineResult {
  QString text;
  quint8 rating = 0;
  bool checked = false;
  QString group;
};

class TGenerator {
public:
  using TNotify = std::function<void(TGenerator&)>;

  explicit TGenerator(int level = 0);
  ~TGenerator();
  TGenerator(const TGenerator&) = delete;
  TGenerator& operator=(const TGenerator&) = delete;

  // Generates one line. Raises the failures of requests, functions and links.
  void Generate(const TNameValues& parameters, TLineResult& result);

  void SetFileName(const QString& path);
  void Reload();
  void Stop();
  bool IsStopped(bool loopCheck) {
    if (Idle()) return true;
    if (!loopCheck && m_dictionary) return false;
    return StopsNow(loopCheck);
  }
  bool Idle() const { return m_idle.load(std::memory_order_acquire); }

  QString RaiseRequest(int code, const QString& fallback);
  // The value whose text answers the request, or null when the fallback stands.
  const TValue* Answer(int code, const QString& fallback);
  qint32 RaiseIntRequest(int code, qint32 fallback);
  qint32 DrawChance() {
    const qint32 drawn = qint32(Random(100000) + 1);
    // Without a "Randomize" request the draw is the chance: nothing to set aside.
    if (!m_dictionary || !m_dictionary->HasRequest(49)) return Chance = drawn;
    return RandomizeChance(drawn);
  }
  TValue* RunBlock(TDicNode& node);
  TValue* ExecuteNode(TDicNode& node);
  TValue* RunSelector(TDicNode& node);
  bool CheckRequisites(std::vector<TDicNode*>& list);
  bool TestChildren(TDicNode& node);
  bool TestNode(TDicNode& node);
  void RunCommand(TDicNode& node);
  static bool CompareBySign(const QString& x, const QString& y, int sign);
  QString Evaluate(TValue* value, bool validate);
  qint64 ElapsedMs() const;

  // State read and written by the standard functions.
  TGenerator* Child() const { return m_child.get(); }
  TGenerator& ObtainChild();
  TDicFile* Dictionary() const { return m_dictionary; }
  const QString& DicFile() const { return m_dicFile; }
  TDicNode* CurrentNode = nullptr;
  const TNameValues* Parameters = nullptr;
  quint32 Timeout = 0;
  TNameValues Variables;
  TWords Words;
  TParse LineParse;  // the elements added during the current line
  std::vector<TDicNode*> Preconditions;
  std::vector<TDicNode*> Postconditions;
  qint32 Chance = 1;
  // The default text of the request being answered (the request's own argument, which lives
  // as long as the request runs).
  const QString& DefaultAnswer() const { return *m_defaultAnswer; }
  QString Ident;
  qint32 BlockIteration = 1;
  qint32 PartCount = 1, PartIndex = 1;
  qint32 PassCount = 1, PassIndex = 1;
  qint32 Position = 1;
  QString Sample;
  QString Word;
  qint32 WordCount = 1, WordIndex = 1, WordLength = 1;
  TFunction* CurrentFunction = nullptr;
  int CurrentParam = -1;
  TValue* CurrentValue = nullptr;
  TValue* CheckedValue = nullptr;
  bool CheckedDone = false;
  int Level() const { return m_level; }
  // The nesting so far; a link's child goes on counting from its caller's.
  int Depth() const { return m_depth; }
  void SetBaseDepth(int depth) { m_baseDepth = depth; }
  bool ReloadPending() const { return m_reloadPending; }

  TNotify OnFileChanging;
  TNotify OnLoad;
  TNotify OnStop;

private:
  class TDepthGuard;

  void ResetLine(const TNameValues& parameters);
  bool StopsNow(bool loopCheck);
  qint32 RandomizeChance(qint32 drawn);
  TValue* TryAnswer(TDicNode& node);
  int PlainDepth(const TDicNode& node);
  TValue* RunPlainBlock(TDicNode& node);
  TValue* ExecutePlainNode(TDicNode& node);
  bool BuildWord(int index);
  bool InsetPasses();
  QString EvaluateCall(TValue& value);
  // Evaluate of a constant, without copying its text. One found valid needs no second look,
  // unless its evaluation is what reaches the nesting limit.
  void CheckConstant(TValue& value, bool validate) {
    if (m_depth < MaxNestingDepth && (!validate || value.KnownValid(OptionsRevision()))) return;
    ValidateConstant(value, validate);
  }
  void ValidateConstant(TValue& value, bool validate);
  const QString& EvaluateView(TValue* value, bool validate, QString& scratch);
  void ValidateResult(const TValue& value, const QString& result);
  bool TestMeasure(TDicNode& node, bool& result);
  TValue* RunOrdered(TDicNode& node, quint8 order);
  template <typename TExecute>
  TValue* RunDirect(TDicNode& node, const TExecute& execute);
  template <typename TExecute>
  TValue* RunRandom(TDicNode& node, const TExecute& execute, qint32& iteration);

  std::unique_ptr<TGenerator> m_child;
  TDicFile* m_dictionary = nullptr;  // from the dictionary list, not owned
  QString m_dicFile;
  qint64 m_blockStart = 0;  // monotonic milliseconds
  std::atomic<bool> m_idle{true};
  bool m_reloadPending = false;
  int m_level;
  int m_depth = 0;
  int m_baseDepth = 0;
  std::vector<TArgument> m_argStack;
  const QString* m_defaultAnswer;
};

// The generator whose line is being generated (the program's or a link's child); error
// reports read their context from it.
TGenerator* ActiveGenerator();
void SetActiveGenerator(TGenerator* generator);

} // namespace gs
