// The process-wide store of text files read by the file functions and the list file: one set
// of lines per path, reloaded whenever the file is written. Safe from any thread.
#pragma once

#include "platform/FileTimes.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <vector>

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

class TTextFileList {
public:
  // Raises EWrongFileName when no file exists at path (checked on every call). The lines stay
  // valid until the file is loaded again.
  const TFileLines& Get(const QString& path);

private:
  struct TItem {
    QString fileName;
    qint64 loadedTime = -1;  // the file's change stamp when it was loaded
    std::unique_ptr<TFileLines> lines;
  };
  std::mutex m_mutex;
  std::vector<TItem> m_items;
};

TTextFileList& TextFileList();

} // namespace gs
