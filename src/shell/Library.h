// TLibrary: the program's catalogue of the documents and text lists the user works with, with
// the metadata of each file's header, re-read when the file changes ("Library.db").
#pragma once

#include "formats/LangStr.h"
#include "formats/Version.h"
#include "platform/FileTimes.h"

#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TLibItem {
public:
  using TNotify = std::function<void(TLibItem&)>;

  QString FileName;
  QString Author;
  QString Icon;
  TDateTime Added = 0;
  TLangStr Title;
  TLangStr Hint;
  TDateTime ContentStamp = 0;  // ContentDate of the file when the metadata was read
  qint32 IconIndex = -1;

  bool Visible() const { return m_visible; }
  void SetVisible(bool visible);
  // The title, or the file name without folder and extension.
  QString DisplayTitle() const;

  TNotify OnChange;
  TNotify OnShow;
  TNotify OnHide;

private:
  friend class TLibrary;
  bool m_visible = true;
};

// The image index of a file until the icon lists exist: the standard image of its kind
// (collection 0, dictionary 1, container 2, installer 3, anything else 4).
qint32 StandardImageIndex(const QString& fileName);

class TLibrary {
public:
  using TItemNotify = std::function<void(TLibrary&, TLibItem&)>;
  static constexpr TVersion kVersion{2, 0};

  TLibrary();
  ~TLibrary();
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;

  int Count() const { return int(m_items.size()); }
  TLibItem& Item(int index) const { return *m_items[size_t(index)]; }
  TLibItem* FindEntry(const QString& fileName) const;
  // Null for a missing file or a kind the library does not keep; a new entry whose header
  // cannot be read shows the message for the failure and is not kept.
  TLibItem* RegisterFile(const QString& fileName, bool visible);
  TLibItem* ShowFile(const QString& fileName);
  TLibItem* HideFile(const QString& fileName);
  void DeleteEntry(TLibItem* item);
  // Re-reads the metadata when the file's content date changed; errors pass on.
  void RefreshEntry(TLibItem& item);
  // Drops the entries of missing files, then refreshes the rest, dropping any that fail.
  void RefreshAll();
  void BeginUpdate(int argument);
  void EndUpdate();

  // Missing: nothing. Newer or damaged: the entries read before the fault stay; a newer file
  // is then kept at saving.
  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;
  TVersion ReadVersion() const { return m_readVersion; }

  TItemNotify OnItemChange;
  TItemNotify OnItemDelete;
  TItemNotify OnItemAdd;
  std::function<void(TLibrary&, int)> OnBeginUpdate;
  std::function<void(TLibrary&)> OnEndUpdate;
  TItemNotify OnItemShow;
  TItemNotify OnItemHide;

private:
  void Add(std::unique_ptr<TLibItem> item);

  std::vector<std::unique_ptr<TLibItem>> m_items;
  TVersion m_readVersion = kVersion;
  bool m_keepNewerFile = false;
};

} // namespace gs
