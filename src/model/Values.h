// Values (a constant text or a call of a function whose arguments are values) and the
// variable table of a dictionary.
#pragma once

#include "formats/LangStr.h"
#include "formats/Stream.h"
#include "model/EO.h"
#include "model/NameValues.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace gs {

class TFunction;
class TLinks;
class TValue;

enum TValueKind : quint8 { vkText = 0, vkFunc = 1 };

// Counts the changes of node trees and values that can change how a request is walked: node
// kinds, options, disabled flags and children, and value kinds. Caches of trees compare it.
quint64 TreeRevision();
void TreeChanged();

struct TValueItem {
  QString name;                  // the parameter's name
  std::unique_ptr<TValue> value; // owned
};

class TValue {
public:
  using TNotify = std::function<void(TValue&)>;

  explicit TValue(TValueKind kind = vkText);
  ~TValue();
  TValue(const TValue&) = delete;
  TValue& operator=(const TValue&) = delete;

  // A deep copy of the source: kind, function and options references, text, arguments.
  void Assign(const TValue& source);
  bool SameAs(const TValue& other) const;

  quint8 Kind() const { return m_kind; }
  const QString& Text() const { return m_text; }
  TFunction* Function() const { return m_function; }  // not owned
  TEditorOptions* Options() const { return m_options; }  // not owned

  void SetKind(quint8 kind);
  void SetFunction(TFunction* function);
  // Stores the text as the options correct it.
  void SetText(const QString& text);
  void SetOptions(TEditorOptions* options);
  // The text the generator computed for an answer: stored as it is, reported to nobody.
  void SetComputedText(const QString& text) {
    m_text = text;
    TextChanged();
  }
  // The integer conversion of the text (see StrToIntOpt), remembered until the text changes.
  std::optional<qint32> Integer() const {
    if (m_integerState == kIntegerUnknown) ReadInteger();
    return m_integerState == kIntegerKnown ? std::optional<qint32>(m_integer) : std::nullopt;
  }

  // 0 while the value is a constant, whatever arguments it still holds.
  int ArgCount() const { return m_kind == vkFunc ? int(m_args.size()) : 0; }
  const QString& ArgName(int index) const { return m_args[index].name; }
  TValue& Arg(int index) const { return *m_args[index].value; }
  TValue* ArgByName(QStringView name) const;  // ignoring case; null when absent
  void AddArg(const QString& name, std::unique_ptr<TValue> value);

  // The generator's memo: the constant was found valid at this options revision.
  bool KnownValid(quint64 revision) const { return m_validAt == revision; }
  void SetKnownValid(quint64 revision) const { m_validAt = revision; }
  void Validate() const;  // raises EEOException
  // One argument per parameter of the function, in order, keeping those of the same name.
  void RebuildArgs();
  void Refresh();
  // Every value below whose function is oldFunction calls newFunction; returns the count.
  int ReplaceFunction(const TFunction* oldFunction, TFunction* newFunction);
  // Moves the link references of this expression into links (merging by file).
  void RelinkLinks(TLinks& links);

  // The value record. Reading resolves function ids against the catalogue and links and
  // refuses expressions nested deeper than MaxNestingDepth.
  void ReadFrom(TStreamReader& stream, const TLinks* links, int depth = 0);
  void WriteTo(TStreamWriter& stream) const;

  bool Updating() const { return m_updating; }

  TNotify OnChanging;
  TNotify OnChange;

private:
  void Changing() { if (OnChanging) OnChanging(*this); }
  void Changed() { if (OnChange) OnChange(*this); }
  void Wire(TValue& arg);
  void ReadCall(TStreamReader& stream, const TLinks* links, int depth);
  void ReadInteger() const;
  void TextChanged() {
    m_validAt = 0;
    m_integerState = kIntegerUnknown;
  }

  quint8 m_kind;
  QString m_text;
  TFunction* m_function;
  TEditorOptions* m_options;
  std::vector<TValueItem> m_args;
  bool m_updating = false;
  // The options revision at which the constant text was last found valid; 0: not since it
  // changed. Written by the generation thread only.
  mutable quint64 m_validAt = 0;
  // The generator's memo of the text as an integer.
  enum : quint8 { kIntegerUnknown, kIntegerKnown, kNoInteger };
  mutable quint8 m_integerState = kIntegerUnknown;
  mutable qint32 m_integer = 0;
};

// Display: the text of a value inside an expression, and in a cell of the dictionary tree.
QString ExpressionText(const TValue& value);
QString CellText(const TValue& value);
// The shown form of a value: a constant's alias, or a call's expression text.
QString ShownForm(const TValue& value);

// The library's title of a file, once the library exists; empty for an unknown file.
using TLibraryTitleLookup = std::function<QString(const QString& fileName)>;
void SetLibraryTitleLookup(TLibraryTitleLookup lookup);

struct TVariable {
  QString name;
  TLangStr title;
  std::unique_ptr<TEditorOptions> options;  // owned; its default is the initial value
  TLangStr hint;
  bool isParameter = true;
};

// The variables of a dictionary: at most 255, names compared without regard to case.
// NamesOptions follows every change: the names as a fixed pick list, the titles as aliases.
class TVariables {
public:
  TVariables();
  TVariables(const TVariables&) = delete;
  TVariables& operator=(const TVariables&) = delete;

  int Count() const { return int(m_items.size()); }
  const TVariable& Item(int index) const { return *m_items[index]; }
  TEditorOptions& NamesOptions() { return m_namesOptions; }
  const TEditorOptions& NamesOptions() const { return m_namesOptions; }

  void Add(const QString& name, const TLangStr& title, bool isParameter, const TLangStr& hint,
           const TEditorOptions& options);
  void Delete(int index);
  void Clear();
  void Exchange(int i, int j);
  void SetName(int index, const QString& name);
  void SetTitle(int index, const TLangStr& title);
  void SetHint(int index, const TLangStr& hint);
  void SetIsParameter(int index, bool isParameter);
  void SetOptions(int index, const TEditorOptions& options);

  QString DisplayName(int index) const;
  int IndexOf(QStringView name) const;
  QString DefaultOf(QStringView name) const;
  TEditorOptions* OptionsOf(QStringView name) const;  // null when absent
  // Every variable gets an entry name=default, an empty default included.
  void FillDefaults(TNameValues& list) const;

  void Assign(const TVariables& source);
  void ReadFrom(TStreamReader& stream, quint8 formatVersion, TVersion version);
  void WriteTo(TStreamWriter& stream) const;

private:
  void UpdateNamesOptions();

  std::vector<std::unique_ptr<TVariable>> m_items;
  TEditorOptions m_namesOptions;
};

} // namespace gs
