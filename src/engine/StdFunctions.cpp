// The standard functions of the catalogue, computed from their arguments and the generator's
// state.
#include "engine/EngineErrors.h"
#include "engine/Generator.h"
#include "formats/LangStr.h"

namespace gs {
namespace {

QString Number(qint32 value) {
  return IntegerText(value);
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
  if (result.isEmpty()) g.Variables.Remove(ident);
  else g.Variables.SetValue(ident, result);
  g.Preconditions = std::move(pre);
  g.Postconditions = std::move(post);
  g.CheckedValue = checked;
  g.CheckedDone = done;
  g.Ident = savedIdent;
  return result;
}

QString Assign(TGenerator& g, const QString& ident, const QString& text) {
  if (text.isEmpty()) g.Variables.Remove(ident);
  else g.Variables.SetValue(ident, text);
  return text;
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

} // namespace

// FIXME: the parse, string (but "Concat"), mathematic and file functions are still to come;
// until then they give the empty text, as an id without an implementation does.
QString CallStandardFunction(TGenerator& g, quint16 id, const TArgList& args) {
  switch (id) {
  case 67: return g.Variables.Value(args.Value(u"Ident"));
  case 65: return Assign(g, args.Value(u"Ident"), args.Value(u"String"));
  case 66: return Compute(g, args.Value(u"Ident"));
  case 16: return args.Value(u"String1") + args.Value(u"String2");
  case 68: return g.Words.Line();
  case 84: return g.Words.GetWord(ToInteger(args.Value(u"Index")));
  case 85: return g.Words.GetSpacer(ToInteger(args.Value(u"Index")));
  case 69: return Number(g.WordCount);
  case 70: return Number(g.WordIndex);
  case 74: return g.Word;
  case 71: return Number(g.WordLength);
  case 97: return WordStart(g.Word, g.Position);
  case 98: return WordEnd(g.Word, g.WordLength, g.Position, g.Sample);
  case 99: return WordScheme(g.Word);
  case 100: return WordScheme(WordStart(g.Word, g.Position));
  case 101: return WordScheme(WordEnd(g.Word, g.WordLength, g.Position, g.Sample));
  case 80: return Number(g.PartCount);
  case 81: return Number(g.PartIndex);
  case 86: return Number(g.PassCount);
  case 87: return Number(g.PassIndex);
  case 72: return Number(g.Position);
  case 76: return g.Sample;
  case 96: return Number(LengthToEnd(g.WordLength, g.Position, g.Sample));
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
