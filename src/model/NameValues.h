// An ordered list of name=value entries whose names compare without regard to case: the
// parameter and variable lists of generation.
#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace gs {

class TNameValues {
public:
  struct TEntry {
    QString name;
    QString value;
    bool operator==(const TEntry&) const = default;
  };

  int Count() const { return int(m_entries.size()); }
  const TEntry& operator[](int index) const { return m_entries[index]; }
  const std::vector<TEntry>& Entries() const { return m_entries; }
  int IndexOfName(QStringView name) const;  // the first entry with that name; -1 when absent
  // The first entry's value, or empty.
  QString Value(QStringView name) const;
  // Replaces the first entry of that name, or appends one.
  void SetValue(const QString& name, const QString& value);
  void Append(const QString& name, const QString& value) { m_entries.push_back({name, value}); }
  void Remove(QStringView name);  // the first entry of that name
  void Clear() { m_entries.clear(); }
  bool operator==(const TNameValues&) const = default;

private:
  std::vector<TEntry> m_entries;
};

} // namespace gs
