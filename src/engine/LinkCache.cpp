#include "engine/LinkCache.h"

#include "platform/Paths.h"

namespace gs {

TLinkCache::TItem* TLinkCache::FindItem(const QString& fileName) {
  for (TItem& i : m_items)
    if (SamePath(i.fileName, fileName)) return &i;
  return nullptr;
}

std::optional<QString> TLinkCache::Find(const QString& fileName, const QString& key) {
  std::lock_guard lock(m_mutex);
  if (TItem* item = FindItem(fileName))
    for (const TResult& r : item->results)
      if (r.key == key) return r.lineText;
  return std::nullopt;
}

void TLinkCache::Store(const QString& fileName, const QString& key, const QString& text) {
  std::lock_guard lock(m_mutex);
  TItem* item = FindItem(fileName);
  if (!item) {
    m_items.push_back({fileName, {}});
    item = &m_items.back();
  }
  for (TResult& r : item->results)
    if (r.key == key) {
      r.lineText = text;
      return;
    }
  item->results.push_back({key, text});
}

void TLinkCache::Clear() {
  std::lock_guard lock(m_mutex);
  m_items.clear();
}

TLinkCache& LinkCache() {
  static TLinkCache cache;
  return cache;
}

} // namespace gs
