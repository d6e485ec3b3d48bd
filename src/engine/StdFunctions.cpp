// The standard functions of the catalogue, computed from their arguments and the generator's
// state. Integers are decimal texts; integer arguments are read with the engine's conversion.
#include "engine/DicFileList.h"
#include "engine/EngineErrors.h"
#include "engine/Generator.h"
#include "engine/Random.h"
#include "engine/TextFileList.h"
#include "formats/FileFunctions.h"
#include "formats/LangStr.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>

namespace gs {
namespace {

QString Number(qint64 value) {
  return IntegerText(qint32(value));
}

qint32 Int(const TArgList& args, QStringView name) {
  return ToInteger(args.Value(name));
}

// 32-bit arithmetic with wrap-around.
qint32 Wrap(qint64 value) {
  return qint32(quint32(quint64(value)));
}

// ---- Variables

void StoreVariable(TGenerator& g, const QString& ident, const QString& text) {
  if (text.isEmpty()) g.Variables.Remove(ident);
  else g.Variables.SetValue(ident, text);
}

// "Compute": a variable derived by the dictionary's "Compute" request, which sees none of
// the caller's common conditions.
QString Compute(TGenerator& g, const QString& ident) {
  std::vector<TDicNode*> pre = std::move(g.Preconditions), post = std::move(g.Postconditions);
  g.Preconditions.clear();
  g.Postconditions.clear();
  TValue* checked = g.CheckedValue;
  const bool done = g.CheckedDone;
  const QString savedIdent = g.Ident;
  g.Ident = ident;
  const QString result = g.RaiseRequest(48, QString());
  StoreVariable(g, ident, result);
  g.Preconditions = std::move(pre);
  g.Postconditions = std::move(post);
  g.CheckedValue = checked;
  g.CheckedDone = done;
  g.Ident = savedIdent;
  return result;
}

// "Checked Answer": the text of the answer under test, computed once.
QString CheckedAnswer(TGenerator& g) {
  TValue* v = g.CheckedValue;
  if (!v) return {};
  if (!g.CheckedDone) {
    v->SetComputedText(g.Evaluate(v, false));
    g.CheckedDone = true;
  }
  return v->Text();
}

// ---- Element lists

// Rounded to the nearest integer, halves to even.
qint32 Milli(double value) {
  return qint32(std::nearbyint(value * 1000));
}

QString ElementFunction(TGenerator& g, quint16 id, const TArgList& args) {
  const QString ident = args.Value(u"Ident");
  if (id == 59) {
    const QString text = args.Value(u"String");
    g.LineParse.Add(ident, text);
    return text;
  }
  TParseGroup* group = g.LineParse.FindGroup(ident);
  if (!group) return id == 57 || id == 63 ? QString() : Number(0);
  switch (id) {
  case 56: return Number(group->Count());
  case 57: return group->Item(Int(args, u"Index") - 1).Element;
  case 58: return Number(group->IndexOf(args.Value(u"String")) + 1);
  case 60: return Number(group->Item(Int(args, u"Index") - 1).Count);
  case 61: return Number(group->Count() ? group->Leader() + 1 : 0);
  case 63: return group->Count() ? group->Item(int(Random(quint32(group->Count())))).Element : QString();
  case 128:
  case 129: {
    const TParseItem& item = group->Item(Int(args, u"Index") - 1);
    group->ComputeStats();
    return Number(Milli(id == 128 ? item.Percent : item.Ratio));
  }
  default: return {};
  }
}

// ---- Strings

int EntryCount(const QString& string, const QString& substring) {
  if (substring.isEmpty()) return 0;  // the empty text would match everywhere without end
  const QString s = UpperCase(string), t = UpperCase(substring);
  int count = 0;
  for (qsizetype p = 0; p < s.size();) {
    if (QStringView(s).sliced(p).startsWith(t)) {
      ++count;
      p += t.size();
    } else {
      ++p;
    }
  }
  return count;
}

qint32 Search(const QString& string, const QString& substring) {
  if (substring.isEmpty()) return 0;
  return qint32(UpperCase(string).indexOf(UpperCase(substring)) + 1);
}

QString Replace(const QString& string, const QString& from, const QString& to) {
  if (from.isEmpty()) return string;
  const QString s = UpperCase(string), f = UpperCase(from);
  // Positions found in the upper-cased text are used in the original: where upper-casing
  // changed a length (such as "ß"), the search folds case instead.
  const bool aligned = s.size() == string.size() && f.size() == from.size();
  const auto find = [&](qsizetype from_) {
    return aligned ? s.indexOf(f, from_) : string.indexOf(from, from_, Qt::CaseInsensitive);
  };
  const qsizetype step = aligned ? f.size() : from.size();
  QString out;
  qsizetype p = 0;
  for (qsizetype hit; (hit = find(p)) >= 0; p = hit + step) {
    out += QStringView(string).sliced(p, hit - p);
    out += to;
  }
  out += QStringView(string).sliced(p);
  return out;
}

QString Repeat(const QString& string, qint32 count) {
  return count > 0 ? string.repeated(count) : QString();
}

QString Reverse(const QString& string) {
  QString reversed = string;
  std::reverse(reversed.begin(), reversed.end());
  return reversed;
}

// The case of c copied onto d: no case leaves d; an upper-case c upper-cases it.
QChar CopyCaseOf(QChar c, QChar d) {
  const QString upper = UpperCase(QString(c)), lower = LowerCase(QString(c));
  if (upper == lower) return d;
  const QString changed = upper == QString(c) ? UpperCase(QString(d)) : LowerCase(QString(d));
  return changed.size() == 1 ? changed.front() : d;
}

QString CopyCase(const QString& from, const QString& to, const QString& end) {
  QString result = to;
  const qsizetype common = std::min(from.size(), to.size());
  for (qsizetype i = 0; i < common; ++i) result[i] = CopyCaseOf(from[i], result[i]);
  if (to.size() > from.size() && !(from.isEmpty() && end.isEmpty())) {
    for (qsizetype i = from.size(); i < to.size(); ++i) {
      const QChar model = end.isEmpty() ? result[from.size() - 1] : end.front();
      result[i] = CopyCaseOf(model, result[i]);
    }
  }
  return result;
}

QString StringFunction(quint16 id, const TArgList& args) {
  const QString string = args.Value(u"String");
  switch (id) {
  case 35: return args.Value(u"Start") + string + args.Value(u"End");
  case 17: return Number(string.size());
  case 18: return Substring(string, Int(args, u"Start"), Int(args, u"Count"));
  case 19: return Substring(string, 1, Int(args, u"Count"));
  case 20: {
    const qint32 count = Int(args, u"Count");
    return count < 0 ? QString() : string.right(count);
  }
  case 21: return Number(EntryCount(string, args.Value(u"Substring")));
  case 22: return Number(Search(string, args.Value(u"Substring")));
  case 23: return Replace(string, args.Value(u"From"), args.Value(u"To"));
  case 24: return Repeat(string, Int(args, u"Count"));
  case 25: return Reverse(string);
  case 30: return WordScheme(string);
  case 32: return UpperCase(string);
  case 33: return LowerCase(string);
  case 34: return CopyCase(args.Value(u"From"), args.Value(u"To"), args.Value(u"End"));
  case 47: return string.isEmpty() ? QString() : QString(string[qsizetype(Random(quint32(string.size())))]);
  default: return {};
  }
}

// ---- Arithmetic

QString Arithmetic(quint16 id, const TArgList& args) {
  if (id == 15) return Number(qint64(Random(quint32(Int(args, u"Range")))) + 1);
  if (id == 5) {
    const qint64 v = Int(args, u"Value");
    return Number(Wrap(v * v));
  }
  const qint64 a = Int(args, u"Value1"), b = Int(args, u"Value2");
  switch (id) {
  case 0: return Number(Wrap(a + b));
  case 1: return Number(Wrap(a - b));
  case 2: return Number(Wrap(a * b));
  case 3:
  case 4:
    if (b == 0) throw EDivByZeroError();
    return Number(Wrap(id == 3 ? a / b : a % b));  // 64 bits: INT32_MIN / -1 wraps, not traps
  default: return {};
  }
}

// ---- Text files

const TFileLines& FileOf(TGenerator& g, const TArgList& args) {
  return TextFileList().Get(ExpandRelative(g.DicFile(), args.Value(u"FileName")));
}

QString FileFunction(TGenerator& g, quint16 id, const TArgList& args) {
  if (id == 144) return FileTitle(args.Value(u"FileName"));
  const TFileLines& lines = FileOf(g, args);
  switch (id) {
  case 48: return Number(lines.Count());
  case 49: {
    const qint32 index = Int(args, u"Index");
    return index >= 1 && index <= lines.Count() ? lines.Line(index - 1) : QString();
  }
  case 50: return Number(lines.IndexOf(args.Value(u"String")) + 1);
  case 55: return lines.Count() ? lines.Line(int(Random(quint32(lines.Count())))) : QString();
  default: return {};
  }
}

} // namespace

bool IntegerMeasure(const TGenerator& g, quint16 id, qint32& value) {
  switch (id) {
  case 69: value = g.WordCount; return true;
  case 70: value = g.WordIndex; return true;
  case 71: value = g.WordLength; return true;
  case 72: value = g.Position; return true;
  case 80: value = g.PartCount; return true;
  case 81: value = g.PartIndex; return true;
  case 86: value = g.PassCount; return true;
  case 87: value = g.PassIndex; return true;
  case 96: value = LengthToEnd(g.WordLength, g.Position, g.Sample); return true;
  default: return false;
  }
}

// Numbers without a row (26 to 29, 31, 73, 79 and any other) give the empty text.
QString CallStandardFunction(TGenerator& g, quint16 id, const TArgList& args) {
  switch (id) {
  case 67: return g.Variables.Value(args.Value(u"Ident"));
  case 65: {
    const QString text = args.Value(u"String");
    StoreVariable(g, args.Value(u"Ident"), text);
    return text;
  }
  case 66: return Compute(g, args.Value(u"Ident"));
  case 68: return g.Words.Line();
  case 84: return g.Words.GetWord(Int(args, u"Index"));
  case 85: return g.Words.GetSpacer(Int(args, u"Index"));
  case 69: case 70: case 71: case 72: case 80: case 81: case 86: case 87: case 96: {
    qint32 value = 0;
    IntegerMeasure(g, id, value);
    return Number(value);
  }
  case 74: return g.Word;
  case 97: return WordStart(g.Word, g.Position);
  case 98: return WordEnd(g.Word, g.WordLength, g.Position, g.Sample);
  case 99: return WordScheme(g.Word);
  case 100: return WordScheme(WordStart(g.Word, g.Position));
  case 101: return WordScheme(WordEnd(g.Word, g.WordLength, g.Position, g.Sample));
  case 76: return g.Sample;
  case 56: case 57: case 58: case 59: case 60: case 61: case 63: case 128: case 129:
    return ElementFunction(g, id, args);
  case 16: return args.Value(u"String1") + args.Value(u"String2");
  case 35: case 17: case 18: case 19: case 20: case 21: case 22: case 23: case 24: case 25:
  case 30: case 32: case 33: case 34: case 47:
    return StringFunction(id, args);
  case 0: case 1: case 2: case 3: case 4: case 5: case 15:
    return Arithmetic(id, args);
  case 48: case 49: case 50: case 55: case 144:
    return FileFunction(g, id, args);
  case 112: return Number(g.Level() + 1);
  case 113: return Number(CurrentLanguage());
  case 78: return Number(g.BlockIteration);
  case 83: return Number(g.Chance);
  case 89: return Number(g.DrawChance());
  case 77: return CheckedAnswer(g);
  case 82: return g.DefaultAnswer();
  case 75: return g.Ident;
  case 88: g.Stop(); return {};
  default: return {};
  }
}

} // namespace gs
