#include "model/Values.h"

#include "model/Functions.h"
#include "model/Limits.h"
#include "model/Links.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "shell/LangFrm.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace gs {

// ---- TValue

TValue::TValue(TValueKind kind)
    : m_kind(kind), m_function(DefaultFunction()), m_options(StdOptions().eoString.get()) {
  if (kind == vkFunc) RebuildArgs();
}

TValue::~TValue() = default;

void TValue::Wire(TValue& arg) {
  arg.OnChanging = [this](TValue&) { if (!m_updating) Changing(); };
  arg.OnChange = [this](TValue&) { if (!m_updating) Changed(); };
}

void TValue::AddArg(const QString& name, std::unique_ptr<TValue> value) {
  Wire(*value);
  m_args.push_back({name, std::move(value)});
}

void TValue::Assign(const TValue& source) {
  if (&source == this) return;
  Changing();
  m_function = source.m_function;
  m_kind = source.m_kind;
  TreeChanged();
  m_options = source.m_options;
  m_text = source.m_text;
  TextChanged();
  m_args.clear();
  for (const TValueItem& item : source.m_args) {
    auto copy = std::make_unique<TValue>();
    copy->Assign(*item.value);
    AddArg(item.name, std::move(copy));
  }
  Changed();
}

bool TValue::SameAs(const TValue& other) const {
  if (m_kind != other.m_kind) return false;
  if (m_kind == vkText) return m_text == other.m_text;
  if (m_kind != vkFunc) return false;
  if (m_function != other.m_function || m_args.size() != other.m_args.size()) return false;
  for (size_t i = 0; i < m_args.size(); ++i) {
    if (!SameText(m_args[i].name, other.m_args[i].name)) return false;
    if (!m_args[i].value->SameAs(*other.m_args[i].value)) return false;
  }
  return true;
}

TValue* TValue::ArgByName(QStringView name) const {
  for (const TValueItem& item : m_args)
    if (SameText(item.name, name)) return item.value.get();
  return nullptr;
}

void TValue::SetKind(quint8 kind) {
  if (kind == m_kind) return;
  Changing();
  m_kind = kind;
  m_validAt = 0;
  TreeChanged();
  if (kind == vkFunc) RebuildArgs();
  Changed();
}

void TValue::SetFunction(TFunction* function) {
  if (function == m_function) return;
  Changing();
  m_function = function;
  RebuildArgs();
  Changed();
}

void TValue::SetText(const QString& text) {
  const QString candidate = m_options->Correct(text);
  if (candidate == m_text) return;
  Changing();
  m_text = candidate;
  TextChanged();
  Changed();
}

void TValue::SetOptions(TEditorOptions* options) {
  if (options == m_options) return;
  const TEditorOptions* previous = m_options;
  m_options = options;
  m_validAt = 0;
  if (m_text == previous->Default().DisplayText()) SetText(QString());
  else SetText(m_text);
}

void TValue::Validate() const {
  m_options->Validate(m_text);
}

// True when the arguments are already the parameters, in order and by name.
static bool ArgsMatch(const std::vector<TValueItem>& args, const TFunction* function) {
  const int count = function ? function->ParamCount() : 0;
  if (int(args.size()) != count) return false;
  for (int p = 0; p < count; ++p)
    if (args[p].name != function->ParamName(p)) return false;
  return true;
}

void TValue::RebuildArgs() {
  m_updating = true;
  if (ArgsMatch(m_args, m_function)) {
    // The common case after reading: nothing to move, only the options to give.
    for (int p = 0; p < int(m_args.size()); ++p) {
      m_args[p].value->SetOptions(m_function->ParamOptions(p));
      m_args[p].value->RebuildArgs();
    }
    m_updating = false;
    return;
  }
  std::vector<TValueItem> rebuilt;
  const int count = m_function ? m_function->ParamCount() : 0;
  rebuilt.reserve(count);
  for (int p = 0; p < count; ++p) {
    const QString& name = m_function->ParamName(p);
    std::unique_ptr<TValue> arg;
    for (TValueItem& old : m_args) {
      if (old.value && SameText(old.name, name)) {
        arg = std::move(old.value);
        break;
      }
    }
    if (!arg) {
      arg = std::make_unique<TValue>();
      arg->SetText(m_function->ParamOptions(p)->Default().DisplayText());
      Wire(*arg);
    }
    arg->SetOptions(m_function->ParamOptions(p));
    arg->RebuildArgs();
    rebuilt.push_back({name, std::move(arg)});
  }
  m_args = std::move(rebuilt);
  m_updating = false;
}

