// Installed packages: the files and folders each installation created, so that a package can
// be updated, restored and uninstalled ("Packages.db"), and the leftovers that could not be
// removed yet.
#pragma once

#include "formats/LangStr.h"
#include "formats/Version.h"
#include "platform/FileTimes.h"
#include "platform/Guid.h"

#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TInsFile;
class TLibrary;
class TStreamReader;
class TStreamWriter;

enum TPathKind : quint8 { pkFile = 0, pkFolder = 1 };

struct TPkgEntry {
  TPathKind PathKind = pkFile;
  QString Path;           // full path
  TDateTime Modified = 0;  // a file's time when it was written; 0 for a folder
};

class TPkgItems {
public:
  int AddEntry(TPathKind kind, const QString& path, TDateTime modified);
  void ClearEntries() { m_entries.clear(); }
  int EntryCount() const { return int(m_entries.size()); }
  const TPkgEntry& Entry(int index) const { return m_entries[size_t(index)]; }
  // Removes what can be removed now (unchanged files, empty folders), innermost first; the
  // rest stays for a later attempt.
  void RemoveLeftovers();
  void ReadEntries(TStreamReader& stream, const QString& baseFolder);
  void WriteEntries(TStreamWriter& stream, const QString& baseFolder) const;

protected:
  std::vector<TPkgEntry> m_entries;
};

// Removes an entry when it is safe: a file only when it still has the recorded time, a folder
// only when it is empty.
bool RemoveEntry(const TPkgEntry& entry);

class TPackage : public TPkgItems {
public:
  TDateTime Installed = 0;
  QString Author;
  TLangStr Title;
  std::function<void(TPackage&)> OnUninstalled;
  TGuid Guid{};
  QString Folder;
  TDateTime Created = 0;
  std::function<void(TPackage&, const TPkgEntry&)> OnEntryNotRemoved;

  // Installs (updates, restores) from the installer into folder; the library, when given,
  // registers every file written. Existing files are overwritten (as "Yes to All").
  void Install(TInsFile& installer, const QString& folder, TLibrary* library);
  // Deletes the recorded files that are unchanged and the folders that are empty; the others
  // go to OnEntryNotRemoved. Then the entries are cleared.
  void RemoveFiles();
};

class TPackages {
public:
  using TNotify = std::function<void(TPackages&, TPackage&)>;
  static constexpr TVersion kVersion{2, 2};

  // library: where installed files are registered (may be null); targetFolder: PackagesDir.
  TPackages(TLibrary* library, QString targetFolder);
  ~TPackages();
  TPackages(const TPackages&) = delete;
  TPackages& operator=(const TPackages&) = delete;

  int Count() const { return int(m_packages.size()); }
  TPackage& Package(int index) const { return *m_packages[size_t(index)]; }
  TPackage* FindByGuid(const TGuid& guid) const;
  TPkgItems& Leftovers() { return m_leftovers; }

  // Installs one installer; any failure ends it silently, the package keeping what was done.
  // False when nothing was installed.
  bool InstallFile(const QString& fileName, bool silent);
  // Unless silent, asks for each package first.
  void Uninstall(TPackage& package, bool silent);
  void UninstallAll(bool silent);

  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;
  TVersion ReadVersion() const { return m_readVersion; }

  TNotify OnPackageDelete;
  TNotify OnPackageAdd;
  // After an install or uninstall: the master dictionary may be gone.
  std::function<void()> OnFilesChanged;

private:
  TPackage& AddPackage(std::unique_ptr<TPackage> package);
  void RemovePackage(TPackage& package);

  std::vector<std::unique_ptr<TPackage>> m_packages;
  TPkgItems m_leftovers;
  TLibrary* m_library;
  QString m_targetFolder;
  TVersion m_readVersion = kVersion;
  bool m_keepNewerFile = false;
};

} // namespace gs
