// The parse: the elements a dictionary recorded while lines were generated, counted per group,
// with each element's share of its group and ratio to the group's most frequent element.
#pragma once

#include "formats/Stream.h"
#include "formats/Version.h"

#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TParse;

struct TParseItem {
  QString Element;
  quint32 Count = 0;
  double Percent = 0;
  double Ratio = 0;
};

class TParseGroup {
public:
  TParseGroup(TParse* owner, QString name) : m_owner(owner), m_name(std::move(name)) {}

  const QString& GroupName() const { return m_name; }
  int Count() const { return int(m_items.size()); }
  // Raises the list-index failure outside 0..Count-1.
  const TParseItem& Item(int index) const;
  quint32 Total() const { return m_total; }
  quint32 Highest() const { return m_highest; }
  qint32 Leader() const { return m_leader; }
  bool StatsValid() const { return m_statsValid; }

  int IndexOf(QStringView text) const;  // without case; -1 when absent
  TParseItem& FindOrAdd(const QString& text, int& index);
  void AddElement(const QString& text);
  void MergeFrom(const TParseGroup& other);
  // A group whose total or highest count is 0 gives its elements 0 percent and ratio.
  void ComputeStats();
  void Clear();

private:
  friend class TParse;
  void AddCount(int index, quint32 added);

  TParse* m_owner;  // not owned
  QString m_name;
  std::vector<TParseItem> m_items;
  quint32 m_highest = 0;
  quint32 m_total = 0;
  qint32 m_leader = 0;
  bool m_statsValid = false;
};

class TParse {
public:
  using TAddNotify = std::function<void(TParse&, TParseGroup&, TParseItem&)>;
  using TNotify = std::function<void(TParse&)>;

  TParseGroup* FindGroup(QStringView name) const;
  TParseGroup& GetGroup(const QString& name);
  void Add(const QString& name, const QString& text);
  void Merge(const TParse& other);
  void ComputeAll();
  void Clear();
  int GroupCount() const { return int(m_groups.size()); }
  TParseGroup& Group(int index) const { return *m_groups[index]; }
  TParseGroup* Unnamed() const { return m_unnamed; }
  int UnnamedCount() const { return m_unnamed ? m_unnamed->Count() : 0; }
  TVersion ReadVersion() const { return m_readVersion; }

  // The parse block: "QAP", version 2.0, the groups.
  void LoadFromStream(TStreamReader& stream);
  void SaveToStream(TStreamWriter& stream) const;

  TAddNotify OnAddItem;
  TNotify OnChange;

private:
  friend class TParseGroup;
  std::vector<std::unique_ptr<TParseGroup>> m_groups;
  TParseGroup* m_unnamed = nullptr;
  TVersion m_readVersion{2, 0};
};

} // namespace gs
