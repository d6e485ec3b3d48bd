// The process-wide cache of link results: per linked file, the line each argument list gave.
// Never cleared before shutdown. Safe from any thread.
#pragma once

#include <QString>
#include <mutex>
#include <optional>
#include <vector>

namespace gs {

class TLinkCache {
public:
  // The cached line for the file and the exact key, if any. Files compare without ASCII case.
  std::optional<QString> Find(const QString& fileName, const QString& key);
  void Store(const QString& fileName, const QString& key, const QString& text);
  void Clear();

private:
  struct TResult {
    QString key;
    QString lineText;
  };
  struct TItem {
    QString fileName;
    std::vector<TResult> results;
  };
  TItem* FindItem(const QString& fileName);

  std::mutex m_mutex;
  std::vector<TItem> m_items;
};

TLinkCache& LinkCache();

} // namespace gs
