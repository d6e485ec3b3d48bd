#include "shell/Recent.h"

#include "formats/Exceptions.h"
#include "formats/File.h"
#include "formats/FileFunctions.h"
#include "formats/Stream.h"
#include "formats/Version.h"
#include "model/EO.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>

namespace gs {
namespace {

constexpr TVersion kRecentVersion{1, 0};

void DropMissingFiles(QStringList& values) {
  values.removeIf([](const QString& v) { return !QFileInfo::exists(v); });
}

} // namespace

TRecentItem* TRecent::Find(const QString& name) {
  for (auto& item : m_items)
    if (SameText(item->name, name)) return item.get();
  return nullptr;
}

const TRecentItem* TRecent::Find(const QString& name) const {
  return const_cast<TRecent*>(this)->Find(name);
}

TRecentItem* TRecent::Obtain(const QString& name) {
  if (TRecentItem* item = Find(name)) return item;
  // A 256th list could not be stored; it is not created, so what is kept stays loadable.
  if (ListCount() >= kMaxLists) return nullptr;
  m_items.push_back(std::make_unique<TRecentItem>());
  m_items.back()->name = name;
  return m_items.back().get();
}

void TRecent::Refresh(TRecentItem& item) {
  if (item.values.size() > kMaxValues) item.values.resize(kMaxValues);
  if (!item.options) return;
  if (item.options->Style() == esFileName) DropMissingFiles(item.values);
  item.options->PickList().SetItems(item.values);
}

void TRecent::AttachOptions(const QString& name, TEditorOptions* options) {
  if (TRecentItem* item = Obtain(name)) {
    item->options = options;
    Refresh(*item);
  }
}

void TRecent::Seed(const QString& name, const QString& value) {
  if (TRecentItem* item = Obtain(name)) {
    item->values.append(value);
    Refresh(*item);
  }
}

void TRecent::Add(const QString& name, const QString& value) {
  if (value.isEmpty()) return;
  TRecentItem* item = Obtain(name);
  if (!item) return;
  const auto found = std::find_if(item->values.begin(), item->values.end(), [&](const QString& v) { return SameText(v, value); });
  if (found != item->values.end()) item->values.move(found - item->values.begin(), 0);
  else item->values.prepend(value);
  Refresh(*item);
}

void TRecent::Remove(const QString& name, const QString& value) {
  TRecentItem* item = Find(name);
  if (!item) return;
  for (qsizetype i = 0; i < item->values.size(); ++i)
    if (SameText(item->values[i], value)) {
      item->values.removeAt(i);
      return;
    }
}

int TRecent::Count(const QString& name) const {
  const TRecentItem* item = Find(name);
  return item ? int(item->values.size()) : 0;
}

QString TRecent::Value(const QString& name, int index) const {
  const TRecentItem* item = Find(name);
  return item && index >= 0 && index < item->values.size() ? item->values[index] : QString();
}

QStringList TRecent::Values(const QString& name) const {
  const TRecentItem* item = Find(name);
  return item ? item->values : QStringList();
}

void TRecent::PurgeMissingFiles(const QString& name) {
  if (TRecentItem* item = Find(name)) {
    DropMissingFiles(item->values);
    Refresh(*item);
  }
}

void TRecent::LoadFromFile(const QString& fileName) {
  if (!QFileInfo::exists(fileName)) return;
  try {
    const TFileBytes bytes(fileName);
    TStreamReader stream(bytes.View());
    ReadDatabaseVersion(stream, kRecentVersion);
    const int count = stream.ReadU8();
    for (int i = 0; i < count; ++i) {
      const QString name = stream.ReadShortAnsi();
      const QString text = stream.ReadWideText();
      TRecentItem* item = Obtain(name);
      if (!item) break;
      item->values = SplitLines(text);
      Refresh(*item);
    }
  } catch (const std::exception&) {
    // A damaged or newer file keeps what was read; recent values never reach the user.
  }
}

void TRecent::SaveToFile(const QString& fileName) const {
  WriteWholeFile(fileName, [&](TStreamWriter& stream) {
    stream.WriteU8(kRecentVersion.major);
    stream.WriteU8(kRecentVersion.minor);
    stream.WriteU8(quint8(m_items.size()));
    for (const auto& item : m_items) {
      stream.WriteShortAnsi(item->name);
      QString text;
      for (const QString& v : item->values) text += v + QStringLiteral("\r\n");
      stream.WriteWideText(text);
    }
  });
}

} // namespace gs
