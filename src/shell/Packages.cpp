#include "shell/Packages.h"

#include "documents/InsFiles.h"
#include "formats/Exceptions.h"
#include "formats/File.h"
#include "formats/FileFunctions.h"
#include "formats/Stream.h"
#include "platform/Paths.h"
#include "shell/LangFrm.h"
#include "shell/Library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace gs {

bool RemoveEntry(const TPkgEntry& entry) {
  if (entry.PathKind == pkFolder) return QDir().rmdir(entry.Path);
  return QFileInfo(entry.Path).isFile() && FileModified(entry.Path) == entry.Modified && QFile::remove(entry.Path);
}

int TPkgItems::AddEntry(TPathKind kind, const QString& path, TDateTime modified) {
  m_entries.push_back({kind, path, modified});
  return EntryCount() - 1;
}

void TPkgItems::RemoveLeftovers() {
  std::stable_sort(m_entries.begin(), m_entries.end(), [](const TPkgEntry& a, const TPkgEntry& b) { return a.Path.size() < b.Path.size(); });
  for (int i = EntryCount() - 1; i >= 0; --i)
    if (RemoveEntry(m_entries[size_t(i)])) m_entries.erase(m_entries.begin() + i);
}

void TPkgItems::ReadEntries(TStreamReader& stream, const QString& baseFolder) {
  const qint32 count = stream.ReadI32();
  stream.CheckCount(count, 13);  // kind, an empty path, a date
  for (qint32 i = 0; i < count; ++i) {
    const qint64 at = stream.Position();
    const quint8 kind = stream.ReadU8();
    if (kind > pkFolder) stream.FailAt(at);
    const QString path = stream.ReadWideText();
    const TDateTime modified = stream.ReadDouble();
    AddEntry(TPathKind(kind), ExpandRelative(baseFolder, path), modified);
  }
}

void TPkgItems::WriteEntries(TStreamWriter& stream, const QString& baseFolder) const {
  stream.WriteI32(EntryCount());
  for (const TPkgEntry& e : m_entries) {
    stream.WriteU8(e.PathKind);
    stream.WriteWideText(MakeRelative(baseFolder, e.Path));
    stream.WriteDouble(e.Modified);
  }
}

void TPackage::Install(TInsFile& installer, const QString& folder, TLibrary* library) {
  const TInsInfo& info = installer.Info();
  Folder = folder;
  Guid = info.Guid();
  Created = info.Created();
  if (!info.Title().DisplayText().isEmpty()) Title = info.Title();
  else {
    Title.Clear();
    Title.SetCurrentText(FileNameWithoutExt(installer.FileName()));
  }
  Author = info.Author();
  installer.OnFileInstalled = [this, library](TInsFile&, const QString& path, TDateTime modified) {
    AddEntry(pkFile, path, modified);
    if (library) library->RegisterFile(path, true);
  };
  installer.OnDirCreated = [this](TInsFile&, const QString& path) { AddEntry(pkFolder, path, 0); };
  // Until there is a window to ask, every existing file is overwritten.
  installer.OnOverwrite = [](TInsFile&, const QString&, TInsFile::TOverwrite& answer, quint32, TDateTime) {
    answer.writeThis = true;
    answer.yesToAll = true;
  };
  RemoveFiles();
  try {
    installer.Extract(folder);
  } catch (...) {
    Installed = Now();
    throw;
  }
  if (library && !installer.MainPath().isEmpty()) library->RegisterFile(installer.MainPath(), true);
  if (library) library->RefreshAll();
  Installed = Now();
}

void TPackage::RemoveFiles() {
  for (int i = EntryCount() - 1; i >= 0; --i) {
    const TPkgEntry& e = Entry(i);
    if (!RemoveEntry(e) && OnEntryNotRemoved) OnEntryNotRemoved(*this, e);
  }
  ClearEntries();
}

TPackages::TPackages(TLibrary* library, QString targetFolder) : m_library(library), m_targetFolder(std::move(targetFolder)) {}

TPackages::~TPackages() = default;

TPackage* TPackages::FindByGuid(const TGuid& guid) const {
  for (const auto& p : m_packages)
    if (p->Guid == guid) return p.get();
  return nullptr;
}

