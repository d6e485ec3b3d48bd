// The process-wide store of text files read by the file functions and the list file: one set
// of lines per path, reloaded whenever the file is written. Safe from any thread.
#pragma once

#include "engine/FileStore.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace gs {

// The lines of one text file, with a hash of their upper-cased forms for searching.
class TFileLines {
public:
  void Load(const QString& fileName);  // raises EWrongFileName and EFileAccess
  void SetText(QStringView text);
  int Count() const { return int(m_lines.size()); }
  const QString& Line(int index) const { return m_lines[index]; }
  const QStringList& Lines() const { return m_lines; }
  // The 0-based index of the last line equal to text without case, or -1.
  int IndexOf(QStringView text) const;

private:
  QStringList m_lines;
  QHash<QString, int> m_last;  // upper-cased line -> last index
};

// Splits a file's text into lines: CR LF, LF or CR end a line; a break at the very end adds
// no empty line; a NUL ends the text.
QStringList SplitTextFileLines(QStringView text);

using TTextFileList = TFileStore<TFileLines>;

TTextFileList& TextFileList();

} // namespace gs
