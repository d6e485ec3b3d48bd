// TFile: the base of the document files (dictionary, collection, container): a header and a
// body read from and written to streams, with a base folder for relative paths.
#pragma once

#include "formats/Info.h"

#include <QStringList>
#include <functional>

namespace gs {

class TFile {
public:
  virtual ~TFile() = default;

  virtual TInfo& GetInfo() = 0;
  const TInfo& GetInfo() const { return const_cast<TFile*>(this)->GetInfo(); }
  // Adds the paths of the files this document depends on.
  virtual void CollectFiles(QStringList& list, const QString& baseFolder) const;
  // Here the header; descendants call this first and then read (write) their body.
  virtual void LoadFromStream(TStreamReader& stream, const QString& baseFolder);
  virtual void SaveToStream(TStreamWriter& stream, const QString& baseFolder) const;

  // Raises EWrongFileName for a missing file and the readers' exceptions; Loading is set
  // meanwhile.
  void LoadFromFile(const QString& fileName);
  // Writes through a save file: on any failure (EFileAccess and the writers' exceptions) the
  // old file stays as it was.
  void SaveToFile(const QString& fileName) const;

  bool Loading() const { return m_loading; }

private:
  bool m_loading = false;
};

// Reads the two version bytes that lead the program's own databases; a version newer than
// current sets newer and raises EWrongStructure.
TVersion ReadDatabaseVersion(TStreamReader& stream, TVersion current, bool* newer = nullptr);

// Writes a whole file through a save file: on any failure the old file stays as it was and the
// result is false. Never raises.
bool WriteWholeFile(const QString& fileName, const std::function<void(TStreamWriter&)>& write);

} // namespace gs
