// TIniFileEx: an ini file held whole in memory as ordered sections of key=value lines.
// Section and key names compare without regard to case; the order of first appearance is
// kept. Reads never fail: a missing key or a value of the wrong kind yields the default.
#pragma once

#include "platform/TextDecode.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace gs {

class TIniFileEx {
public:
  // encoding: how the file is written (always with its byte-order mark). Unmarked files are
  // read as UTF-8 when valid, else in the ANSI code page.
  TIniFileEx(QString fileName, TTextEncoding encoding, bool trimValues, bool writeThrough);

  const QString& FileName() const { return m_fileName; }
  void SetFileName(const QString& fileName) { m_fileName = fileName; }
  bool WriteThrough() const { return m_writeThrough; }
  void SetWriteThrough(bool on) { m_writeThrough = on; }

  // Replaces the content by the file's; a missing or unreadable file gives an empty store.
  void Load();
  void LoadFromText(QStringView text);
  void Clear();
  // Writes the whole file (through a save file); false when it could not be written.
  bool Save() const;
  QString ToText() const;

  QString ReadString(QStringView section, QStringView key, const QString& fallback) const;
  qint32 ReadInteger(QStringView section, QStringView key, qint32 fallback) const;
  bool ReadBool(QStringView section, QStringView key, bool fallback) const;
  bool ValueExists(QStringView section, QStringView key) const;
  bool SectionExists(QStringView section) const;

  void WriteString(QStringView section, QStringView key, const QString& value);
  void WriteInteger(QStringView section, QStringView key, qint32 value);
  void WriteBool(QStringView section, QStringView key, bool value);
  // Neither rewrites the file by itself.
  void DeleteKey(QStringView section, QStringView key);
  void EraseSection(QStringView section);

  QStringList Sections() const;
  QStringList SectionKeys(QStringView section) const;
  std::vector<std::pair<QString, QString>> SectionValues(QStringView section) const;

private:
  struct TLine {
    QString key;
    QString value;
    bool hasValue = true;  // false: a line without "=", kept but not a key
  };
  struct TSection {
    QString name;
    std::vector<TLine> lines;
    QHash<QString, qsizetype> keys;  // folded key -> first line with it
  };

  const TSection* FindSection(QStringView name) const;
  TSection& ObtainSection(QStringView name);
  const TLine* FindLine(QStringView section, QStringView key) const;
  static void IndexKeys(TSection& section);
  void Rebuild();

  QString m_fileName;
  TTextEncoding m_encoding;
  bool m_trimValues;
  bool m_writeThrough;
  std::vector<TSection> m_sections;
  QHash<QString, qsizetype> m_sectionIndex;  // folded name -> index
};

} // namespace gs
