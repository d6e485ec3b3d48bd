#include "model/EO.h"

#include "platform/Text.h"
#include "shell/FileFilter.h"
#include "shell/LangFrm.h"

#include <algorithm>
#include <atomic>

namespace gs {

// ---- TPickList

int TPickList::IndexOf(QStringView text) const {
  for (int i = 0; i < m_items.size(); ++i)
    if (SameText(m_items[i], text)) return i;
  return -1;
}

void TPickList::SetItems(const QStringList& items) {
  if (items == m_items) return;
  m_items = items;
  Changed();
}

void TPickList::Add(const QString& item) {
  m_items.append(item);
  Changed();
}

void TPickList::Delete(int index) {
  m_items.removeAt(index);
  Changed();
}

void TPickList::Clear() {
  if (m_items.isEmpty()) return;
  m_items.clear();
  Changed();
}

QString TPickList::Text() const {
  QString text;
  for (const QString& item : m_items) text += item + QStringLiteral("\r\n");
  return text;
}

QStringList TPickList::SplitLinesOf(QStringView text) {
  return SplitLines(text);
}

// ---- TEditorOptions

namespace {
std::atomic<quint64> g_optionsRevision{1};
} // namespace

quint64 OptionsRevision() {
  return g_optionsRevision.load(std::memory_order_acquire);
}

void TEditorOptions::Touch() {
  g_optionsRevision.fetch_add(1, std::memory_order_acq_rel);
}

TEditorOptions::TEditorOptions(TEditorStyle style) : m_style(style) {
  m_pickList.OnChange = [this] { Recorrect(); };
  m_default.SetCurrentText(Correct(QString()));
}

void TEditorOptions::Recorrect() {
  Touch();
  m_default.SetCurrentText(Correct(m_default.DisplayText()));
}

void TEditorOptions::SetStyle(TEditorStyle style) {
  if (style == m_style) return;
  Touch();
  m_style = style;
  m_default.SetCurrentText(Correct(QString()));
}

void TEditorOptions::SetFixed(bool fixed) {
  if (fixed == m_fixed) return;
  m_fixed = fixed;
  Recorrect();
}

void TEditorOptions::SetFilter(const QString& filter) {
  if (filter == m_filter || m_style != esString) return;
  m_filter = filter;
  Recorrect();
}

void TEditorOptions::SetExclude(bool exclude) {
  if (exclude == m_exclude || m_style != esString) return;
  m_exclude = exclude;
  Recorrect();
}

void TEditorOptions::SetMaxLength(qint32 maxLength) {
  if (maxLength == m_maxLength || m_style != esString) return;
  m_maxLength = maxLength;
  Recorrect();
}

void TEditorOptions::SetMinimal(qint32 minimal) {
  if (minimal == m_minimal) return;
  m_minimal = minimal;
  if (m_minimal > m_maximal) m_maximal = m_minimal;
  Recorrect();
}

void TEditorOptions::SetMaximal(qint32 maximal) {
  if (maximal == m_maximal) return;
  m_maximal = maximal;
  if (m_maximal < m_minimal) m_minimal = m_maximal;
  Recorrect();
}

void TEditorOptions::Assign(const TEditorOptions& source) {
  if (&source == this) return;
  Touch();
  m_style = source.m_style;
  // The copied default is kept as it is: the items arrive without re-correction.
  auto onChange = std::move(m_pickList.OnChange);
  m_pickList.SetItems(source.m_pickList.Items());
  m_pickList.OnChange = std::move(onChange);
  m_fixed = source.m_fixed;
  m_aliasList.AssignFrom(source.m_aliasList);
  m_default.AssignFrom(source.m_default);
  m_filter = source.m_filter;
  m_exclude = source.m_exclude;
  m_maxLength = source.m_maxLength;
  m_minimal = source.m_minimal;
  m_maximal = source.m_maximal;
  m_fileDescription.AssignFrom(source.m_fileDescription);
  m_fileMask = source.m_fileMask;
}

namespace {
// Characters a file or folder name may not hold.
constexpr char16_t kPathForbidden[] = u"/*?\"<>|";
}

QStringView TEditorOptions::EffectiveFilterView() const {
  switch (m_style) {
  case esString: return m_filter;
  case esInteger: return u"0123456789-";
  default: return kPathForbidden;
  }
}

bool TEditorOptions::EffectiveExclude() const {
  switch (m_style) {
  case esString: return m_exclude;
  case esInteger: return false;
  default: return true;
  }
}

qint32 TEditorOptions::EffectiveMaxLength() const {
  switch (m_style) {
  case esString: return m_maxLength;
  case esInteger: return 11;
  default: return 0;
  }
}

namespace {

// Upper case of one character, with ASCII done inline: filters are mostly ASCII.
inline char16_t Upper(char16_t c) {
  if (c < 128) return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
  return QChar::toUpper(c);
}

} // namespace

// Compares character by character, so that values are checked without building strings.
bool TEditorOptions::PassesFilter(QStringView text, bool upperCase) const {
  if (text.isEmpty() || (m_style == esString && m_filter.isEmpty())) return true;
  if (m_style == esInteger) {
    // The usual integer text passes without the general loop: digits and "-" are their own
    // upper case.
    const auto plain = [](QChar ch) { return (ch >= u'0' && ch <= u'9') || ch == u'-'; };
    if (std::all_of(text.begin(), text.end(), plain)) return true;
  }
  const QStringView filter = EffectiveFilterView();
  if (filter.isEmpty()) return true;
  const bool exclude = EffectiveExclude();
  for (QChar ch : text) {
    const char16_t c = upperCase ? Upper(ch.unicode()) : ch.unicode();
    bool found = false;
    for (QChar f : filter) {
      if ((upperCase ? Upper(f.unicode()) : f.unicode()) == c) {
        found = true;
        break;
      }
    }
    if (found == exclude) return false;
  }
  return true;
}

QString TEditorOptions::FilteredDefault() const {
  QString out;
  for (QChar ch : m_default.DisplayText())
    if (PassesFilter(QStringView(&ch, 1))) out += ch;
  return out;
}

QString TEditorOptions::Correct(const QString& input) const {
  qsizetype crlf = input.indexOf(u'\r');
  while (crlf >= 0 && (crlf + 1 >= input.size() || input[crlf + 1] != u'\n')) crlf = input.indexOf(u'\r', crlf + 1);
  QString text = crlf < 0 ? input : input.left(crlf);
  if (!m_fixed) return CorrectUnfixed(std::move(text));
  if (m_pickList.IndexOf(text) >= 0) return text;
  if (m_pickList.Count() == 0) return {};
  const QString def = m_default.DisplayText();
  return m_pickList.IndexOf(def) >= 0 ? def : m_pickList[0];
}

QString TEditorOptions::CorrectUnfixed(QString text) const {
  if (m_style == esString && m_maxLength <= 0 && m_filter.isEmpty()) return text;
  const qint32 maxLength = EffectiveMaxLength();
  if (maxLength > 0 && text.size() > maxLength) text = m_default.DisplayText().left(maxLength);
  if (!PassesFilter(text)) text = FilteredDefault();
  if (m_style == esInteger) {
    qsizetype zeros = 0;
    while (zeros < text.size() && text[zeros] == u'0') ++zeros;
    if (zeros > 0) text.remove(0, zeros);  // removing nothing would still copy a shared text
    if (text.isEmpty()) text = QStringLiteral("0");
    const auto number = StrToIntOpt(text);
    if (!number) return QString::number(m_minimal);
    if (*number < m_minimal) return QString::number(m_minimal);
    if (*number > m_maximal) return QString::number(m_maximal);
    return text;
  }
  if (m_style == esDirectory) {
    // Folder texts are stored paths: they end in exactly one backslash.
    while (!text.isEmpty() && text.back() == u'\\') text.chop(1);
    text += u'\\';
  }
  return text;
}

void TEditorOptions::ValidateText(const QString& text) const {
  if (m_fixed) {
    if (m_pickList.IndexOf(text) < 0) throw EEOException(this, text, 0);
    return;
  }
  const qint32 maxLength = EffectiveMaxLength();
  if (maxLength > 0 && text.size() > maxLength) throw EEOException(this, text, 2);
  if (!PassesFilter(text)) throw EEOException(this, text, 1);
  if (m_style != esInteger) return;
  const auto number = StrToIntOpt(text);
  if (!number) throw EEOException(this, text, 3);
  if (*number < m_minimal) throw EEOException(this, text, 4);
  if (*number > m_maximal) throw EEOException(this, text, 5);
}

QString EOMessage(const EEOException& error) {
  const TEditorOptions* o = error.Options();
  const QString& value = error.Value();
  switch (error.Code()) {
  case 0:
    return FormatLang(LangMessage(610), {value, o ? o->PickList().Items().join(QStringLiteral(", ")) : QString()});
  case 1:
    if (o && o->EffectiveExclude()) return FormatLang(LangMessage(612), {value, o->EffectiveFilter()});
    return FormatLang(LangMessage(613), {value, o ? o->EffectiveFilter() : QString()});
  case 2:
    return FormatLang(LangMessage(611), {value, QString::number(o ? o->EffectiveMaxLength() : 0)});
  case 3:
    return FormatLang(LangMessage(614), {value});
  case 4:
  case 5: {
    const QString number = QString::number(StrToIntDef(value, 0));
    const qint32 limit = o ? (error.Code() == 4 ? o->Minimal() : o->Maximal()) : 0;
    return FormatLang(LangMessage(error.Code() == 4 ? 615 : 616), {number, QString::number(limit)});
  }
  }
  return value;
}

QString TEditorOptions::DisplayConstant(const QString& text) const {
  const int index = m_pickList.IndexOf(text);
  if (index < 0) return text;
  const QString aliases = m_aliasList.DisplayText();
  if (aliases.count(u'\r') < index) return text;
  QStringList pieces;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= aliases.size(); ++i) {
    if (i < aliases.size() && aliases[i] != u'\r' && aliases[i] != u'\n') continue;
    if (i > start) pieces.append(aliases.mid(start, i - start));
    start = i + 1;
  }
  return index < pieces.size() ? pieces[index] : text;
}

