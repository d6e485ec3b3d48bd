#include "documents/ColFiles.h"

#include "platform/Text.h"

#include <QHash>
#include <algorithm>

namespace gs {

// ---- TColLine

TColLine::TColLine() : m_changed(Now()) {}

void TColLine::Assign(const TColLine& source) {
  if (&source == this) return;
  Changing();
  m_text = source.m_text;
  m_rating = source.m_rating;
  m_group = source.m_group;
  m_checked = source.m_checked;
  m_changed = source.m_changed;
  m_hint.AssignFrom(source.m_hint);
  Change();
}

void TColLine::SetText(const QString& text) {
  if (text == m_text) return;
  Changing();
  m_text = text;
  m_changed = Now();
  Change();
}

void TColLine::SetRating(quint8 rating) {
  if (rating == m_rating) return;
  Changing();
  m_rating = rating;
  Change();
}

void TColLine::SetGroup(const QString& group) {
  if (group == m_group) return;
  Changing();
  m_group = group;
  Change();
}

void TColLine::SetChecked(bool checked) {
  if (checked == m_checked) return;
  Changing();
  m_checked = checked;
  Change();
}

void TColLine::SetHint(const TLangStr& hint) {
  if (hint.SameAs(m_hint)) return;
  Changing();
  m_hint.AssignFrom(hint);
  Change();
}

// ---- TGroupTable

namespace {
bool Less(const QString& a, const QString& b) {
  return CompareText(a, b) < 0;
}
} // namespace

int TGroupTable::IndexOf(const QString& name) const {
  const auto it = std::lower_bound(m_names.begin(), m_names.end(), name, Less);
  return it != m_names.end() && CompareText(*it, name) == 0 ? int(it - m_names.begin()) : -1;
}

void TGroupTable::Add(const QString& name) {
  const auto it = std::lower_bound(m_names.begin(), m_names.end(), name, Less);
  if (it != m_names.end() && CompareText(*it, name) == 0) return;
  m_names.insert(it, name);
}

QString TGroupTable::Text() const {
  QString text;
  for (const QString& n : m_names) text += n + QStringLiteral("\r\n");
  return text;
}

void TGroupTable::SetText(QStringView text) {
  Clear();
  for (const QString& n : SplitLines(text)) Add(n);
}

// ---- TColFile

TColFile::~TColFile() {
  Clear();
}

void TColFile::Wire(TColLine& line) {
  line.OnChanging = [this](TColLine& l) {
    CountLine(l, -1);
    if (OnLineChanging) OnLineChanging(*this, l);
  };
  line.OnChange = [this](TColLine& l) {
    CountLine(l, 1);
    if (OnLineChange) OnLineChange(*this, l);
  };
}

int TColFile::IndexOf(const TColLine* line) const {
  for (int i = 0; i < Count(); ++i)
    if (&Line(i) == line) return i;
  return -1;
}

TColLine* TColFile::Insert(int index, std::unique_ptr<TColLine> line) {
  TColLine* kept = line.get();
  Wire(*kept);
  index = std::clamp(index, 0, Count());
  m_lines.insert(m_lines.begin() + index, std::move(line));
  CountLine(*kept, 1);
  if (OnLineInsert) OnLineInsert(*this, *kept);
  return kept;
}

void TColFile::Delete(TColLine* line) {
  const int index = IndexOf(line);
  if (index >= 0) DeleteAt(index);
}

void TColFile::DeleteAt(int index) {
  TColLine* line = m_lines[size_t(index)].get();
  CountLine(*line, -1);
  std::unique_ptr<TColLine>* slot = OnLineDelete ? OnLineDelete(*this, *line) : nullptr;
  line->OnChanging = nullptr;
  line->OnChange = nullptr;
  std::unique_ptr<TColLine> taken = std::move(m_lines[size_t(index)]);
  m_lines.erase(m_lines.begin() + index);
  if (slot) *slot = std::move(taken);
}

void TColFile::Clear() {
  m_checkedCount = 0;
  m_groupedCount = 0;
  m_lines.clear();
}

// Keeps the counts of checked and grouped lines as a line comes (+1) or goes (-1).
void TColFile::CountLine(const TColLine& line, int sign) {
  if (line.m_checked) m_checkedCount += sign;
  if (!line.m_group.isEmpty()) m_groupedCount += sign;
}

void TColFile::RebuildGroupTable() const {
  m_groups.Clear();
  if (m_groupedCount == 0) {
    // No line has a group: the table is the empty name alone, without a pass over the lines.
    if (Count() > 0) m_groups.Add(QString());
    return;
  }
  // A set of the folded names keeps the sorted table from being searched for every line.
  QHash<QString, bool> seen;
  const QString* previous = nullptr;
  for (const auto& l : m_lines) {
    // Neighbours mostly share their group: one exact comparison spares the folding.
    if (previous && *previous == l->Group()) continue;
    previous = &l->Group();
    const QString key = l->Group().toCaseFolded();
    if (seen.contains(key)) continue;
    seen.insert(key, true);
    m_groups.Add(l->Group());
  }
}

void TColFile::RemoveDuplicates() {
  // A set of the texts seen: the earliest of each set of equal texts survives.
  QHash<QString, bool> seen;
  seen.reserve(Count());
  const auto duplicate = [&](const TColLine& line) {
    const QString key = line.Text().toCaseFolded();
    if (seen.contains(key)) return true;
    seen.insert(key, true);
    return false;
  };
  if (OnLineDelete) {
    // Each duplicate goes to the subscriber in turn, from the front; the survivors move down
    // over a gap that grows by one slot a removal, so the whole pass is linear.
    const int n = int(m_lines.size());
    struct TGapCloser {  // also when the subscriber throws: the list stays whole
      TColFile& f;
      ~TGapCloser() {
        f.m_lines.erase(f.m_lines.begin() + f.m_gapStart, f.m_lines.begin() + f.m_gapEnd);
        f.m_gapStart = f.m_gapEnd = 0;
      }
    } closer{*this};
    for (int r = 0; r < n; ++r) {
      std::unique_ptr<TColLine>& current = m_lines[size_t(r)];
      if (!duplicate(*current)) {
        if (m_gapStart != r) m_lines[size_t(m_gapStart)] = std::move(current);
        m_gapStart++;
        m_gapEnd = r + 1;
        continue;
      }
      m_gapEnd = r;  // the duplicate is still in the list, at logical index m_gapStart
      TColLine* line = current.get();
      CountLine(*line, -1);
      std::unique_ptr<TColLine>* slot = OnLineDelete(*this, *line);
      line->OnChanging = nullptr;
      line->OnChange = nullptr;
      std::unique_ptr<TColLine> taken = std::move(current);
      m_gapEnd = r + 1;
      if (slot) *slot = std::move(taken);
    }
    return;
  }
  // Nobody keeps the removed lines: one compaction instead of a deletion each.
  const auto end = std::remove_if(m_lines.begin(), m_lines.end(), [&](const std::unique_ptr<TColLine>& l) {
    if (!duplicate(*l)) return false;
    CountLine(*l, -1);
    return true;
  });
  m_lines.erase(end, m_lines.end());
}

void TColFile::SaveToStream(TStreamWriter& stream, const QString& baseFolder) const {
  TFile::SaveToStream(stream, baseFolder);
  RebuildGroupTable();
  QHash<QString, int> index;  // folded name -> position in the table
  for (int i = 0; i < m_groups.Count(); ++i) index.insert(m_groups[i].toCaseFolded(), i);
  stream.WriteWideText(m_groups.Text());
  stream.WriteI32(qint32(Count()));
  const QString* previous = nullptr;
  int group = 0;
  for (const auto& l : m_lines) {
    if (m_groupedCount > 0 && (!previous || *previous != l->Group()))
      group = index.value(l->Group().toCaseFolded(), 0);
    previous = &l->Group();
    stream.WriteWideText(l->Text());
    stream.WriteU8(l->Rating());
    stream.WriteU16(quint16(group));
    stream.WriteU8(l->Checked() ? 1 : 0);
    stream.WriteDouble(l->Changed());
    l->Hint().WriteTo(stream);
  }
}

void TColFile::LoadFromStream(TStreamReader& stream, const QString& baseFolder) {
  TFile::LoadFromStream(stream, baseFolder);
  m_groups.SetText(stream.ReadWideText());
  const qint32 count = stream.ReadI32();
  stream.CheckCount(count, 17);  // text count, rating, group, checked, date, hint: 17 bytes at least
  const quint8 formatVersion = m_info.FormatVersion();
  for (qint32 i = 0; i < count; ++i) {
    auto line = std::make_unique<TColLine>(0.0);
    line->m_text = stream.ReadWideText();
    line->m_rating = stream.ReadU8();
    const qint64 groupPosition = stream.Position();
    const int group = stream.ReadU16();
    if (group >= m_groups.Count()) stream.FailAt(groupPosition);
    line->m_group = m_groups[group];
    line->m_checked = stream.ReadU8() != 0;
    line->m_changed = stream.ReadDouble();
    if (formatVersion >= 2) line->m_hint.ReadFrom(stream);
    else line->m_hint.SetCurrentText(stream.ReadWideText());
    Add(std::move(line));
  }
}

} // namespace gs