void TValue::Refresh() {
  Changing();
  RebuildArgs();
  Changed();
}

int TValue::ReplaceFunction(const TFunction* oldFunction, TFunction* newFunction) {
  int count = 0;
  if (m_function == oldFunction) {
    SetFunction(newFunction);
    ++count;
  }
  for (TValueItem& item : m_args) count += item.value->ReplaceFunction(oldFunction, newFunction);
  return count;
}

void TValue::RelinkLinks(TLinks& links) {
  auto* link = m_function->Category() == fcLinks ? dynamic_cast<TLink*>(m_function) : nullptr;
  if (link && !links.Contains(link)) {
    auto copy = std::make_unique<TLink>();
    copy->Assign(*link);
    SetFunction(links.Add(std::move(copy)));
  }
  for (TValueItem& item : m_args) item.value->RelinkLinks(links);
}

namespace {
std::atomic<quint64> g_treeRevision{1};
} // namespace

quint64 TreeRevision() {
  return g_treeRevision.load(std::memory_order_acquire);
}

void TreeChanged() {
  g_treeRevision.fetch_add(1, std::memory_order_acq_rel);
}

void TValue::ReadInteger() const {
  const std::optional<qint32> value = StrToIntOpt(m_text);
  m_integer = value.value_or(0);
  m_integerState = value ? kIntegerKnown : kNoInteger;
}

void TValue::ReadFrom(TStreamReader& stream, const TLinks* links, int depth) {
  if (depth > MaxNestingDepth) stream.Fail();
  TextChanged();
  TreeChanged();
  m_kind = stream.ReadU8();
  if (m_kind == vkText) m_text = stream.ReadWideText();
  else if (m_kind == vkFunc) ReadCall(stream, links, depth);
}

namespace {

// The name of a stored argument. A name that is one of the function's parameters shares the
// parameter's text, so reading allocates no name of its own.
QString ArgumentName(QByteArrayView bytes, const TFunction* function) {
  if (function) {
    for (int p = 0; p < function->ParamCount(); ++p)
      if (QLatin1StringView(bytes) == function->ParamName(p)) return function->ParamName(p);
  }
  return AnsiToUnicode(bytes);
}

} // namespace

void TValue::ReadCall(TStreamReader& stream, const TLinks* links, int depth) {
  const qint64 idPosition = stream.Position();
  quint16 id = stream.ReadU16();
  if (id == 64) id = 67;
  const bool oldScheme = id == 99 || id == 100 || id == 101;
  TFunction* function = id >= 256 ? (links ? links->Get(id) : nullptr) : StdFuncs().Get(oldScheme ? 30 : id);
  m_args.clear();
  const int count = stream.ReadU8();
  m_args.reserve(size_t(stream.CheckCount(count, 2)));  // a name byte and a kind byte at least
  for (int i = 0; i < count; ++i) {
    const QByteArrayView bytes = stream.ReadBytes(stream.ReadU8());
    QString name = id == 21 && bytes == "Char" ? QStringLiteral("Substring") : ArgumentName(bytes, function);
    auto arg = std::make_unique<TValue>();
    arg->ReadFrom(stream, links, depth + 1);
    AddArg(name, std::move(arg));
  }
  if (oldScheme) {
    // The old word-scheme functions are Scheme of Word, Word Start or Word End.
    SetFunction(function);
    TValue* string = ArgByName(u"String");
    string->SetKind(vkFunc);
    string->SetFunction(StdFuncs().Get(id == 99 ? 74 : id == 100 ? 97 : 98));
    return;
  }
  if (!function) stream.FailAt(idPosition);
  if (function == m_function) RebuildArgs();  // arguments read must still match the parameters
  else SetFunction(function);
}

void TValue::WriteTo(TStreamWriter& stream) const {
  stream.WriteU8(m_kind);
  if (m_kind == vkText) {
    stream.WriteWideText(m_text);
  } else if (m_kind == vkFunc) {
    stream.WriteU16(m_function->Id());
    const int count = std::min(ArgCount(), 255);
    stream.WriteU8(quint8(count));
    for (int i = 0; i < count; ++i) {
      stream.WriteShortAnsi(m_args[i].name);
      m_args[i].value->WriteTo(stream);
    }
  }
}

// ---- Display

