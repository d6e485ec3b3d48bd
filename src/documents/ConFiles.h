// Containers: trees of named folders and file entries that refer to other files.
#pragma once

#include "formats/File.h"
#include "formats/FileFunctions.h"

#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TConFile;

enum TItemKind : quint8 { ikRoot = 0, ikFolder = 1, ikFile = 2 };

class TItem {
public:
  explicit TItem(quint8 kind = ikRoot) : m_kind(kind) {}
  TItem(const TItem&) = delete;
  TItem& operator=(const TItem&) = delete;

  // Kind, name, hint, file name and copies of the children; a copy is visible.
  void Assign(const TItem& source);

  quint8 Kind() const { return m_kind; }
  const TLangStr& Name() const { return m_name; }
  const TLangStr& Hint() const { return m_hint; }
  const QString& FileName() const { return m_fileName; }
  bool Hidden() const { return m_hidden; }
  void SetName(const TLangStr& name);
  void SetHint(const TLangStr& hint);
  void SetFileName(const QString& fileName);
  void SetHidden(bool hidden);

  bool CanHaveChildren() const { return m_kind != ikFile; }
  int ChildCount() const { return int(m_children.size()); }
  TItem& Child(int index) const { return *m_children[size_t(index)]; }
  int IndexOf(const TItem* child) const;
  int Index() const;                     // in the parent item; -1 for the root and free items
  TItem* ParentItem() const { return m_parent; }
  TConFile* OwnerFile() const;
  int VisibleChildCount() const;

  // Takes the item when this one may have children; returns it, or null (it is destroyed).
  TItem* InsertChild(int index, std::unique_ptr<TItem> item);
  TItem* AddChild(std::unique_ptr<TItem> item) { return InsertChild(ChildCount(), std::move(item)); }
  // With the file's OnItemDelete set, the child goes to the slot the subscriber gives.
  void DeleteChild(TItem* child);
  void ClearChildren() { m_children.clear(); }

  void ReadFrom(TStreamReader& stream, quint8 formatVersion, const QString& baseFolder, int depth = 0);
  void WriteTo(TStreamWriter& stream, const QString& baseFolder) const;

private:
  friend class TConFile;
  std::vector<std::unique_ptr<TItem>> m_children;
  TLangStr m_hint;
  quint8 m_kind;
  TItem* m_parent = nullptr;
  TConFile* m_file = nullptr;  // for the root only
  TLangStr m_name;
  QString m_fileName;
  bool m_hidden = false;
};

class TConInfo : public TInfo {
public:
  TConInfo() : TInfo(false) {}
  TSignature GetSignature() const override { return {'Q', 'P', 0xD1}; }
  TVersion GetVersion() const override { return {1, 0}; }
  void AssignExtra(const TInfo& source) override;
  void ReadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void WriteToStream(TStreamWriter& stream, const QString& baseFolder) const override;
  bool Blocked() const { return m_blocked; }
  void SetBlocked(bool blocked);

private:
  bool m_blocked = false;
};

class TConFile : public TFile {
public:
  using TItemNotify = std::function<void(TConFile&, TItem&)>;
  using TItemDeleteNotify = std::function<std::unique_ptr<TItem>*(TConFile&, TItem&)>;
  using TTextNotify = std::function<void(TConFile&, TItem&, const TLangStr&)>;
  using TNameNotify = std::function<void(TConFile&, TItem&, const QString&)>;
  using TBoolNotify = std::function<void(TConFile&, TItem&, bool)>;

  TConFile();
  TConFile(const TConFile&) = delete;
  TConFile& operator=(const TConFile&) = delete;

  TInfo& GetInfo() override { return m_info; }
  TConInfo& Info() { return m_info; }
  const TConInfo& Info() const { return m_info; }
  TItem& Root() { return *m_root; }
  const TItem& Root() const { return *m_root; }

  // Adds every file the tree refers to on the base folder's drive, following nested documents
  // once each; the list stays sorted and free of duplicates. Failures of the files followed
  // are swallowed.
  void CollectFiles(QStringList& list, const QString& baseFolder) const override;
  void LoadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void SaveToStream(TStreamWriter& stream, const QString& baseFolder) const override;

  TItemNotify OnItemInsert;
  TItemDeleteNotify OnItemDelete;
  TTextNotify OnItemHintChanging;
  TNameNotify OnItemFileNameChanging;
  TTextNotify OnItemNameChanging;
  TBoolNotify OnItemHiddenChanging;

private:
  TConInfo m_info;
  std::unique_ptr<TItem> m_root;
};

// A new document of a kind that FileKindOf recognises; null for any other kind.
std::unique_ptr<TFile> CreateDocument(TFileType kind);

} // namespace gs
