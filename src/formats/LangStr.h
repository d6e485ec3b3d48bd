// TLangStr: a text in several languages, entries of a 16-bit Windows language id and a text in
// insertion order. 1033 (English) is the fallback of every table.
#pragma once

#include "formats/Stream.h"

#include <QString>
#include <functional>
#include <vector>

namespace gs {

constexpr quint16 EnglishLangID = 1033;

// The id of the interface language (the language file's "LocaleID"). Read by every thread.
quint16 CurrentLanguage();
void SetCurrentLanguage(quint16 id);

class TLangStr {
public:
  struct TEntry {
    quint16 id;
    QString text;
    bool operator==(const TEntry&) const = default;
  };
  using TTransform = std::function<QString(const QString&)>;

  // The references stay valid until the table changes.
  const QString& GetText(quint16 id) const;
  const QString& EnglishText() const { return GetText(EnglishLangID); }
  // Current language, else English, else the first entry, else empty.
  const QString& DisplayText() const;

  // Replaces an existing entry's text; a new entry is appended only when the text differs
  // from the English text, so that language falls back to English.
  void SetText(quint16 id, const QString& text);
  void SetCurrentText(const QString& text) { SetText(CurrentLanguage(), text); }
  void SetEnglishText(const QString& text) { SetText(EnglishLangID, text); }

  bool IsEmpty() const;
  bool SameAs(const TLangStr& other) const;
  void AssignFrom(const TLangStr& source, const TTransform& transform = {});
  void Clear() { m_entries.clear(); }
  int Count() const { return int(m_entries.size()); }
  quint16 LangID(int index) const { return m_entries[index].id; }
  const std::vector<TEntry>& Entries() const { return m_entries; }

  // One LangTable: a 1-byte count, then per entry a 2-byte id and a WideText.
  void ReadFrom(TStreamReader& stream);
  // Writes only the English entry and the entries that differ from it, last entry first.
  void WriteTo(TStreamWriter& stream) const;

  bool operator==(const TLangStr&) const = default;

private:
  const TEntry* Find(quint16 id) const;
  std::vector<TEntry> m_entries;
};

// A LangTable, or, in files older than format version 2, one WideText holding the English text.
void ReadLangStr(TStreamReader& stream, quint8 formatVersion, TLangStr& target);

} // namespace gs