namespace {

std::mutex g_libraryMutex;
TLibraryTitleLookup g_libraryTitle;

QString ConstantForm(const TValue& value) {
  return value.Options()->DisplayConstant(value.Text());
}

bool IsBareNumber(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar ch : text)
    if (!(ch.isDigit() && ch.unicode() < 128) && ch != u'-') return false;
  return StrToIntOpt(text).has_value();
}

QString ArgExpression(const TValue& value, QStringView name) {
  const TValue* arg = value.ArgByName(name);
  return arg ? ExpressionText(*arg) : QString();
}

QString ArgShown(const TValue& value, QStringView name) {
  const TValue* arg = value.ArgByName(name);
  return arg ? ShownForm(*arg) : QString();
}

QString Infix(const TValue& value, QStringView left, const char16_t* sign, QStringView right) {
  return ArgExpression(value, left) + QString::fromUtf16(sign) + ArgExpression(value, right);
}

} // namespace

void SetLibraryTitleLookup(TLibraryTitleLookup lookup) {
  std::lock_guard lock(g_libraryMutex);
  g_libraryTitle = std::move(lookup);
}

QString ShownForm(const TValue& value) {
  return value.Kind() == vkFunc ? ExpressionText(value) : ConstantForm(value);
}

QString ExpressionText(const TValue& value) {
  if (value.Kind() != vkFunc) {
    const QString shown = ConstantForm(value);
    return IsBareNumber(shown) ? shown : u'«' + shown + u'»';
  }
  const TFunction* f = value.Function();
  const TValue* ident = value.ArgByName(u"Ident");
  switch (f->Id()) {
  case 64:
  case 67:
    if (ident && ident->Kind() == vkText) return u'<' + ShownForm(*ident) + u'>';
    break;
  case 0: return Infix(value, u"Value1", u" + ", u"Value2");
  case 1: return Infix(value, u"Value1", u" - ", u"Value2");
  case 2: return Infix(value, u"Value1", u" * ", u"Value2");
  case 3: return Infix(value, u"Value1", u" / ", u"Value2");
  case 16: return Infix(value, u"String1", u" & ", u"String2");
  case 65: return u'<' + ArgShown(value, u"Ident") + QStringLiteral("> = ") + ArgExpression(value, u"String");
  default: break;
  }
  if (value.ArgCount() == 0) return f->Title().DisplayText();
  QStringList args;
  for (int i = 0; i < value.ArgCount(); ++i) args.append(ExpressionText(value.Arg(i)));
  return f->Title().DisplayText() + QStringLiteral(" (") + args.join(QStringLiteral(", ")) + u')';
}

QString CellText(const TValue& value) {
  const QString shown = ShownForm(value);
  if (shown.isEmpty()) return u'<' + LangString(TLangSection::Strings, 0) + u'>';
  if (value.Options()->Style() == esFileName && !ExtractFileDir(shown).isEmpty()) {
    QString title;
    {
      std::lock_guard lock(g_libraryMutex);
      if (g_libraryTitle) title = g_libraryTitle(shown);
    }
    return u'<' + (title.isEmpty() ? ExtractFileName(shown) : title) + u'>';
  }
  if (std::all_of(shown.begin(), shown.end(), [](QChar ch) { return ch == u' '; }))
    return u'<' + LangString(TLangSection::Strings, 1) + QStringLiteral("> (") + QString::number(shown.size()) + u')';
  return shown;
}

// ---- TVariables

TVariables::TVariables() {
  UpdateNamesOptions();
}

void TVariables::Add(const QString& name, const TLangStr& title, bool isParameter, const TLangStr& hint,
                     const TEditorOptions& options) {
  if (Count() >= 255) return;  // the count is one byte in the file
  auto v = std::make_unique<TVariable>();
  v->name = name;
  v->title.AssignFrom(title);
  v->options = std::make_unique<TEditorOptions>();
  v->options->Assign(options);
  v->hint.AssignFrom(hint);
  v->isParameter = isParameter;
  m_items.push_back(std::move(v));
  UpdateNamesOptions();
}

void TVariables::Delete(int index) {
  m_items.erase(m_items.begin() + index);
  UpdateNamesOptions();
}

void TVariables::Clear() {
  m_items.clear();
  UpdateNamesOptions();
}

void TVariables::Exchange(int i, int j) {
  std::swap(m_items[i], m_items[j]);
  UpdateNamesOptions();
}

