// Installers: a document and every file it needs, compressed into one zlib stream after a
// common header, so that another user can install them with one action.
#pragma once

#include "formats/FileFunctions.h"
#include "formats/Info.h"
#include "platform/FileTimes.h"

#include <functional>
#include <memory>

namespace gs {

class TInfo;

class TInsInfo : public TInfo {
public:
  TInsInfo() : TInfo(false) {}
  TSignature GetSignature() const override { return {'Q', 'P', 'I'}; }
  TVersion GetVersion() const override { return {1, 0}; }
  void AssignExtra(const TInfo& source) override;
  void ReadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void WriteToStream(TStreamWriter& stream, const QString& baseFolder) const override;

  TDateTime Created() const { return m_created; }
  void SetCreated(TDateTime created) { m_created = created; }

private:
  TDateTime m_created = 0;
};

// Builds an installer of the main document and, for a container, every file it refers to.
// Carried containers and dictionaries are marked blocked; the files on disk stay as they are.
// Raises EFileAccess when the installer cannot be written (the old file then stays).
void Pack(const QString& mainDocument, const QString& installer);

// An installer opened for reading.
class TInsFile {
public:
  // The decision for one existing file: write it, and stop asking for the rest.
  struct TOverwrite {
    bool writeThis = true;
    bool yesToAll = false;
  };
  using TFileNotify = std::function<void(TInsFile&, const QString& path, TDateTime modified)>;
  using TDirNotify = std::function<void(TInsFile&, const QString& path)>;
  using TOverwriteNotify = std::function<void(TInsFile&, const QString& path, TOverwrite& answer, quint32 size, TDateTime modified)>;
  using TSkipNotify = std::function<void(TInsFile&, const QString& name)>;

  // Reads the header, the main file's name and the file count; raises the header errors.
  explicit TInsFile(const QString& fileName);
  ~TInsFile();
  TInsFile(const TInsFile&) = delete;
  TInsFile& operator=(const TInsFile&) = delete;

  const QString& FileName() const { return m_fileName; }
  const TInsInfo& Info() const { return m_info; }
  const QString& MainFile() const { return m_mainFile; }
  qint32 FileCount() const { return m_fileCount; }
  // After Extract: the main document's path in the target folder (empty when it was refused).
  const QString& MainPath() const { return m_mainPath; }

  // Unpacks every entry into the target folder. An entry whose path leads outside it (".."
  // steps, an absolute path, a drive) is not written; an entry that the stream does not
  // deliver whole leaves an existing file as it was. Raises EWrongStructure for damaged data.
  void Extract(const QString& targetFolder);

  // One entry of the payload, for listings.
  struct TEntry {
    QString name;
    TDateTime modified;
    quint32 size;
  };
  // Reads the payload without writing anything; stops at damage.
  std::vector<TEntry> Entries();

  TFileNotify OnFileInstalled;
  TDirNotify OnDirCreated;
  TOverwriteNotify OnOverwrite;
  TSkipNotify OnEntryRefused;

private:
  QString m_fileName;
  std::unique_ptr<TFileBytes> m_bytes;
  TInsInfo m_info;
  QString m_mainFile;
  qint32 m_fileCount = 0;
  qint64 m_payload = 0;  // where the zlib stream begins
  QString m_mainPath;
};

// The path of an installer entry in the target folder, or empty when it leads outside it.
QString InstallerEntryPath(const QString& targetFolder, const QString& name);

} // namespace gs
