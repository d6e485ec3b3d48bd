// Parameter editor options: what text a value may hold and how it is edited and shown.
#pragma once

#include "formats/LangStr.h"
#include "formats/Stream.h"
#include "formats/Version.h"

#include <QStringList>
#include <exception>
#include <functional>
#include <memory>

namespace gs {

enum TEditorStyle : quint8 { esString = 0, esInteger = 1, esFileName = 2, esDirectory = 3 };

// Proposed values of an options object, compared without regard to case. Every change of
// the items is reported to the owner, which re-corrects its default.
class TPickList {
public:
  int Count() const { return int(m_items.size()); }
  const QString& operator[](int index) const { return m_items[index]; }
  const QStringList& Items() const { return m_items; }
  int IndexOf(QStringView text) const;  // ignoring case; -1 when absent

  void SetItems(const QStringList& items);
  void Add(const QString& item);
  void Delete(int index);
  void Clear();
  // Each item followed by CR LF; setting splits at line breaks.
  QString Text() const;
  void SetText(QStringView text) { SetItems(SplitLinesOf(text)); }

  std::function<void()> OnChange;  // the owner's

private:
  static QStringList SplitLinesOf(QStringView text);
  void Changed() { if (OnChange) OnChange(); }
  QStringList m_items;
};

class TEditorOptions;

// A text that the options reject: Code 0 fixed list, 1 filter, 2 length, 3 not an integer,
// 4 below Minimal, 5 above Maximal.
class EEOException : public std::exception {
public:
  EEOException(const TEditorOptions* options, QString value, quint8 code)
      : m_options(options), m_value(std::move(value)), m_code(code) {}
  const TEditorOptions* Options() const { return m_options; }  // not owned
  const QString& Value() const { return m_value; }
  quint8 Code() const { return m_code; }
  const char* what() const noexcept override { return "value rejected by its options"; }

private:
  const TEditorOptions* m_options;
  QString m_value;
  quint8 m_code;
};

// The user text of an EEOException, from the message table.
QString EOMessage(const EEOException& error);

// Raised by every change of any options that can change what Validate accepts, so that a
// text found valid need not be checked again until then.
quint64 OptionsRevision();

class TEditorOptions {
public:
  explicit TEditorOptions(TEditorStyle style = esString);
  TEditorOptions(const TEditorOptions&) = delete;
  TEditorOptions& operator=(const TEditorOptions&) = delete;

  TEditorStyle Style() const { return m_style; }
  void SetStyle(TEditorStyle style);
  TPickList& PickList() { return m_pickList; }
  const TPickList& PickList() const { return m_pickList; }
  bool Fixed() const { return m_fixed; }
  void SetFixed(bool fixed);
  TLangStr& AliasList() { return m_aliasList; }
  const TLangStr& AliasList() const { return m_aliasList; }
  TLangStr& Default() { return m_default; }
  const TLangStr& Default() const { return m_default; }
  // Sets the current language's default text as it is (no correction).
  void SetDefault(const QString& text) { m_default.SetCurrentText(text); }
  const QString& Filter() const { return m_filter; }
  void SetFilter(const QString& filter);
  bool Exclude() const { return m_exclude; }
  void SetExclude(bool exclude);
  qint32 MaxLength() const { return m_maxLength; }
  void SetMaxLength(qint32 maxLength);
  qint32 Minimal() const { return m_minimal; }
  void SetMinimal(qint32 minimal);
  qint32 Maximal() const { return m_maximal; }
  void SetMaximal(qint32 maximal);
  TLangStr& FileDescription() { return m_fileDescription; }
  const TLangStr& FileDescription() const { return m_fileDescription; }
  const QString& FileMask() const { return m_fileMask; }
  void SetFileMask(const QString& mask) { m_fileMask = mask; }

  void Assign(const TEditorOptions& source);

  // The rules in force for the style.
  QString EffectiveFilter() const { return EffectiveFilterView().toString(); }
  QStringView EffectiveFilterView() const;
  bool EffectiveExclude() const;
  qint32 EffectiveMaxLength() const;
  // Every character passes (none, with exclusion); upperCase compares upper-cased forms.
  bool PassesFilter(QStringView text, bool upperCase = true) const;

  // Turns any text into one these options accept. Never fails.
  QString Correct(const QString& text) const;
  // Raises EEOException with the first failing code.
  void Validate(const QString& text) const {
    if (!AcceptsAnyText()) ValidateText(text);
  }
  // A free string: no pick list, length or filter to break.
  bool AcceptsAnyText() const { return !m_fixed && m_style == esString && m_maxLength <= 0 && m_filter.isEmpty(); }
  // The alias of a pick item, or the text itself.
  QString DisplayConstant(const QString& text) const;
  QString DialogFilter() const;
  void SetFileFilter(QStringView filter);
  // Typing and paste filters of the edit controls.
  bool AllowsChar(QChar ch) const;
  bool AllowsText(QStringView text) const;

  // The options record of variables and link parameters.
  void ReadFrom(TStreamReader& stream, quint8 formatVersion, TVersion version);
  void WriteTo(TStreamWriter& stream) const;

private:
  void Recorrect();
  static void Touch();
  QString CorrectUnfixed(QString text) const;
  QString FilteredDefault() const;

  void ValidateText(const QString& text) const;

  TEditorStyle m_style;
  TPickList m_pickList;
  bool m_fixed = false;
  TLangStr m_aliasList;
  TLangStr m_default;
  QString m_filter;
  bool m_exclude = false;
  qint32 m_maxLength = 0;
  qint32 m_minimal = 0;
  qint32 m_maximal = 100;
  TLangStr m_fileDescription;
  QString m_fileMask;
};

// The shared standard options, created once at start-up (before the function catalogue)
// and never owned by values.
struct TStdOptions {
  std::unique_ptr<TEditorOptions> eoString, eoChar, eoInteger, eoCardinal, eoNatural, eoRange,
      eoRating, eoBoolean, eoMinMax, eoLengthPosition, eoWordSpacer, eoLanguage, eoLinkIdent,
      eoFileName, eoVarIdent, eoArrayIdent;
};

void CreateStdOptions();
void FreeStdOptions();
// Valid between CreateStdOptions and FreeStdOptions.
TStdOptions& StdOptions();
// Sets the language-dependent texts (aliases, the text-file filter) for the current language.
void ApplyStdOptionsLanguage();

} // namespace gs
