#include "formats/LangStr.h"

#include <atomic>

namespace gs {
namespace {
std::atomic<quint16> g_currentLanguage{EnglishLangID};
}

quint16 CurrentLanguage() {
  return g_currentLanguage;
}

void SetCurrentLanguage(quint16 id) {
  g_currentLanguage = id;
}

const TLangStr::TEntry* TLangStr::Find(quint16 id) const {
  for (const TEntry& e : m_entries)
    if (e.id == id) return &e;
  return nullptr;
}

namespace {
const QString& EmptyText() {
  static const QString empty;
  return empty;
}
} // namespace

const QString& TLangStr::GetText(quint16 id) const {
  const TEntry* e = Find(id);
  return e ? e->text : EmptyText();
}

const QString& TLangStr::DisplayText() const {
  if (const TEntry* e = Find(CurrentLanguage())) return e->text;
  if (const TEntry* e = Find(EnglishLangID)) return e->text;
  return m_entries.empty() ? EmptyText() : m_entries.front().text;
}

void TLangStr::SetText(quint16 id, const QString& input) {
  const QString text = input;  // the input may be one of this table's own texts
  for (TEntry& e : m_entries) {
    if (e.id == id) {
      e.text = text;
      return;
    }
  }
  if (text != EnglishText()) m_entries.push_back({id, text});
}

bool TLangStr::IsEmpty() const {
  for (const TEntry& e : m_entries)
    if (!e.text.isEmpty()) return false;
  return true;
}

bool TLangStr::SameAs(const TLangStr& other) const {
  if (m_entries.size() != other.m_entries.size()) return false;
  for (const TEntry& e : m_entries)
    if (other.GetText(e.id) != e.text) return false;
  return true;
}

void TLangStr::AssignFrom(const TLangStr& source, const TTransform& transform) {
  if (&source == this && !transform) return;
  std::vector<TEntry> copy = source.m_entries;
  if (transform)
    for (TEntry& e : copy) e.text = transform(e.text);
  m_entries = std::move(copy);
}

void TLangStr::ReadFrom(TStreamReader& stream) {
  m_entries.clear();
  const int count = stream.ReadU8();
  stream.CheckCount(count, 6);
  m_entries.reserve(count);
  for (int i = 0; i < count; ++i) {
    const quint16 id = stream.ReadU16();
    m_entries.push_back({id, stream.ReadWideText()});
  }
}

void TLangStr::WriteTo(TStreamWriter& stream) const {
  const QString& english = EnglishText();
  std::vector<const TEntry*> written;
  for (auto it = m_entries.rbegin(); it != m_entries.rend() && written.size() < 255; ++it)
    if (it->id == EnglishLangID || it->text != english) written.push_back(&*it);
  stream.WriteU8(quint8(written.size()));
  for (const TEntry* e : written) {
    stream.WriteU16(e->id);
    stream.WriteWideText(e->text);
  }
}

void ReadLangStr(TStreamReader& stream, quint8 formatVersion, TLangStr& target) {
  if (formatVersion < 2) {
    target.Clear();
    target.SetEnglishText(stream.ReadWideText());
  } else {
    target.ReadFrom(stream);
  }
}

} // namespace gs