QString TEditorOptions::DialogFilter() const {
  return m_fileDescription.DisplayText() + u'|' + m_fileMask;
}

void TEditorOptions::SetFileFilter(QStringView filter) {
  const QList<QStringView> pieces = filter.split(u'|', Qt::SkipEmptyParts);
  if (pieces.size() > 0) m_fileDescription.SetEnglishText(pieces[0].toString());
  if (pieces.size() > 1) m_fileMask = pieces[1].toString();
}

bool TEditorOptions::AllowsChar(QChar ch) const {
  switch (ch.unicode()) {
  case 1: case 3: case 8: case 22: case 24: case 26: return true;
  default: return PassesFilter(QStringView(&ch, 1));
  }
}

bool TEditorOptions::AllowsText(QStringView text) const {
  return PassesFilter(text, false);
}

} // namespace gs

// ---- The options record

namespace gs {

void TEditorOptions::ReadFrom(TStreamReader& stream, quint8 formatVersion, TVersion version) {
  Touch();
  ReadLangStr(stream, formatVersion, m_default);
  // Items arrive as stored: reading does not correct the default.
  auto onChange = std::move(m_pickList.OnChange);
  m_pickList.SetText(stream.ReadWideText());
  m_pickList.OnChange = std::move(onChange);
  m_fixed = stream.ReadU8() != 0;
  if (m_fixed) {
    if (CompareVersion(version, {1, 1}) >= 0) ReadLangStr(stream, formatVersion, m_aliasList);
    return;
  }
  const qint64 stylePosition = stream.Position();
  const quint8 style = stream.ReadU8();
  if (style > esDirectory) stream.FailAt(stylePosition);
  m_style = TEditorStyle(style);
  switch (m_style) {
  case esString:
    m_maxLength = stream.ReadI32();
    m_filter = stream.ReadWideText();
    m_exclude = stream.ReadU8() != 0;
    break;
  case esInteger:
    m_minimal = stream.ReadI32();
    m_maximal = stream.ReadI32();
    break;
  case esFileName:
    if (formatVersion < 2) {
      m_fileDescription.Clear();
      SetFileFilter(stream.ReadWideText());
    } else {
      m_fileDescription.ReadFrom(stream);
      m_fileMask = stream.ReadWideText();
    }
    break;
  case esDirectory:
    break;
  }
}

void TEditorOptions::WriteTo(TStreamWriter& stream) const {
  m_default.WriteTo(stream);
  stream.WriteWideText(m_pickList.Text());
  stream.WriteU8(m_fixed ? 1 : 0);
  if (m_fixed) {
    m_aliasList.WriteTo(stream);
    return;
  }
  stream.WriteU8(m_style);
  switch (m_style) {
  case esString:
    stream.WriteI32(m_maxLength);
    stream.WriteWideText(m_filter);
    stream.WriteU8(m_exclude ? 1 : 0);
    break;
  case esInteger:
    stream.WriteI32(m_minimal);
    stream.WriteI32(m_maximal);
    break;
  case esFileName:
    m_fileDescription.WriteTo(stream);
    stream.WriteWideText(m_fileMask);
    break;
  case esDirectory:
    break;
  }
}

// ---- The standard options

namespace {
std::unique_ptr<TStdOptions> g_stdOptions;

std::unique_ptr<TEditorOptions> IntegerOptions(qint32 minimal, qint32 maximal, const QString& def) {
  auto o = std::make_unique<TEditorOptions>(esInteger);
  o->SetMaximal(maximal);
  o->SetMinimal(minimal);
  o->SetDefault(def);
  return o;
}

std::unique_ptr<TEditorOptions> FixedOptions(const QStringList& items) {
  auto o = std::make_unique<TEditorOptions>(esString);
  o->PickList().SetItems(items);
  o->SetFixed(true);
  return o;
}

} // namespace

void CreateStdOptions() {
  auto s = std::make_unique<TStdOptions>();
  s->eoString = std::make_unique<TEditorOptions>(esString);
  s->eoChar = std::make_unique<TEditorOptions>(esString);
  s->eoChar->SetMaxLength(1);
  s->eoInteger = IntegerOptions(INT32_MIN, INT32_MAX, QStringLiteral("0"));
  s->eoCardinal = IntegerOptions(0, INT32_MAX, QStringLiteral("0"));
  s->eoNatural = IntegerOptions(1, INT32_MAX, QStringLiteral("1"));
  s->eoRange = IntegerOptions(1, INT32_MAX, QStringLiteral("100"));
  s->eoRating = IntegerOptions(0, 5, QStringLiteral("0"));
  s->eoBoolean = FixedOptions({QStringLiteral("True"), QStringLiteral("False")});
  s->eoMinMax = FixedOptions({QStringLiteral("Minimal"), QStringLiteral("Maximal")});
  s->eoLengthPosition = FixedOptions({QStringLiteral("Length"), QStringLiteral("Position")});
  s->eoWordSpacer = FixedOptions({QStringLiteral("Word"), QStringLiteral("Spacer")});
  s->eoLanguage = std::make_unique<TEditorOptions>(esString);
  s->eoLanguage->PickList().SetItems({QStringLiteral("1033"), QStringLiteral("1049")});
  s->eoLanguage->SetDefault(QStringLiteral("1033"));
  s->eoLinkIdent = std::make_unique<TEditorOptions>(esString);
  s->eoLinkIdent->SetFilter(QStringLiteral("(),«»"));
  s->eoLinkIdent->SetExclude(true);
  s->eoFileName = std::make_unique<TEditorOptions>(esFileName);
  s->eoVarIdent = std::make_unique<TEditorOptions>(esString);
  s->eoArrayIdent = std::make_unique<TEditorOptions>(esString);
  g_stdOptions = std::move(s);
  ApplyStdOptionsLanguage();
}

void FreeStdOptions() {
  g_stdOptions.reset();
}

TStdOptions& StdOptions() {
  return *g_stdOptions;
}

void ApplyStdOptionsLanguage() {
  TStdOptions& s = StdOptions();
  const auto aliases = [](TEditorOptions& o, std::uint16_t id) {
    o.AliasList().SetCurrentText(LangString(TLangSection::Strings, id));
  };
  aliases(*s.eoBoolean, 2600);
  aliases(*s.eoLengthPosition, 2601);
  aliases(*s.eoMinMax, 2602);
  aliases(*s.eoWordSpacer, 2603);
  s.eoFileName->SetFileFilter(BuildFileFilter({ftText}, false, false));
}

} // namespace gs
