#include "formats/File.h"

#include "formats/FileFunctions.h"
#include "platform/Paths.h"

#include <QSaveFile>

namespace gs {
namespace {

// Sets a flag for the lifetime of the guard, also when an exception passes.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
  ~TFlagGuard() { m_flag = false; }

private:
  bool& m_flag;
};

} // namespace

void TFile::CollectFiles(QStringList&, const QString&) const {}

void TFile::LoadFromStream(TStreamReader& stream, const QString& baseFolder) {
  GetInfo().ReadFromStream(stream, baseFolder);
}

void TFile::SaveToStream(TStreamWriter& stream, const QString& baseFolder) const {
  GetInfo().WriteToStream(stream, baseFolder);
}

void TFile::LoadFromFile(const QString& fileName) {
  TFlagGuard loading(m_loading);
  const TFileBytes bytes(fileName);
  TStreamReader stream(bytes.View());
  LoadFromStream(stream, ExtractFileDir(fileName));
}

void TFile::SaveToFile(const QString& fileName) const {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) throw EFileAccess(fileName, true);
  try {
    TStreamWriter stream(&file);
    SaveToStream(stream, ExtractFileDir(fileName));
    stream.Flush();
  } catch (const EFileAccess&) {
    file.cancelWriting();
    throw EFileAccess(fileName, true);
  } catch (...) {
    file.cancelWriting();
    throw;
  }
  if (!file.commit()) throw EFileAccess(fileName, true);
}

TVersion ReadDatabaseVersion(TStreamReader& stream, TVersion current, bool* newer) {
  TVersion version;
  version.major = stream.ReadU8();
  version.minor = stream.ReadU8();
  if (CompareVersion(version, current) > 0) {
    if (newer) *newer = true;
    stream.Fail();
  }
  return version;
}

bool WriteWholeFile(const QString& fileName, const std::function<void(TStreamWriter&)>& write) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  try {
    TStreamWriter stream(&file);
    write(stream);
    stream.Flush();
  } catch (const std::exception&) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

} // namespace gs
