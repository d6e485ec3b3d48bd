#include "documents/InsFiles.h"

#include "documents/ConFiles.h"
#include "documents/ZStream.h"
#include "formats/Exceptions.h"
#include "model/DicFiles.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace gs {
namespace {

constexpr int kLevel = 9;
constexpr qint32 kMaxNameUnits = 32767;
constexpr qint64 kCopyChunk = 64 * 1024;

QString WithSeparator(QString folder) {
  folder = QDir::cleanPath(folder);
  if (!folder.endsWith(u'/')) folder += u'/';
  return folder;
}

// The file's bytes as they go into the installer: blocked when it is a dictionary or a
// container; empty when it cannot be read or converted.
void WriteEntryContent(const QString& path, TDeflateWriter& out) {
  QByteArray converted;
  try {
    const TFileBytes bytes(path);
    const QByteArrayView view = bytes.View();
    std::unique_ptr<TFile> document;
    if (view.startsWith(QByteArrayView("QDX", 3))) document = std::make_unique<TDicFile>();
    else if (view.startsWith(QByteArrayView("QP\xD1", 3))) document = std::make_unique<TConFile>();
    if (!document) {
      // Byte for byte, straight from the mapped file.
      out.WriteU32(quint32(view.size()));
      out.Write(view);
      return;
    }
    document->LoadFromFile(path);
    if (auto* dic = dynamic_cast<TDicFile*>(document.get())) dic->Info().SetBlocked(true);
    else static_cast<TConFile*>(document.get())->Info().SetBlocked(true);
    TStreamWriter memory;
    document->SaveToStream(memory, ExtractFileDir(path));
    converted = memory.Bytes();
  } catch (const std::exception&) {
    converted.clear();
  }
  out.WriteU32(quint32(converted.size()));
  out.Write(converted);
}

QStringList PackedFiles(const QString& mainDocument, TInsInfo& info) {
  QStringList list{mainDocument};
  const QString base = ExtractFileDir(mainDocument);
  try {
    if (std::unique_ptr<TFile> document = CreateDocument(FileKindOf(mainDocument))) {
      document->LoadFromFile(mainDocument);
      info.Assign(document->GetInfo());
      document->CollectFiles(list, base);
    }
  } catch (const std::exception&) {
    // The header keeps what was copied; the main document still goes.
  }
  // The main document first, then the others in case-insensitive order, each once.
  QStringList others;
  for (const QString& path : list)
    if (!SamePath(path, mainDocument) && !others.contains(path) && QFileInfo(path).isFile()) others << path;
  std::sort(others.begin(), others.end(), [](const QString& a, const QString& b) { return CompareText(a, b) < 0; });
  QStringList files;
  if (QFileInfo(mainDocument).isFile()) files << mainDocument;
  return files + others;
}

} // namespace

void TInsInfo::AssignExtra(const TInfo& source) {
  if (const auto* ins = dynamic_cast<const TInsInfo*>(&source)) m_created = ins->m_created;
}

void TInsInfo::ReadFromStream(TStreamReader& stream, const QString& baseFolder) {
  TInfo::ReadFromStream(stream, baseFolder);
  m_created = stream.ReadDouble();
}

void TInsInfo::WriteToStream(TStreamWriter& stream, const QString& baseFolder) const {
  TInfo::WriteToStream(stream, baseFolder);
  stream.WriteDouble(m_created);
}

void Pack(const QString& mainDocument, const QString& installer) {
  TInsInfo info;
  const QStringList files = PackedFiles(mainDocument, info);
  const QString base = ExtractFileDir(mainDocument);
  info.SetCreated(Now());
  QSaveFile file(installer);
  if (!file.open(QIODevice::WriteOnly)) throw EFileAccess(installer, true);
  try {
    TStreamWriter header(&file);
    info.WriteToStream(header, base);
    header.WriteWideText(ExtractFileName(mainDocument));
    header.WriteI32(qint32(files.size()));
    header.Flush();
    TDeflateWriter payload(file, kLevel);
    for (const QString& path : files) {
      payload.WriteWideText(SamePath(path, mainDocument) ? ExtractFileName(path) : MakeRelative(base, path));
      payload.WriteDouble(FileModified(path));
      WriteEntryContent(path, payload);
    }
    payload.Finish();
  } catch (...) {
    file.cancelWriting();
    throw EFileAccess(installer, true);
  }
  if (!file.commit()) throw EFileAccess(installer, true);
}