void TVariables::SetName(int index, const QString& name) {
  m_items[index]->name = name;
  UpdateNamesOptions();
}

void TVariables::SetTitle(int index, const TLangStr& title) {
  m_items[index]->title.AssignFrom(title);
  UpdateNamesOptions();
}

void TVariables::SetHint(int index, const TLangStr& hint) {
  m_items[index]->hint.AssignFrom(hint);
}

void TVariables::SetIsParameter(int index, bool isParameter) {
  m_items[index]->isParameter = isParameter;
}

void TVariables::SetOptions(int index, const TEditorOptions& options) {
  m_items[index]->options->Assign(options);
}

QString TVariables::DisplayName(int index) const {
  const QString title = m_items[index]->title.DisplayText();
  return title.isEmpty() ? m_items[index]->name : title;
}

int TVariables::IndexOf(QStringView name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(m_items[i]->name, name)) return i;
  return -1;
}

QString TVariables::DefaultOf(QStringView name) const {
  const int i = IndexOf(name);
  return i < 0 ? QString() : m_items[i]->options->Default().DisplayText();
}

TEditorOptions* TVariables::OptionsOf(QStringView name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : m_items[i]->options.get();
}

void TVariables::FillDefaults(TNameValues& list) const {
  for (const auto& v : m_items) {
    const QString def = v->options->Default().DisplayText();
    if (def.isEmpty()) list.Append(v->name, QString());
    else list.SetValue(v->name, def);
  }
}

void TVariables::Assign(const TVariables& source) {
  if (&source == this) return;
  m_items.clear();
  for (const auto& v : source.m_items) {
    auto copy = std::make_unique<TVariable>();
    copy->name = v->name;
    copy->title.AssignFrom(v->title);
    copy->options = std::make_unique<TEditorOptions>();
    copy->options->Assign(*v->options);
    copy->hint.AssignFrom(v->hint);
    copy->isParameter = v->isParameter;
    m_items.push_back(std::move(copy));
  }
  UpdateNamesOptions();
}

// Rebuilt from scratch. Every language that any title has gets one alias line per variable,
// so that line i always belongs to variable i: a variable without a title in that language
// shows its English title there, or its name.
void TVariables::UpdateNamesOptions() {
  TEditorOptions& o = m_namesOptions;
  o.SetFixed(false);
  o.AliasList().Clear();
  o.Default().Clear();
  QStringList names;
  std::vector<quint16> languages;
  for (const auto& v : m_items) {
    names.append(v->name);
    for (const TLangStr::TEntry& e : v->title.Entries())
      if (std::find(languages.begin(), languages.end(), e.id) == languages.end()) languages.push_back(e.id);
  }
  o.PickList().SetItems(names);
  o.SetDefault(names.isEmpty() ? QString() : names.front());
  for (quint16 lang : languages) {
    QStringList lines;
    for (const auto& v : m_items) {
      QString line = v->title.GetText(lang);
      if (line.isEmpty()) line = v->title.EnglishText();
      if (line.isEmpty()) line = v->name;
      lines.append(line);
    }
    o.AliasList().SetText(lang, lines.join(QStringLiteral("\r\n")));
  }
  o.SetFixed(true);
}

void TVariables::ReadFrom(TStreamReader& stream, quint8 formatVersion, TVersion version) {
  m_items.clear();
  const int count = stream.ReadU8();
  const bool hasParameterFlag = CompareVersion(version, {2, 2}) >= 0;
  for (int i = 0; i < count; ++i) {
    auto v = std::make_unique<TVariable>();
    v->name = stream.ReadShortAnsi();
    ReadLangStr(stream, formatVersion, v->title);
    v->options = std::make_unique<TEditorOptions>();
    v->options->ReadFrom(stream, formatVersion, version);
    ReadLangStr(stream, formatVersion, v->hint);
    v->isParameter = hasParameterFlag ? stream.ReadU8() != 0 : true;
    m_items.push_back(std::move(v));
  }
  UpdateNamesOptions();
}

void TVariables::WriteTo(TStreamWriter& stream) const {
  stream.WriteU8(quint8(Count()));
  for (const auto& v : m_items) {
    stream.WriteShortAnsi(v->name);
    v->title.WriteTo(stream);
    v->options->WriteTo(stream);
    v->hint.WriteTo(stream);
    stream.WriteU8(v->isParameter ? 1 : 0);
  }
}

} // namespace gs
