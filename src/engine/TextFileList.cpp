#include "engine/TextFileList.h"

#include "formats/Exceptions.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/TextDecode.h"

#include <QFile>
#include <QFileInfo>

namespace gs {

QStringList SplitTextFileLines(QStringView text) {
  return SplitLines(UpToNul(text));
}

void TFileLines::SetText(QStringView text) {
  m_lines = SplitTextFileLines(text);
  m_last.clear();
  m_last.reserve(m_lines.size());
  for (int i = 0; i < int(m_lines.size()); ++i) m_last.insert(UpperCase(m_lines[i]), i);
}

void TFileLines::Load(const QString& fileName) {
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile()) throw EWrongFileName(fileName);
  if (!file.open(QIODevice::ReadOnly)) throw EFileAccess(fileName, false);
  SetText(DecodeText(file.readAll()).text);
}

int TFileLines::IndexOf(QStringView text) const {
  return m_last.value(UpperCase(text), -1);
}

TTextFileList& TextFileList() {
  static TTextFileList list;
  return list;
}

} // namespace gs