TPackage& TPackages::AddPackage(std::unique_ptr<TPackage> package) {
  TPackage& p = *package;
  p.OnEntryNotRemoved = [this](TPackage&, const TPkgEntry& e) { m_leftovers.AddEntry(e.PathKind, e.Path, e.Modified); };
  p.OnUninstalled = [this](TPackage& done) {
    RemovePackage(done);
    m_leftovers.RemoveLeftovers();
  };
  m_packages.push_back(std::move(package));
  if (OnPackageAdd) OnPackageAdd(*this, p);
  return p;
}

void TPackages::RemovePackage(TPackage& package) {
  const auto it = std::find_if(m_packages.begin(), m_packages.end(), [&](const auto& p) { return p.get() == &package; });
  if (it == m_packages.end()) return;
  if (OnPackageDelete) OnPackageDelete(*this, package);
  m_packages.erase(it);
}

bool TPackages::InstallFile(const QString& fileName, bool silent) {
  (void)silent;  // the install dialog comes with the windows
  try {
    TInsFile installer(fileName);
    TPackage* package = FindByGuid(installer.Info().Guid());
    if (!package) package = &AddPackage(std::make_unique<TPackage>());
    package->Install(installer, m_targetFolder, m_library);
  } catch (const std::exception&) {
    if (OnFilesChanged) OnFilesChanged();
    return false;
  }
  if (OnFilesChanged) OnFilesChanged();
  return true;
}

void TPackages::Uninstall(TPackage& package, bool silent) {
  if (!silent && ShowLangMessage(511, {package.Title.DisplayText()}) != TMsgAnswer::Yes) return;
  package.RemoveFiles();
  if (m_library) m_library->RefreshAll();
  if (OnFilesChanged) OnFilesChanged();
  if (package.OnUninstalled) package.OnUninstalled(package);
}

void TPackages::UninstallAll(bool silent) {
  for (int i = Count() - 1; i >= 0; --i) Uninstall(Package(i), silent);
  m_leftovers.RemoveLeftovers();
}

void TPackages::LoadFromFile(const QString& fileName) {
  if (!QFileInfo::exists(fileName)) return;
  while (!m_packages.empty()) RemovePackage(*m_packages.back());
  m_leftovers.ClearEntries();
  const QString base = ExtractFileDir(fileName);
  try {
    const TFileBytes bytes(fileName);
    TStreamReader stream(bytes.View());
    m_readVersion = ReadDatabaseVersion(stream, kVersion, &m_keepNewerFile);
    const qint32 count = stream.ReadI32();
    stream.CheckCount(count, 16 + 8 + 4 + 4 + 8 + 4);
    for (qint32 i = 0; i < count; ++i) {
      auto p = std::make_unique<TPackage>();
      stream.ReadInto(p->Guid.data(), 16);
      p->Created = stream.ReadDouble();
      p->Folder = stream.ReadWideText();
      if (m_readVersion.major >= 2) p->Title.ReadFrom(stream);
      else p->Title.SetEnglishText(stream.ReadWideText());
      p->Author = stream.ReadWideText();
      p->Installed = stream.ReadDouble();
      p->ReadEntries(stream, base);
      AddPackage(std::move(p));
    }
    if (CompareVersion(m_readVersion, {2, 1}) >= 0) m_leftovers.ReadEntries(stream, base);
  } catch (const std::exception&) {
    // What was read before the fault stays.
  }
}

void TPackages::SaveToFile(const QString& fileName) const {
  // A store written by a newer program is kept, not replaced by an empty one.
  if (m_keepNewerFile) return;
  if (m_packages.empty()) {
    QFile::remove(fileName);
    return;
  }
  const QString base = ExtractFileDir(fileName);
  WriteWholeFile(fileName, [&](TStreamWriter& stream) {
    stream.WriteU8(kVersion.major);
    stream.WriteU8(kVersion.minor);
    stream.WriteI32(Count());
    for (const auto& p : m_packages) {
      stream.WriteBytes(QByteArrayView(reinterpret_cast<const char*>(p->Guid.data()), 16));
      stream.WriteDouble(p->Created);
      stream.WriteWideText(p->Folder);
      p->Title.WriteTo(stream);
      stream.WriteWideText(p->Author);
      stream.WriteDouble(p->Installed);
      p->WriteEntries(stream, base);
    }
    m_leftovers.WriteEntries(stream, base);
  });
}

} // namespace gs
