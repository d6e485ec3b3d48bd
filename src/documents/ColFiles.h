// Collections: edited lists of generated lines with groups, ratings, checked marks and hints.
// The same structure holds the results of a generation run.
#pragma once

#include "formats/File.h"
#include "platform/FileTimes.h"

#include <functional>
#include <memory>
#include <vector>

namespace gs {

class TColLine {
public:
  using TNotify = std::function<void(TColLine&)>;

  TColLine();  // empty, Changed = now
  explicit TColLine(TDateTime changed) : m_changed(changed) {}
  // A line as the generator produced it at the moment changed.
  TColLine(QString text, quint8 rating, QString group, bool checked, TDateTime changed)
      : m_changed(changed), m_group(std::move(group)), m_text(std::move(text)), m_rating(rating), m_checked(checked) {}
  TColLine(const TColLine&) = delete;
  TColLine& operator=(const TColLine&) = delete;

  // The whole line: text, rating, group, checked mark, Changed and hint.
  void Assign(const TColLine& source);

  TDateTime Changed() const { return m_changed; }
  void SetChanged(TDateTime changed) { m_changed = changed; }
  const QString& Group() const { return m_group; }
  void SetGroup(const QString& group);
  const TLangStr& Hint() const { return m_hint; }
  void SetHint(const TLangStr& hint);
  const QString& Text() const { return m_text; }
  void SetText(const QString& text);  // also sets Changed to now
  quint8 Rating() const { return m_rating; }
  void SetRating(quint8 rating);
  bool Checked() const { return m_checked; }
  void SetChecked(bool checked);

  TNotify OnChange;
  TNotify OnChanging;

private:
  friend class TColFile;
  void Changing() { if (OnChanging) OnChanging(*this); }
  void Change() { if (OnChange) OnChange(*this); }

  TDateTime m_changed;
  QString m_group;
  TLangStr m_hint;
  QString m_text;
  quint8 m_rating = 0;
  bool m_checked = false;
};

// The group names of a collection: kept sorted and free of duplicates, both without regard to
// case; the writer and the reader of the file use this one order.
class TGroupTable {
public:
  int Count() const { return int(m_names.size()); }
  const QString& operator[](int index) const { return m_names[size_t(index)]; }
  int IndexOf(const QString& name) const;  // -1 when absent
  void Add(const QString& name);        // ignored when present
  void Clear() { m_names.clear(); }
  QString Text() const;                 // every name followed by CR LF
  void SetText(QStringView text);       // split at line breaks

private:
  std::vector<QString> m_names;
};

class TColInfo : public TInfo {
public:
  TColInfo() : TInfo(false) {}
  TSignature GetSignature() const override { return {'Q', 'C', 'U'}; }
  TVersion GetVersion() const override { return {1, 0}; }
};

class TColFile : public TFile {
public:
  using TLineNotify = std::function<void(TColFile&, TColLine&)>;
  // Called before a line is taken out; returns where the subscriber keeps it (or null).
  using TLineDeleteNotify = std::function<std::unique_ptr<TColLine>*(TColFile&, TColLine&)>;

  TColFile() = default;
  ~TColFile() override;
  TColFile(const TColFile&) = delete;
  TColFile& operator=(const TColFile&) = delete;

  TInfo& GetInfo() override { return m_info; }
  TColInfo& Info() { return m_info; }
  const TColInfo& Info() const { return m_info; }

  int Count() const { return int(m_lines.size()) - (m_gapEnd - m_gapStart); }
  TColLine& Line(int index) const { return *m_lines[size_t(Physical(index))]; }
  int IndexOf(const TColLine* line) const;
  TColLine* Insert(int index, std::unique_ptr<TColLine> line);
  TColLine* Add(std::unique_ptr<TColLine> line) { return Insert(Count(), std::move(line)); }
  void Delete(TColLine* line);
  void Clear();
  qint32 CheckedCount() const { return m_checkedCount; }
  const TGroupTable& Groups() const { return m_groups; }
  void RebuildGroups() { RebuildGroupTable(); }
  // Deletes every line whose text equals an earlier line's without regard to case; the
  // earliest of each set survives. With a deletion subscriber each line goes through Delete in
  // turn; without one the list is compacted in one pass.
  void RemoveDuplicates();

  void LoadFromStream(TStreamReader& stream, const QString& baseFolder) override;
  void SaveToStream(TStreamWriter& stream, const QString& baseFolder) const override;

  TLineNotify OnLineChange;
  TLineDeleteNotify OnLineDelete;
  TLineNotify OnLineInsert;
  TLineNotify OnLineChanging;

private:
  void Wire(TColLine& line);
  void CountLine(const TColLine& line, int sign);
  void DeleteAt(int index);
  void RebuildGroupTable() const;

  TColInfo m_info;
  std::vector<std::unique_ptr<TColLine>> m_lines;
  // While RemoveDuplicates compacts the list with a deletion subscriber, the slots
  // [m_gapStart, m_gapEnd) are empty: the subscriber sees the list as if each line were
  // deleted in turn.
  int m_gapStart = 0, m_gapEnd = 0;
  int Physical(int index) const { return index < m_gapStart ? index : index + (m_gapEnd - m_gapStart); }
  mutable TGroupTable m_groups;  // saving rebuilds it
  qint32 m_checkedCount = 0;
  qint32 m_groupedCount = 0;  // lines whose group is not empty
};

} // namespace gs