QString InstallerEntryPath(const QString& targetFolder, const QString& name) {
  const QString target = WithSeparator(targetFolder);
  if (name.isEmpty() || HasDrivePart(name) || name.startsWith(u'/') || name.startsWith(u'\\')) return {};
  const QString path = ExpandRelative(target, name);
  return path.startsWith(target) && path.size() > target.size() ? path : QString();
}

TInsFile::TInsFile(const QString& fileName) : m_fileName(fileName), m_bytes(std::make_unique<TFileBytes>(fileName)) {
  TStreamReader stream(m_bytes->View());
  m_info.ReadFromStream(stream, ExtractFileDir(fileName));
  m_mainFile = stream.ReadWideText();
  m_fileCount = stream.ReadI32();
  if (m_fileCount < 0) stream.Fail();
  m_payload = stream.Position();
}

TInsFile::~TInsFile() = default;

std::vector<TInsFile::TEntry> TInsFile::Entries() {
  std::vector<TEntry> entries;
  TInflateReader in(m_bytes->View().sliced(m_payload), m_payload);
  try {
    for (qint32 i = 0; i < m_fileCount; ++i) {
      TEntry e;
      e.name = in.ReadWideText(kMaxNameUnits);
      e.modified = in.ReadDouble();
      e.size = in.ReadU32();
      if (!in.Skip(e.size)) break;
      entries.push_back(std::move(e));
    }
  } catch (const EWrongStructure&) {
    // What came before the damage is listed.
  }
  return entries;
}

namespace {

// Creates the missing folders of path's folder below target, outermost first.
void CreateFolders(TInsFile& ins, const QString& target, const QString& path, const TInsFile::TDirNotify& notify) {
  const QString folder = QFileInfo(path).absolutePath();
  QStringList missing;
  for (QString f = folder; f.size() >= target.size() && !QFileInfo::exists(f); f = QFileInfo(f).absolutePath()) missing.prepend(f);
  for (const QString& f : missing)
    if (QDir().mkdir(f) && notify) notify(ins, f);
}

// Copies size bytes of the stream into path; false when the file could not be written (the
// content is then skipped). Raises EWrongStructure when the stream ends first, leaving any
// file that was there.
bool WriteEntry(TInflateReader& in, const QString& path, quint32 size, TDateTime modified) {
  QSaveFile file(path);
  const bool open = file.open(QIODevice::WriteOnly);
  std::vector<char> buffer(size_t(std::min<qint64>(size, kCopyChunk)));
  qint64 left = size;
  bool written = open;
  while (left > 0) {
    const qint64 got = in.Read(buffer.data(), std::min<qint64>(left, qint64(buffer.size())));
    if (got == 0) {
      if (open) file.cancelWriting();
      in.Fail();
    }
    if (written && file.write(buffer.data(), got) != got) written = false;
    left -= got;
  }
  if (!open) return false;
  if (!written) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  SetFileModified(path, modified);
  return true;
}

} // namespace

void TInsFile::Extract(const QString& targetFolder) {
  const QString target = WithSeparator(targetFolder);
  m_mainPath = InstallerEntryPath(target, m_mainFile);
  QDir().mkpath(target);
  TInflateReader in(m_bytes->View().sliced(m_payload), m_payload);
  bool yesToAll = false;
  for (qint32 i = 0; i < m_fileCount; ++i) {
    const QString name = in.ReadWideText(kMaxNameUnits);
    const TDateTime modified = in.ReadDouble();
    const quint32 size = in.ReadU32();
    const QString path = InstallerEntryPath(target, name);
    TOverwrite answer;
    if (path.isEmpty()) {
      answer.writeThis = false;
      if (OnEntryRefused) OnEntryRefused(*this, name);
    } else if (QFileInfo::exists(path) && !yesToAll && OnOverwrite) {
      answer.yesToAll = yesToAll;
      OnOverwrite(*this, path, answer, size, modified);
      yesToAll = answer.yesToAll;
    }
    if (!answer.writeThis) {
      if (!in.Skip(size)) in.Fail();
      continue;
    }
    CreateFolders(*this, target, path, OnDirCreated);
    WriteEntry(in, path, size, modified);
    if (OnFileInstalled) OnFileInstalled(*this, path, modified);
  }
}

} // namespace gs
