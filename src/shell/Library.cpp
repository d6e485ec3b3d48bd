#include "shell/Library.h"

#include "formats/Exceptions.h"
#include "formats/File.h"
#include "formats/FileFunctions.h"
#include "formats/Info.h"
#include "model/Values.h"
#include "platform/Paths.h"
#include "shell/FileMessages.h"
#include "shell/Folders.h"
#include "shell/LangFrm.h"

#include <QFile>
#include <QFileInfo>

namespace gs {
namespace {

bool AcceptedKind(const QString& fileName) {
  switch (FileTypeOf(fileName)) {
  case ftCollection:
  case ftDictionary:
  case ftContainer:
  case ftText: return true;
  default: return false;
  }
}

void ShowRegisterFailure(const std::exception& error, const QString& fileName) {
  const QString name = ExtractFileName(fileName);
  if (dynamic_cast<const EWrongFileName*>(&error)) ShowLangMessage(msgFileNotFound, {name});
  else if (dynamic_cast<const EWrongFormat*>(&error)) ShowMessageText(dynamic_cast<const EWrongVersion*>(&error) ? msgWrongVersion : msgWrongFormat, FileErrorText(error, fileName, TFileErrorContext::Opening));
  else ShowLangMessage(msgWrongStructure, {name});
}

} // namespace

void TLibItem::SetVisible(bool visible) {
  if (visible == m_visible) return;
  m_visible = visible;
  const TNotify& notify = visible ? OnShow : OnHide;
  if (notify) notify(*this);
}

QString TLibItem::DisplayTitle() const {
  const QString& title = Title.DisplayText();
  return title.isEmpty() ? FileNameWithoutExt(FileName) : title;
}

qint32 StandardImageIndex(const QString& fileName) {
  switch (FileTypeOf(fileName)) {
  case ftCollection: return 0;
  case ftDictionary: return 1;
  case ftContainer: return 2;
  case ftInstaller: return 3;
  default: return 4;
  }
}

TLibrary::TLibrary() {
  SetLibraryTitleLookup([this](const QString& fileName) {
    // Values hold file names in the stored form, with "\" separators.
    const TLibItem* item = FindEntry(ExpandRelative(QString(), fileName));
    return item ? item->DisplayTitle() : QString();
  });
}

TLibrary::~TLibrary() {
  SetLibraryTitleLookup(nullptr);
}

TLibItem* TLibrary::FindEntry(const QString& fileName) const {
  for (const auto& item : m_items)
    if (SamePath(item->FileName, fileName)) return item.get();
  return nullptr;
}

void TLibrary::Add(std::unique_ptr<TLibItem> item) {
  TLibItem& i = *item;
  i.OnChange = [this](TLibItem& e) { if (OnItemChange) OnItemChange(*this, e); };
  i.OnShow = [this](TLibItem& e) { if (OnItemShow) OnItemShow(*this, e); };
  i.OnHide = [this](TLibItem& e) { if (OnItemHide) OnItemHide(*this, e); };
  m_items.push_back(std::move(item));
  if (OnItemAdd) OnItemAdd(*this, i);
}

TLibItem* TLibrary::RegisterFile(const QString& fileName, bool visible) {
  if (!AcceptedKind(fileName) || !QFileInfo(fileName).isFile()) return nullptr;
  if (TLibItem* found = FindEntry(fileName)) {
    RefreshEntry(*found);
    return found;
  }
  auto item = std::make_unique<TLibItem>();
  item->FileName = fileName;
  item->Added = Now();
  item->m_visible = visible;
  try {
    RefreshEntry(*item);
  } catch (const std::exception& e) {
    ShowRegisterFailure(e, fileName);
    return nullptr;
  }
  TLibItem* kept = item.get();
  Add(std::move(item));
  return kept;
}

TLibItem* TLibrary::ShowFile(const QString& fileName) {
  TLibItem* item = RegisterFile(fileName, true);
  if (item) item->SetVisible(true);
  return item;
}

TLibItem* TLibrary::HideFile(const QString& fileName) {
  TLibItem* item = RegisterFile(fileName, true);
  if (item) item->SetVisible(false);
  return item;
}

void TLibrary::DeleteEntry(TLibItem* item) {
  const auto it = std::find_if(m_items.begin(), m_items.end(), [item](const auto& p) { return p.get() == item; });
  if (it == m_items.end()) return;
  if (OnItemDelete) OnItemDelete(*this, *item);
  m_items.erase(it);
}

void TLibrary::RefreshEntry(TLibItem& item) {
  if (QFileInfo::exists(item.FileName)) {
    const TDateTime stamp = ContentDate(item.FileName);
    if (stamp != item.ContentStamp) {
      TInfo info(true);
      info.LoadHeader(item.FileName);
      item.Icon = info.Icon();
      item.Title = info.Title();
      item.Author = info.Author();
      item.Hint = info.Hint();
      item.ContentStamp = stamp;
      if (item.OnChange) item.OnChange(item);
    }
  }
  item.IconIndex = StandardImageIndex(item.FileName);
}

void TLibrary::RefreshAll() {
  for (int i = Count() - 1; i >= 0; --i)
    if (!QFileInfo::exists(Item(i).FileName)) DeleteEntry(&Item(i));
  for (int i = Count() - 1; i >= 0; --i) {
    try {
      RefreshEntry(Item(i));
    } catch (const std::exception&) {
      DeleteEntry(&Item(i));
    }
  }
}

void TLibrary::BeginUpdate(int argument) {
  if (OnBeginUpdate) OnBeginUpdate(*this, argument);
}

void TLibrary::EndUpdate() {
  if (OnEndUpdate) OnEndUpdate(*this);
}

void TLibrary::LoadFromFile(const QString& fileName) {
  if (!QFileInfo::exists(fileName)) return;
  while (!m_items.empty()) DeleteEntry(m_items.back().get());
  const QString base = Folders().programDir;
  try {
    const TFileBytes bytes(fileName);
    TStreamReader stream(bytes.View());
    m_readVersion = ReadDatabaseVersion(stream, kVersion, &m_keepNewerFile);
    const qint32 count = stream.ReadI32();
    stream.CheckCount(count, 20);
    const bool current = m_readVersion.major >= 2;
    for (qint32 i = 0; i < count; ++i) {
      auto item = std::make_unique<TLibItem>();
      item->FileName = ExpandRelative(base, stream.ReadWideText());
      item->Added = stream.ReadDouble();
      item->ContentStamp = stream.ReadDouble();
      if (current) {
        const QString icon = stream.ReadWideText();
        item->Icon = icon.isEmpty() ? QString() : ExpandRelative(base, icon);
        item->Title.ReadFrom(stream);
        item->Author = stream.ReadWideText();
        item->Hint.ReadFrom(stream);
        item->m_visible = stream.ReadU8() != 0;
      } else {
        item->Title.SetEnglishText(stream.ReadWideText());
        item->Author = stream.ReadWideText();
      }
      Add(std::move(item));
    }
  } catch (const std::exception&) {
    // The entries read before the fault stay.
  }
}

void TLibrary::SaveToFile(const QString& fileName) const {
  // A library written by a newer program is not replaced by what this one could read of it.
  if (m_keepNewerFile) return;
  if (m_items.empty()) {
    QFile::remove(fileName);
    return;
  }
  const QString base = Folders().programDir;
  WriteWholeFile(fileName, [&](TStreamWriter& stream) {
    stream.WriteU8(kVersion.major);
    stream.WriteU8(kVersion.minor);
    stream.WriteI32(qint32(m_items.size()));
    for (const auto& item : m_items) {
      stream.WriteWideText(MakeRelative(base, item->FileName));
      stream.WriteDouble(item->Added);
      stream.WriteDouble(item->ContentStamp);
      stream.WriteWideText(MakeRelative(base, item->Icon));
      item->Title.WriteTo(stream);
      stream.WriteWideText(item->Author);
      item->Hint.WriteTo(stream);
      stream.WriteU8(item->m_visible ? 1 : 0);
    }
  });
}

} // namespace gs
