#include "formats/FileFunctions.h"

#include "formats/Info.h"
#include "platform/Paths.h"

#include <QFileInfo>

namespace gs {
namespace {

struct TExtension {
  TFileType type;
  const char16_t* ext;
};
constexpr TExtension kExtensions[] = {
    {ftCollection, u".qcu"}, {ftDictionary, u".qdx"}, {ftContainer, u".qpc"},
    {ftInstaller, u".qpi"},  {ftText, u".txt"},       {ftSession, u".qgs"},
    {ftIcon, u".ico"},
};

} // namespace

TFileType FileTypeOf(const QString& fileName) {
  const QString name = ExtractFileName(fileName);
  for (const TExtension& e : kExtensions)
    if (name.endsWith(QStringView(e.ext), Qt::CaseInsensitive)) return e.type;
  return ftNone;
}

QString FileTypeExtension(TFileType type) {
  for (const TExtension& e : kExtensions)
    if (e.type == type) return QString::fromUtf16(e.ext);
  return {};
}

TFileType FileKindOf(const QString& fileName) {
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) return ftNone;
  const QByteArray head = file.read(3);
  if (head == "QCU") return ftCollection;
  if (head == "QDX") return ftDictionary;
  if (head == QByteArray("QP\xD1", 3)) return ftContainer;
  return ftNone;
}

QString FileTitle(const QString& fileName) {
  QString title;
  try {
    TInfo info(false);
    info.LoadHeader(fileName);
    title = info.Title().DisplayText();
  } catch (...) {
    // Any damage only costs the title: the bare file name stands in for it.
  }
  return title.isEmpty() ? FileNameWithoutExt(fileName) : title;
}

TDateTime ContentDate(const QString& fileName) {
  if (FileKindOf(fileName) != ftNone) return FileModified(fileName);
  return FileModified(ExtractFileDir(fileName) + QStringLiteral("Info.ini"));
}

TFileBytes::TFileBytes(const QString& fileName) : m_file(fileName) {
  if (!QFileInfo(fileName).isFile()) throw EWrongFileName(fileName);
  if (!m_file.open(QIODevice::ReadOnly)) throw EFileAccess(fileName, false);
  m_size = m_file.size();
  if (m_size > 0) {
    if (uchar* mapped = m_file.map(0, m_size)) {
      m_data = reinterpret_cast<const char*>(mapped);
      return;
    }
  }
  m_copy = m_file.readAll();
  if (m_file.error() != QFileDevice::NoError) throw EFileAccess(fileName, false);
  m_data = m_copy.constData();
  m_size = m_copy.size();
}

TFileBytes::~TFileBytes() = default;

} // namespace gs
