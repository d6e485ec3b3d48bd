#include "engine/Generator.h"

#include "engine/DicFileList.h"
#include "engine/EngineErrors.h"
#include "engine/Random.h"
#include "model/Limits.h"
#include "platform/Clock.h"
#include "platform/Text.h"

namespace gs {

namespace {
std::atomic<TGenerator*> g_active{nullptr};
}

TGenerator* ActiveGenerator() {
  return g_active.load(std::memory_order_acquire);
}

void SetActiveGenerator(TGenerator* generator) {
  g_active.store(generator, std::memory_order_release);
}

QString TArgList::Value(QStringView name) const {
  for (size_t i = m_begin; i < m_end; ++i)
    if (SameText(*m_stack[i].name, name)) return m_stack[i].value;
  return {};
}

// Counts the nesting of blocks, evaluations and link calls; beyond the limit the recursion
// failure replaces the stack overflow.
class TGenerator::TDepthGuard {
public:
  explicit TDepthGuard(TGenerator& g) : m_g(g) {
    if (++m_g.m_depth > MaxNestingDepth) {
      --m_g.m_depth;
      throw ERecursionError();
    }
  }
  ~TDepthGuard() { --m_g.m_depth; }

private:
  TGenerator& m_g;
};

namespace {

// The standard functions without arguments that only read the word and line being built.
bool ReadsOnlyTheLine(const TValue& value) {
  if (value.Kind() == vkText) return true;
  const TFunction* f = value.Function();
  if (value.Kind() != vkFunc || !f || f->Category() == fcLinks || value.ArgCount() != 0) return false;
  switch (f->Id()) {
  case 69: case 70: case 71: case 72: case 74: case 76: case 80: case 81: case 86: case 87:
  case 96: case 97: case 98: case 99: case 100: case 101:
    return true;
  default:
    return false;
  }
}

const QString& NoText() {
  static const QString empty;
  return empty;
}
} // namespace

TGenerator::TGenerator(int level) : Words(this), m_level(level), m_defaultAnswer(&NoText()) {
  m_blockStart = MonotonicMs();
  DrawChance();
}

TGenerator::~TGenerator() {
  Stop();
}

TGenerator& TGenerator::ObtainChild() {
  if (!m_child) {
    m_child = std::make_unique<TGenerator>(m_level + 1);
    m_child->OnStop = [this](TGenerator&) { Stop(); };
  }
  return *m_child;
}

// ---- Loading

void TGenerator::SetFileName(const QString& path) {
  if (path == m_dicFile) return;
  const QString old = m_dicFile;
  m_dicFile = path;
  if (OnFileChanging) OnFileChanging(*this);
  try {
    Reload();
  } catch (...) {
    m_dicFile = old;
    throw;
  }
}

void TGenerator::Reload() {
  if (!Idle()) {
    m_reloadPending = true;
    return;
  }
  m_reloadPending = false;
  m_dictionary = m_dicFile.isEmpty() ? nullptr : &DicFileList().Get(m_dicFile);
  if (OnLoad) OnLoad(*this);
}

// ---- Stopping

void TGenerator::Stop() {
  if (m_idle.exchange(true, std::memory_order_acq_rel)) return;
  if (m_child) m_child->Stop();
  if (OnStop) OnStop(*this);
  if (m_reloadPending) Reload();
}

qint64 TGenerator::ElapsedMs() const {
  const qint64 elapsed = MonotonicMs() - m_blockStart;
  return elapsed < 0 ? -elapsed : elapsed;
}

// The rest of IsStopped, once the generator is running.
bool TGenerator::StopsNow(bool loopCheck) {
  if (loopCheck && quint64(ElapsedMs()) > Timeout) {
    Stop();
    return true;
  }
  if (!m_dictionary) {
    Stop();
    return true;
  }
  return false;
}

// ---- Requests

const TValue* TGenerator::Answer(int code, const QString& fallback) {
  if (!m_dictionary || !m_dictionary->HasRequest(code)) return nullptr;
  const QString* savedDefault = std::exchange(m_defaultAnswer, &fallback);
  if (code != 49) DrawChance();
  TValue* answer = nullptr;
  // By index: a request raised inside may collect the nodes anew (a "Compute" that edits nothing
  // still reads them), which leaves the same nodes in the same order.
  const std::vector<TDicNode*>& requests = m_dictionary->RequestNodes(code);
  for (size_t i = 0; i < requests.size() && !answer; ++i) {
    TDicNode& request = *requests[i];
    // A plain request with no common conditions in force, walked without the bookkeeping
    // (when its nesting stays below the limit, so that no recursion failure is skipped).
    qint32 depth = -1;
    if (Preconditions.empty() && Postconditions.empty() && !request.Memo(depth)) depth = PlainDepth(request);
    answer = depth >= 0 && m_depth + depth < MaxNestingDepth ? RunPlainBlock(request) : RunBlock(request);
  }
  m_defaultAnswer = savedDefault;
  return answer;
}

QString TGenerator::RaiseRequest(int code, const QString& fallback) {
  const TValue* answer = Answer(code, fallback);
  return answer ? answer->Text() : fallback;
}

qint32 TGenerator::RaiseIntRequest(int code, qint32 fallback) {
  // An unanswered request gives its default back unchanged: no text round trip.
  if (!m_dictionary || !m_dictionary->HasRequest(code)) return fallback;
  const TValue* answer = Answer(code, IntegerText(fallback));
  if (!answer) return fallback;
  if (const std::optional<qint32> value = answer->Integer()) return *value;
  throw EConvertError(answer->Text());
}

// DrawChance of a dictionary that answers "Randomize".
qint32 TGenerator::RandomizeChance(qint32 drawn) {
  std::vector<TDicNode*> pre = std::move(Preconditions), post = std::move(Postconditions);
  Preconditions.clear();
  Postconditions.clear();
  TValue* checked = CheckedValue;
  const bool done = CheckedDone;
  Chance = RaiseIntRequest(49, drawn);
  Preconditions = std::move(pre);
  Postconditions = std::move(post);
  CheckedValue = checked;
  CheckedDone = done;
  return Chance;
}

// ---- Blocks and nodes

namespace {

// Indices of the enabled children of a node, held inline for the usual small blocks.
class TChildList {
public:
  explicit TChildList(const TDicNode& node) {
    for (int i = 0; i < node.Count(); ++i)
      if (!node.Child(i).Disabled()) Push(i);
  }
  int Size() const { return m_size; }
  int operator[](int k) const { return m_heap.empty() ? m_inline[k] : m_heap[k]; }
  void RemoveAt(int k) {
    if (m_heap.empty()) std::copy(m_inline + k + 1, m_inline + m_size, m_inline + k);
    else m_heap.erase(m_heap.begin() + k);
    --m_size;
  }

private:
  void Push(int index) {
    if (m_heap.empty() && m_size < kInline) {
      m_inline[m_size++] = index;
      return;
    }
    if (m_heap.empty()) m_heap.assign(m_inline, m_inline + m_size);
    m_heap.push_back(index);
    ++m_size;
  }
  static constexpr int kInline = 64;
  int m_inline[kInline];
  std::vector<int> m_heap;
  int m_size = 0;
};

} // namespace

// A Direct block: the enabled children in order until one answers.
template <typename TExecute>
TValue* TGenerator::RunDirect(TDicNode& node, const TExecute& execute) {
  TValue* v = nullptr;
  for (int i = 0; i < node.Count(); ++i) {
    TDicNode& child = node.Child(i);
    if (child.Disabled()) continue;
    v = execute(child);
    if (v || IsStopped(false)) break;
  }
  return v;
}

// A Random block: each enabled child tried at most once, in random order, until one answers;
// every failed pick adds one to iteration.
template <typename TExecute>
TValue* TGenerator::RunRandom(TDicNode& node, const TExecute& execute, qint32& iteration) {
  // The first pick needs no list: it is the k-th enabled child. Most blocks answer at once.
  const int enabled = node.EnabledCount();
  const int first = int(Random(quint32(enabled)));
  int index = first;
  if (enabled != node.Count()) {
    for (int i = 0, seen = 0; i < node.Count(); ++i)
      if (!node.Child(i).Disabled() && seen++ == first) {
        index = i;
        break;
      }
  }
  TValue* v = execute(node.Child(index));
  if (v) return v;
  TChildList list(node);
  list.RemoveAt(first);
  ++iteration;
  if (IsStopped(false)) return v;
  while (list.Size() > 0) {
    const int k = int(Random(quint32(list.Size())));
    v = execute(node.Child(list[k]));
    if (v) break;
    list.RemoveAt(k);
    ++iteration;
    if (IsStopped(false)) break;
  }
  return v;
}

TValue* TGenerator::RunBlock(TDicNode& node) {
  if (node.EnabledCount() == 0) return nullptr;
  TDepthGuard depth(*this);
  // The condition lists only grow inside a block: their sizes are all there is to restore.
  const size_t pre = Preconditions.size(), post = Postconditions.size();
  TDicNode* savedNode = CurrentNode;
  const qint32 savedIteration = BlockIteration;
  const qint64 savedStart = m_blockStart;
  CurrentNode = &node;
  BlockIteration = 1;
  const quint8 order = node.Kind() == nkOrder ? node.Option() : quint8(okDirect);
  // The time-out is measured only at the turns of Loop blocks (from the Loop block's own start)
  // and at inset steps (from the line's start, no block running then): other blocks' start
  // times are never read, so only Loop blocks read the clock.
  if (order == okLoop) m_blockStart = MonotonicMs();
  TValue* v = RunOrdered(node, order);
  BlockIteration = savedIteration;
  CurrentNode = savedNode;
  m_blockStart = savedStart;
  if (Preconditions.size() > pre) Preconditions.resize(pre);
  if (Postconditions.size() > post) Postconditions.resize(post);
  return v;
}

// Inlined: the one caller is the hottest function of the walk.
[[gnu::always_inline]] inline TValue* TGenerator::RunOrdered(TDicNode& node, quint8 order) {
  TValue* v = nullptr;
  if (order == okRandom) {
    v = RunRandom(node, [this](TDicNode& child) { return ExecuteNode(child); }, BlockIteration);
  } else if (order == okLoop) {
    const TChildList list(node);
    int k = 0;
    do {
      v = ExecuteNode(node.Child(list[k]));
      if (k < list.Size() - 1) {
        ++k;
      } else {
        k = 0;
        ++BlockIteration;
      }
    } while (!IsStopped(true) && !v);
  } else {
    v = RunDirect(node, [this](TDicNode& child) { return ExecuteNode(child); });
  }
  return v;
}

TValue* TGenerator::ExecuteNode(TDicNode& node) {
  TDicNode* savedNode = CurrentNode;
  CurrentNode = &node;
  CheckedValue = nullptr;
  if (IsStopped(false)) {
    CurrentNode = savedNode;
    return nullptr;
  }
  TValue* v = nullptr;
  switch (node.Kind()) {
  case nkOrder: v = RunBlock(node); break;
  case nkSelector: v = RunSelector(node); break;
  case nkAnswer: v = TryAnswer(node); break;
  case nkRequisite:
    if (node.Option() == rkPrecondition) Preconditions.push_back(&node);
    else if (node.Option() == rkPostcondition) Postconditions.push_back(&node);
    break;
  case nkCommand: RunCommand(node); break;
  default: break;
  }
  CurrentNode = savedNode;
  return v;
}

// An answer is taken when the common conditions in force and its own conditions hold.
[[gnu::always_inline]] inline TValue* TGenerator::TryAnswer(TDicNode& node) {
  TValue* value = node.Value1();
  CheckedDone = false;
  CheckedValue = value;
  if (!Preconditions.empty() && !CheckRequisites(Preconditions)) return nullptr;
  if (node.EnabledCount() > 0 && !TestChildren(node)) return nullptr;
  if (!Postconditions.empty() && !CheckRequisites(Postconditions)) return nullptr;
  if (CheckedDone) value->Validate();
  else if (value->Kind() != vkText) value->SetComputedText(Evaluate(value, true));
  else CheckConstant(*value, true);  // a constant's text is its own result
  return value;
}

bool TGenerator::CheckRequisites(std::vector<TDicNode*>& list) {
  bool r = true;
  // By index: a nested block may add to the list and take its additions back meanwhile.
  for (size_t i = 0; i < list.size(); ++i) {
    r = TestChildren(*list[i]);
    if (!r || IsStopped(false)) break;
  }
  return r;
}

bool TGenerator::TestChildren(TDicNode& node) {
  if (node.EnabledCount() == 0) return true;
  int first = 0;
  while (first < node.Count() && node.Child(first).Disabled()) ++first;
  if (first >= node.Count()) return true;
  const quint8 connective = node.Kind() == nkLogic ? node.Option() : quint8(lkAnd);
  TDicNode* savedNode = CurrentNode;
  CurrentNode = &node;
  bool a = TestNode(node.Child(first));
  for (int i = first + 1; i < node.Count(); ++i) {
    TDicNode& child = node.Child(i);
    if (child.Disabled()) continue;
    if (IsStopped(false)) break;
    if (connective == lkOr) {
      if (a) break;
      a = TestNode(child);
      if (a) break;
    } else {
      if (!a) break;
      a = TestNode(child);
      if (!a) break;
    }
  }
  CurrentNode = savedNode;
  return connective == lkNot ? !a : a;
}

bool TGenerator::TestNode(TDicNode& node) {
  TDicNode* savedNode = CurrentNode;
  CurrentNode = &node;
  bool result = true;
  switch (node.Kind()) {
  case nkLogic: result = TestChildren(node); break;
  case nkCondition: {
    if (TestMeasure(node, result)) break;
    QString xs, ys;
    const QString& x = EvaluateView(node.Value1(), true, xs);
    const QString& y = EvaluateView(node.Value2(), true, ys);
    if (!IsStopped(false)) result = CompareBySign(x, y, node.Option());
    break;
  }
  case nkCommand: RunCommand(node); break;
  default: break;
  }
  CurrentNode = savedNode;
  return result;
}

// A condition that compares an integer measure of the line with a constant, the usual test of
// spacers and parts, compared without making the measure's text. True when it was such a one.
bool TGenerator::TestMeasure(TDicNode& node, bool& result) {
  TValue* x = node.Value1();
  TValue* y = node.Value2();
  const quint8 sign = node.Option();
  if (sign > 5 || !x || !y || x->Kind() != vkFunc || y->Kind() != vkText || x->ArgCount() != 0) return false;
  const TFunction* f = x->Function();
  qint32 n = 0;
  // At the nesting limit the measure's evaluation is what fails; a measure whose options
  // restrict its text is validated on the way with texts.
  if (!f || f->Category() == fcLinks || m_depth >= MaxNestingDepth || !x->Options()->AcceptsAnyText() ||
      !IntegerMeasure(*this, f->Id(), n))
    return false;
  CheckConstant(*y, true);
  if (IsStopped(false)) return true;
  if (sign <= 1) {
    result = SameText(IntegerText(n), y->Text()) == (sign == 0);
    return true;
  }
  const std::optional<qint32> m = y->Integer();
  if (!m) throw EConvertError(y->Text());
  result = sign == 2 ? n < *m : sign == 3 ? n <= *m : sign == 4 ? n > *m : n >= *m;
  return true;
}

void TGenerator::RunCommand(TDicNode& node) {
  if (TestChildren(node)) Evaluate(node.Value1(), true);
}

TValue* TGenerator::RunSelector(TDicNode& node) {
  if (node.EnabledCount() == 0) return nullptr;
  TDicNode* savedNode = CurrentNode;
  CurrentNode = &node;
  QString ss, ts;
  const QString& s = EvaluateView(node.Value1(), false, ss);
  TValue* v = nullptr;
  for (int i = 0; i < node.Count(); ++i) {
    TDicNode& c = node.Child(i);
    if (c.Disabled()) continue;
    const QString& t = EvaluateView(c.Value1(), true, ts);
    if (CompareBySign(t, s, node.Option())) {
      v = RunBlock(c);
      break;
    }
  }
  CurrentNode = savedNode;
  return v;
}

bool TGenerator::CompareBySign(const QString& x, const QString& y, int sign) {
  const auto starts = [&](Qt::CaseSensitivity cs) { return y.size() <= x.size() && x.startsWith(y, cs); };
  const auto ends = [&](Qt::CaseSensitivity cs) { return !y.isEmpty() && y.size() <= x.size() && x.endsWith(y, cs); };
  const auto contains = [&](Qt::CaseSensitivity cs) { return !y.isEmpty() && x.contains(y, cs); };
  constexpr Qt::CaseSensitivity without = Qt::CaseInsensitive, with = Qt::CaseSensitive;
  switch (sign) {
  case 0: return SameText(x, y);
  case 1: return !SameText(x, y);
  case 2: return ToInteger(x) < ToInteger(y);
  case 3: return ToInteger(x) <= ToInteger(y);
  case 4: return ToInteger(x) > ToInteger(y);
  case 5: return ToInteger(x) >= ToInteger(y);
  case 6: return starts(without);
  case 7: return !starts(without);
  case 8: return ends(without);
  case 9: return !ends(without);
  case 10: return contains(without);
  case 11: return !contains(without);
  case 12: return x == y;
  case 13: return x != y;
  case 14: return starts(with);
  case 15: return !starts(with);
  case 16: return ends(with);
  case 17: return !ends(with);
  case 18: return contains(with);
  case 19: return !contains(with);
  default: return true;
  }
}

// ---- Plain blocks

// A plain block holds only Direct and Random blocks and answers that are constants, whose
// conditions (if any) compare constants and the line's own measures. Nothing evaluated in one
// can read the state that RunBlock and ExecuteNode keep for the walk (the iteration, the
// block's start, the condition lists, the block being run), so that bookkeeping is left out;
// conditions are tested as in the full walk, so their failures carry the same context. What
// the walk leaves behind is kept exactly: the random draws, CheckedValue, CheckedDone and the
// validity memo.

namespace {

// Condition children that only compare such values (logic blocks of them included); the other
// kinds that TestNode passes over do no harm, commands do.
bool PlainTests(const TDicNode& node) {
  for (int i = 0; i < node.Count(); ++i) {
    const TDicNode& child = node.Child(i);
    if (child.Disabled()) continue;
    switch (child.Kind()) {
    case nkCommand: return false;
    case nkLogic:
      if (!PlainTests(child)) return false;
      break;
    case nkCondition:
      if (!child.Value1() || !child.Value2() || !ReadsOnlyTheLine(*child.Value1()) || !ReadsOnlyTheLine(*child.Value2()))
        return false;
      break;
    default: break;
    }
  }
  return true;
}

} // namespace

// The nesting a plain node adds to the walk (a constant's evaluation counted), or -1.
int TGenerator::PlainDepth(const TDicNode& node) {
  qint32 depth = -1;
  if (node.Memo(depth)) return depth;
  depth = -1;
  const quint8 kind = node.Kind();
  if (kind == nkAnswer) {
    if (node.Value1() && node.Value1()->Kind() == vkText && PlainTests(node)) depth = 1;
  } else if (kind == nkRequest || (kind == nkOrder && node.Option() != okLoop)) {
    depth = 1;
    for (int i = 0; i < node.Count() && depth >= 0; ++i) {
      const TDicNode& child = node.Child(i);
      if (child.Disabled()) continue;
      const int below = PlainDepth(child);
      depth = below < 0 ? -1 : std::max(depth, below + 1);
    }
  }
  node.SetMemo(depth);
  return depth;
}

TValue* TGenerator::RunPlainBlock(TDicNode& node) {
  if (node.EnabledCount() == 0) return nullptr;
  if (node.Kind() == nkOrder && node.Option() == okRandom) {
    int iteration = 1;  // nothing in a plain block reads it
    return RunRandom(node, [this](TDicNode& child) { return ExecutePlainNode(child); }, iteration);
  }
  return RunDirect(node, [this](TDicNode& child) { return ExecutePlainNode(child); });
}

TValue* TGenerator::ExecutePlainNode(TDicNode& node) {
  CheckedValue = nullptr;
  if (IsStopped(false)) return nullptr;
  if (node.Kind() == nkOrder) return RunPlainBlock(node);
  TValue* value = node.Value1();
  CheckedDone = false;
  CheckedValue = value;
  if (node.EnabledCount() > 0 && !TestChildren(node)) return nullptr;
  if (!value->KnownValid(OptionsRevision())) {
    // A failure names the answer, as the full walk would.
    TDicNode* savedNode = CurrentNode;
    CurrentNode = &node;
    ValidateConstant(*value, true);
    CurrentNode = savedNode;
  }
  return value;
}

// ---- Values

QString TGenerator::Evaluate(TValue* value, bool validate) {
  if (!value) {
    Stop();
    return {};
  }
  TDepthGuard depth(*this);
  TValue* savedValue = CurrentValue;
  CurrentValue = value;
  QString result = value->Kind() == vkText ? value->Text() : value->Kind() == vkFunc ? EvaluateCall(*value) : QString();
  if (validate && !IsStopped(false)) ValidateResult(*value, result);
  CurrentValue = savedValue;
  return result;
}

void TGenerator::ValidateConstant(TValue& value, bool validate) {
  TDepthGuard depth(*this);
  TValue* savedValue = CurrentValue;
  CurrentValue = &value;
  if (validate && !IsStopped(false)) ValidateResult(value, value.Text());
  CurrentValue = savedValue;
}

// Evaluate for a reader that only looks at the text: a constant gives its own text (constants
// keep their texts while lines are generated), anything else is evaluated into scratch.
const QString& TGenerator::EvaluateView(TValue* value, bool validate, QString& scratch) {
  if (!value) return scratch = Evaluate(value, validate);
  if (value->Kind() == vkText) {
    CheckConstant(*value, validate);
    return value->Text();
  }
  if (m_depth < MaxNestingDepth && ReadsOnlyTheLine(*value)) {
    // A measure of the line is read at once: it takes no arguments and cannot fail, so the
    // call needs no bookkeeping; its validation keeps Evaluate's context.
    TValue* savedValue = CurrentValue;
    CurrentValue = value;
    scratch = CallStandardFunction(*this, value->Function()->Id(), TArgList(m_argStack, 0, 0));
    if (validate && !IsStopped(false)) value->Options()->Validate(scratch);
    CurrentValue = savedValue;
    return scratch;
  }
  return scratch = Evaluate(value, validate);
}

// A constant found valid stays valid until its text or any options change.
void TGenerator::ValidateResult(const TValue& value, const QString& result) {
  if (value.Kind() != vkText) {
    value.Options()->Validate(result);
    return;
  }
  const quint64 revision = OptionsRevision();
  if (value.KnownValid(revision)) return;
  value.Options()->Validate(result);
  value.SetKnownValid(revision);
}

QString TGenerator::EvaluateCall(TValue& value) {
  TFunction* savedFunction = CurrentFunction;
  CurrentFunction = value.Function();
  const size_t begin = m_argStack.size();
  const int count = std::min(value.ArgCount(), 255);
  for (int i = 0; i < count; ++i) {
    const int savedParam = CurrentParam;
    CurrentParam = i;
    QString text = Evaluate(&value.Arg(i), true);
    m_argStack.push_back({&value.ArgName(i), std::move(text)});
    CurrentParam = savedParam;
  }
  const TArgList args(m_argStack, begin, m_argStack.size());
  QString result;
  if (auto* link = value.Function()->Category() == fcLinks ? dynamic_cast<TLink*>(value.Function()) : nullptr)
    result = CallLink(*this, *link, args);
  else
    result = CallStandardFunction(*this, value.Function()->Id(), args);
  m_argStack.resize(begin);
  CurrentFunction = savedFunction;
  return result;
}

// ---- Lines

void TGenerator::ResetLine(const TNameValues& parameters) {
  m_idle.store(false, std::memory_order_release);
  m_reloadPending = false;
  CurrentNode = nullptr;
  CurrentFunction = nullptr;
  CurrentValue = nullptr;
  CurrentParam = -1;
  Parameters = &parameters;
  Ident.clear();
  BlockIteration = Position = PartCount = PartIndex = PassCount = PassIndex = 1;
  Sample.clear();
  CopyInto(Word, NoText());  // keeps the buffer for this line's words
  WordCount = WordIndex = WordLength = 1;
  m_blockStart = MonotonicMs();
  m_depth = m_baseDepth;
  m_argStack.clear();
  m_defaultAnswer = &NoText();  // a failed line may have left it on a request that is gone
  LineParse.Clear();
  Variables = parameters;
  Words.Clear();
  Postconditions.clear();
  Preconditions.clear();
}

void TGenerator::Generate(const TNameValues& parameters, TLineResult& result) {
  result = TLineResult();
  TGenerator* savedActive = ActiveGenerator();
  SetActiveGenerator(this);
  ResetLine(parameters);

  const QString templ = RaiseRequest(0, QString());
  static const QString kWord = QStringLiteral("Word");
  if (m_dictionary && m_dictionary->HasRequest(5)) {
    Words.Split(templ, [this](int p, QChar c) {
      Position = p;
      Sample.resize(1);
      Sample[0] = c;
      return RaiseRequest(5, kWord) == u"Spacer";
    });
  } else if (!templ.isEmpty()) {
    // Unanswered, every character is a word character: the template is one word.
    Words.SetSpacer(0, QString());
    Words.SetWord(1, templ);
    Position = int(templ.size());
    Sample = templ.back();
  }
  if (Words.Count() > 0) WordCount = Words.Count();
  WordCount = RaiseIntRequest(1, WordCount);

  if (WordCount >= 0) {
    for (int i = 0; i <= WordCount; ++i) {
      WordIndex = i;
      CopyInto(Word, Words.GetWord(i));
      if (i > 0 && !BuildWord(i)) return;
      // Unanswered, the spacer stays; setting it still makes room for it.
      const TValue* spacer = Answer(4, Words.GetSpacer(i));
      Words.SetSpacer(i, spacer ? spacer->Text() : Words.GetSpacer(i));
      if (IsStopped(false)) return;
    }
  }

  QString line = Words.Line();
  if (const TValue* change = Answer(34, line)) result.text = change->Text();
  else result.text = std::move(line);
  if (m_level == 0) {
    result.rating = quint8(RaiseIntRequest(40, 0));
    result.group = RaiseRequest(41, QString());
    result.checked = SameText(RaiseRequest(42, QStringLiteral("False")), u"True");
  }
  SetActiveGenerator(savedActive);
  m_idle.store(true, std::memory_order_release);
  if (m_reloadPending) Reload();
}

// Word i: given whole or built from parts, then reworked by the inset passes. False when the
// line is abandoned.
bool TGenerator::BuildWord(int index) {
  if (const TValue* whole = Answer(2, Word)) CopyInto(Word, whole->Text());
  if (Word.isEmpty()) {
    PartCount = RaiseIntRequest(8, 1);
    for (int k = 1; k <= PartCount; ++k) {
      PartIndex = k;
      if (const TValue* part = Answer(9, NoText())) AppendTo(Word, part->Text());
      if (IsStopped(false)) return false;
    }
    WordLength = int(Word.size());
  }
  PassCount = RaiseIntRequest(26, 1);
  if (m_dictionary && m_dictionary->HasRequest(32) && !Word.isEmpty() && PassCount > 0 && !InsetPasses())
    return false;
  WordLength = int(Word.size());
  Words.SetWord(index, Word);
  return true;
}

bool TGenerator::InsetPasses() {
  static const QString kPosition = QStringLiteral("Position");
  for (int s = 1; s <= PassCount; ++s) {
    WordLength = int(Word.size());
    QString marks(Word.size(), u'0');
    PassIndex = s;
    const bool byPosition = RaiseRequest(25, kPosition).compare(kPosition, Qt::CaseInsensitive) == 0;
    Ident = QStringLiteral("Minimal");
    const int minLen = RaiseIntRequest(24, 1);
    Ident = QStringLiteral("Maximal");
    const int maxLen = RaiseIntRequest(24, int(Word.size()));
    int len = maxLen;
    // A sample longer than the word would never come back to the first position by length.
    if (!byPosition && len > int(Word.size())) len = int(Word.size());
    Position = 1;
    bool last = false;
    while (!last) {
      WordLength = int(Word.size());
      if (len <= minLen && int(Word.size()) - len + 1 <= Position) last = true;
      CopyInto(Sample, SubstringView(Word, Position, len));  // the buffer serves every step
      QString r;
      if (!SubstringView(marks, Position, len).contains(u'1')) {
        r = RaiseRequest(32, Sample);
        r = RaiseRequest(35, r);
      } else {
        r = Sample;
      }
      if (r != Sample) {
        const qsizetype before = std::max(Position - 1, 0);
        const qsizetype after = std::clamp<qsizetype>(qsizetype(Position) - 1 + len, 0, marks.size());
        marks = marks.left(before) + QString(r.size(), u'1') + marks.mid(after);
        Word = WordStart(Word, Position) + r + WordEnd(Word, WordLength, Position, Sample);
        if (byPosition && r.size() != Sample.size()) {
          Position += int(r.size() - Sample.size());
          len = maxLen + 1;
        }
      }
      if (byPosition) {
        if (len > minLen) {
          --len;
        } else {
          len = maxLen;
          ++Position;
        }
        if (len > int(Word.size()) - Position + 1) len = int(Word.size()) - Position + 1;
      } else if (int(Word.size()) - len + 1 > Position) {
        ++Position;
      } else {
        Position = 1;
        --len;
      }
      if (IsStopped(true)) return false;
    }
  }
  return true;
}

} // namespace gs
