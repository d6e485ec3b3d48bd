#include "engine/ParFiles.h"

#include "engine/EngineErrors.h"
#include "platform/Text.h"

namespace gs {

// ---- TParseGroup

const TParseItem& TParseGroup::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListIndexError(index);
  return m_items[size_t(index)];
}

int TParseGroup::IndexOf(QStringView text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(m_items[i].Element, text)) return i;
  return -1;
}

TParseItem& TParseGroup::FindOrAdd(const QString& text, int& index) {
  index = IndexOf(text);
  if (index >= 0) return m_items[size_t(index)];
  index = Count();
  m_items.push_back({text, 0, 0, 0});
  TParseItem& item = m_items.back();
  if (m_owner && m_owner->OnAddItem) m_owner->OnAddItem(*m_owner, *this, item);
  return item;
}

// Adds to an element's count; the leader moves only to a count above the highest.
void TParseGroup::AddCount(int index, quint32 added) {
  TParseItem& item = m_items[size_t(index)];
  item.Count += added;
  m_statsValid = false;
  m_total += added;
  if (item.Count > m_highest) {
    m_highest = item.Count;
    m_leader = index;
  }
}

void TParseGroup::AddElement(const QString& text) {
  int index = 0;
  FindOrAdd(text, index);
  AddCount(index, 1);
}

void TParseGroup::MergeFrom(const TParseGroup& other) {
  for (const TParseItem& e : other.m_items) {
    int index = 0;
    FindOrAdd(e.Element, index);
    AddCount(index, e.Count);
  }
}

void TParseGroup::ComputeStats() {
  if (m_statsValid) return;
  for (TParseItem& e : m_items) {
    e.Percent = m_total ? double(e.Count) / m_total * 100 : 0;
    e.Ratio = m_highest ? double(e.Count) / m_highest * 100 : 0;
  }
  m_statsValid = true;
}

void TParseGroup::Clear() {
  m_total = m_highest = 0;
  m_leader = -1;
  m_items.clear();
  m_statsValid = false;
}

// ---- TParse

TParseGroup* TParse::FindGroup(QStringView name) const {
  for (const auto& g : m_groups)
    if (SameText(g->GroupName(), name)) return g.get();
  return nullptr;
}

TParseGroup& TParse::GetGroup(const QString& name) {
  TParseGroup* g = FindGroup(name);
  if (!g) {
    m_groups.push_back(std::make_unique<TParseGroup>(this, name));
    g = m_groups.back().get();
  }
  if (name.isEmpty()) m_unnamed = g;
  return *g;
}

void TParse::Add(const QString& name, const QString& text) {
  GetGroup(name).AddElement(text);
  if (OnChange) OnChange(*this);
}

void TParse::Merge(const TParse& other) {
  for (const auto& g : other.m_groups) GetGroup(g->GroupName()).MergeFrom(*g);
  if (OnChange) OnChange(*this);
}

void TParse::ComputeAll() {
  for (const auto& g : m_groups) g->ComputeStats();
}

void TParse::Clear() {
  m_groups.clear();
  m_unnamed = nullptr;
}

void TParse::LoadFromStream(TStreamReader& stream) {
  const TSignature expected{'Q', 'A', 'P'};
  TSignature signature{};
  stream.ReadInto(signature.data(), 3);
  if (signature != expected) throw EWrongFormat(expected);
  m_readVersion.major = stream.ReadU8();
  m_readVersion.minor = stream.ReadU8();
  if (CompareVersion(m_readVersion, {2, 0}) > 0) throw EWrongVersion(expected);
  Clear();
  const qint32 n = stream.ReadI32();
  const auto readItems = [&](TParseGroup& g, qint32 count) {
    stream.CheckCount(count, 8);  // a text count and an element count at least
    for (qint32 i = 0; i < count; ++i) {
      QString text = stream.ReadWideText();
      const quint32 c = stream.ReadU32();
      g.m_items.push_back({std::move(text), 0, 0, 0});
      if (OnAddItem) OnAddItem(*this, g, g.m_items.back());
      g.AddCount(int(g.m_items.size()) - 1, c);
    }
    g.ComputeStats();
  };
  if (CompareVersion(m_readVersion, {2, 0}) < 0) {
    readItems(GetGroup(QString()), n);  // before groups: the elements of the unnamed group
    return;
  }
  stream.CheckCount(n, 8);
  for (qint32 i = 0; i < n; ++i) {
    auto g = std::make_unique<TParseGroup>(this, stream.ReadWideText());
    g->m_leader = 0;
    TParseGroup& group = *g;
    m_groups.push_back(std::move(g));
    if (group.GroupName().isEmpty()) m_unnamed = &group;
    readItems(group, stream.ReadI32());
  }
}

void TParse::SaveToStream(TStreamWriter& stream) const {
  stream.WriteBytes("QAP");
  stream.WriteU8(2);
  stream.WriteU8(0);
  stream.WriteI32(qint32(m_groups.size()));
  for (const auto& g : m_groups) {
    stream.WriteWideText(g->GroupName());
    stream.WriteI32(g->Count());
    for (const TParseItem& e : g->m_items) {
      stream.WriteWideText(e.Element);
      stream.WriteU32(e.Count);
    }
  }
}

} // namespace gs
