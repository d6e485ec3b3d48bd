#include "documents/ConFiles.h"

#include "documents/ColFiles.h"
#include "model/DicFiles.h"
#include "model/Limits.h"
#include "platform/Paths.h"

#include <algorithm>

namespace gs {

// ---- TItem

TConFile* TItem::OwnerFile() const {
  const TItem* i = this;
  while (i->m_parent) i = i->m_parent;
  return i->m_file;
}

void TItem::Assign(const TItem& source) {
  if (&source == this) return;
  m_kind = source.m_kind;
  m_hint.AssignFrom(source.m_hint);
  m_name.AssignFrom(source.m_name);
  m_fileName = source.m_fileName;
  ClearChildren();
  for (const auto& c : source.m_children) {
    auto copy = std::make_unique<TItem>();
    copy->Assign(*c);
    AddChild(std::move(copy));
  }
}

void TItem::SetName(const TLangStr& name) {
  if (name.SameAs(m_name)) return;
  if (TConFile* f = OwnerFile(); f && f->OnItemNameChanging) f->OnItemNameChanging(*f, *this, name);
  m_name.AssignFrom(name);
}

void TItem::SetHint(const TLangStr& hint) {
  if (hint.SameAs(m_hint)) return;
  if (TConFile* f = OwnerFile(); f && f->OnItemHintChanging) f->OnItemHintChanging(*f, *this, hint);
  m_hint.AssignFrom(hint);
}

void TItem::SetFileName(const QString& fileName) {
  if (fileName == m_fileName) return;
  if (TConFile* f = OwnerFile(); f && f->OnItemFileNameChanging) f->OnItemFileNameChanging(*f, *this, fileName);
  m_fileName = fileName;
}

void TItem::SetHidden(bool hidden) {
  if (hidden == m_hidden) return;
  if (TConFile* f = OwnerFile(); f && f->OnItemHiddenChanging) f->OnItemHiddenChanging(*f, *this, hidden);
  m_hidden = hidden;
}

int TItem::IndexOf(const TItem* child) const {
  for (int i = 0; i < ChildCount(); ++i)
    if (m_children[size_t(i)].get() == child) return i;
  return -1;
}

int TItem::Index() const {
  return m_parent ? m_parent->IndexOf(this) : -1;
}

int TItem::VisibleChildCount() const {
  return int(std::count_if(m_children.begin(), m_children.end(), [](const auto& c) { return !c->m_hidden; }));
}

TItem* TItem::InsertChild(int index, std::unique_ptr<TItem> item) {
  if (!item || !CanHaveChildren() || ChildCount() >= 0xFFFF) return nullptr;
  TItem* kept = item.get();
  kept->m_parent = this;
  m_children.insert(m_children.begin() + std::clamp(index, 0, ChildCount()), std::move(item));
  if (TConFile* f = OwnerFile(); f && f->OnItemInsert) f->OnItemInsert(*f, *kept);
  return kept;
}

void TItem::DeleteChild(TItem* child) {
  const int index = IndexOf(child);
  if (index < 0) return;
  TConFile* f = OwnerFile();
  std::unique_ptr<TItem>* slot = f && f->OnItemDelete ? f->OnItemDelete(*f, *child) : nullptr;
  std::unique_ptr<TItem> taken = std::move(m_children[size_t(index)]);
  m_children.erase(m_children.begin() + index);
  taken->m_parent = nullptr;
  if (slot) *slot = std::move(taken);
}

void TItem::ReadFrom(TStreamReader& stream, quint8 formatVersion, const QString& baseFolder, int depth) {
  const qint64 start = stream.Position();
  if (depth > MaxNestingDepth) stream.FailAt(start);
  m_kind = stream.ReadU8();
  // The first record is the root; the others are folders and files.
  if (m_kind > ikFile || (m_file && m_kind != ikRoot) || (!m_file && m_kind == ikRoot)) stream.FailAt(start);
  if (m_kind != ikRoot) {
    ReadLangStr(stream, formatVersion, m_name);
    if (m_kind == ikFile) m_fileName = ExpandRelative(baseFolder, stream.ReadWideText());
    m_hidden = stream.ReadU8() != 0;
    ReadLangStr(stream, formatVersion, m_hint);
  }
  ClearChildren();
  if (m_kind == ikFile) return;
  if (stream.AtEnd()) stream.Fail();
  const int count = stream.ReadU16();
  stream.CheckCount(count, 3);  // a kind byte, a name and a hidden byte at least
  for (int i = 0; i < count; ++i) {
    auto child = std::make_unique<TItem>(ikFolder);
    child->ReadFrom(stream, formatVersion, baseFolder, depth + 1);
    AddChild(std::move(child));
  }
}

void TItem::WriteTo(TStreamWriter& stream, const QString& baseFolder) const {
  stream.WriteU8(m_kind);
  if (m_kind != ikRoot) {
    m_name.WriteTo(stream);
    if (m_kind == ikFile) stream.WriteWideText(MakeRelative(baseFolder, m_fileName));
    stream.WriteU8(m_hidden ? 1 : 0);
    m_hint.WriteTo(stream);
  }
  if (m_kind == ikFile) return;
  stream.WriteU16(quint16(ChildCount()));
  for (const auto& c : m_children) c->WriteTo(stream, baseFolder);
}

// ---- TConInfo

void TConInfo::AssignExtra(const TInfo& source) {
  if (const auto* con = dynamic_cast<const TConInfo*>(&source)) m_blocked = con->m_blocked;
}

void TConInfo::ReadFromStream(TStreamReader& stream, const QString& baseFolder) {
  TInfo::ReadFromStream(stream, baseFolder);
  m_blocked = stream.ReadU8() != 0;
}

void TConInfo::WriteToStream(TStreamWriter& stream, const QString& baseFolder) const {
  TInfo::WriteToStream(stream, baseFolder);
  stream.WriteU8(m_blocked ? 1 : 0);
}

void TConInfo::SetBlocked(bool blocked) {
  if (blocked == m_blocked) return;
  Changing();
  m_blocked = blocked;
  Changed();
}

// ---- TConFile

TConFile::TConFile() : m_root(std::make_unique<TItem>(ikRoot)) {
  m_root->m_file = this;
}

void TConFile::LoadFromStream(TStreamReader& stream, const QString& baseFolder) {
  TFile::LoadFromStream(stream, baseFolder);
  m_root->ReadFrom(stream, m_info.FormatVersion(), baseFolder);
}

void TConFile::SaveToStream(TStreamWriter& stream, const QString& baseFolder) const {
  TFile::SaveToStream(stream, baseFolder);
  m_root->WriteTo(stream, baseFolder);
}

namespace {

// Adds name to the sorted list; false when it was there already.
bool AddSorted(QStringList& list, const QString& name) {
  const auto it = std::lower_bound(list.begin(), list.end(), name);
  if (it != list.end() && SamePath(*it, name)) return false;
  list.insert(it, name);
  return true;
}

void CollectItem(const TItem& item, QStringList& list, const QString& baseFolder) {
  const QString& name = item.FileName();
  if (!name.isEmpty() && SameDrive(baseFolder, name) && AddSorted(list, name)) {
    if (std::unique_ptr<TFile> doc = CreateDocument(FileKindOf(name))) {
      try {
        doc->LoadFromFile(name);
        doc->CollectFiles(list, baseFolder);
      } catch (...) {
        // A file that cannot be followed stays in the list as it is.
      }
    }
  }
  for (int i = 0; i < item.ChildCount(); ++i) CollectItem(item.Child(i), list, baseFolder);
}

} // namespace

void TConFile::CollectFiles(QStringList& list, const QString& baseFolder) const {
  CollectItem(*m_root, list, baseFolder);
}

std::unique_ptr<TFile> CreateDocument(TFileType kind) {
  switch (kind) {
  case ftCollection: return std::make_unique<TColFile>();
  case ftDictionary: return std::make_unique<TDicFile>();
  case ftContainer: return std::make_unique<TConFile>();
  default: return nullptr;
  }
}

} // namespace gs
