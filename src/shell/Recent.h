// TRecent: short named lists of recently used values ("Recent.db") that feed the drop-down
// lists of input fields. Names compare without regard to case; lists keep creation order.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace gs {

class TEditorOptions;

struct TRecentItem {
  QString name;
  QStringList values;                 // most recent first
  TEditorOptions* options = nullptr;  // whose pick list this list feeds; not owned
};

class TRecent {
public:
  // The file keeps the list count in one byte.
  static constexpr int kMaxLists = 255;
  static constexpr int kMaxValues = 10;

  void AttachOptions(const QString& name, TEditorOptions* options);
  void Seed(const QString& name, const QString& value);
  void Add(const QString& name, const QString& value);
  void AddNumber(const QString& name, qint64 number) { Add(name, QString::number(number)); }
  void Remove(const QString& name, const QString& value);
  int Count(const QString& name) const;
  QString Value(const QString& name, int index) const;
  QStringList Values(const QString& name) const;
  int ListCount() const { return int(m_items.size()); }
  // Drops the files that no longer exist from a list of file names.
  void PurgeMissingFiles(const QString& name);

  // Missing file: nothing happens. A newer format, or damage, ends loading silently with
  // what was read.
  void LoadFromFile(const QString& fileName);
  // Write errors are ignored.
  void SaveToFile(const QString& fileName) const;

private:
  TRecentItem* Find(const QString& name);
  const TRecentItem* Find(const QString& name) const;
  // Null when the list is missing and no further list can be kept.
  TRecentItem* Obtain(const QString& name);
  void Refresh(TRecentItem& item);

  std::vector<std::unique_ptr<TRecentItem>> m_items;
};

} // namespace gs
