// File kinds and the small file functions that every part uses.
#pragma once

#include "platform/FileTimes.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace gs {

// The kind of a file by its extension (compared without case).
enum TFileType {
  ftNone = 0,
  ftCollection = 1,   // ".qcu"
  ftDictionary = 2,   // ".qdx"
  ftContainer = 3,    // ".qpc"
  ftInstaller = 4,    // ".qpi"
  ftText = 5,         // ".txt"
  ftSession = 6,      // ".qgs"
  ftIcon = 7,         // ".ico"
};

TFileType FileTypeOf(const QString& fileName);
QString FileTypeExtension(TFileType type);  // ".qcu" and so on; empty for ftNone

// The document kind by the first 3 bytes: ftCollection, ftDictionary, ftContainer or ftNone.
// Never raises.
TFileType FileKindOf(const QString& fileName);

// The title of a document (version-checked generic header) or its Info.ini title; the file
// name without folder and extension when that is empty. Never raises.
QString FileTitle(const QString& fileName);

// FileModified of a document; for any other file, that of Info.ini in its folder.
TDateTime ContentDate(const QString& fileName);

// The bytes of a whole file, mapped when possible. Raises EWrongFileName when the file does
// not exist and EFileAccess when it cannot be read.
class TFileBytes {
public:
  explicit TFileBytes(const QString& fileName);
  ~TFileBytes();
  TFileBytes(const TFileBytes&) = delete;
  TFileBytes& operator=(const TFileBytes&) = delete;
  QByteArrayView View() const { return {m_data, m_size}; }

private:
  QFile m_file;
  QByteArray m_copy;
  const char* m_data = nullptr;
  qint64 m_size = 0;
};

} // namespace gs
