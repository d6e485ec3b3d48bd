#include "shell/IniFilesEx.h"

#include "platform/Text.h"

#include <QFile>
#include <QSaveFile>

namespace gs {
namespace {

QString Fold(QStringView name) {
  return name.toString().toCaseFolded();
}

} // namespace

TIniFileEx::TIniFileEx(QString fileName, TTextEncoding encoding, bool trimValues, bool writeThrough)
    : m_fileName(std::move(fileName)), m_encoding(encoding), m_trimValues(trimValues),
      m_writeThrough(writeThrough) {}

void TIniFileEx::Clear() {
  m_sections.clear();
  m_sectionIndex.clear();
}

void TIniFileEx::Load() {
  Clear();
  QFile file(m_fileName);
  if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
  LoadFromText(DecodeText(file.readAll()).text);
}

void TIniFileEx::LoadFromText(QStringView text) {
  Clear();
  TSection* current = nullptr;
  for (const QString& raw : SplitLines(text)) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
      current = &ObtainSection(QStringView(line).sliced(1, line.size() - 2).trimmed());
      continue;
    }
    if (!current) continue;
    const qsizetype eq = line.indexOf(u'=');
    TLine entry;
    if (eq < 0) {
      entry.key = line;
      entry.hasValue = false;
    } else {
      entry.key = line.left(eq).trimmed();
      // Untrimmed stores keep the spaces that end the line: they are part of the value.
      entry.value = m_trimValues ? line.mid(eq + 1).trimmed() : raw.mid(raw.indexOf(u'=') + 1);
    }
    current->lines.push_back(std::move(entry));
  }
  for (TSection& s : m_sections) IndexKeys(s);
}

void TIniFileEx::IndexKeys(TSection& section) {
  section.keys.clear();
  for (qsizetype i = 0; i < qsizetype(section.lines.size()); ++i) {
    const TLine& l = section.lines[i];
    if (!l.hasValue) continue;
    const QString folded = Fold(l.key);
    if (!section.keys.contains(folded)) section.keys.insert(folded, i);
  }
}

void TIniFileEx::Rebuild() {
  m_sectionIndex.clear();
  for (qsizetype i = 0; i < qsizetype(m_sections.size()); ++i)
    {
    const QString folded = Fold(m_sections[i].name);
    if (!m_sectionIndex.contains(folded)) m_sectionIndex.insert(folded, i);
  }
}

QString TIniFileEx::ToText() const {
  QString out;
  for (const TSection& s : m_sections) {
    out += u'[' + s.name + QStringLiteral("]\r\n");
    for (const TLine& l : s.lines) {
      out += l.key;
      if (l.hasValue) out += u'=' + l.value;
      out += QStringLiteral("\r\n");
    }
    out += QStringLiteral("\r\n");
  }
  return out;
}

bool TIniFileEx::Save() const {
  if (m_fileName.isEmpty()) return false;
  QSaveFile file(m_fileName);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = EncodeText(ToText(), m_encoding);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

const TIniFileEx::TSection* TIniFileEx::FindSection(QStringView name) const {
  const auto it = m_sectionIndex.constFind(Fold(name));
  return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

TIniFileEx::TSection& TIniFileEx::ObtainSection(QStringView name) {
  const QString folded = Fold(name);
  const auto it = m_sectionIndex.constFind(folded);
  if (it != m_sectionIndex.cend()) return m_sections[*it];
  m_sectionIndex.insert(folded, m_sections.size());
  m_sections.push_back({name.toString(), {}, {}});
  return m_sections.back();
}

const TIniFileEx::TLine* TIniFileEx::FindLine(QStringView section, QStringView key) const {
  const TSection* s = FindSection(section);
  if (!s) return nullptr;
  const auto it = s->keys.constFind(Fold(key));
  return it == s->keys.cend() ? nullptr : &s->lines[*it];
}

QString TIniFileEx::ReadString(QStringView section, QStringView key, const QString& fallback) const {
  const TLine* l = FindLine(section, key);
  return l ? l->value : fallback;
}

qint32 TIniFileEx::ReadInteger(QStringView section, QStringView key, qint32 fallback) const {
  const TLine* l = FindLine(section, key);
  return l ? StrToIntDef(l->value, fallback) : fallback;
}

bool TIniFileEx::ReadBool(QStringView section, QStringView key, bool fallback) const {
  const TLine* l = FindLine(section, key);
  if (!l) return fallback;
  const auto number = StrToIntOpt(l->value);
  return number ? *number != 0 : fallback;
}

bool TIniFileEx::ValueExists(QStringView section, QStringView key) const {
  return FindLine(section, key) != nullptr;
}

bool TIniFileEx::SectionExists(QStringView section) const {
  return FindSection(section) != nullptr;
}

void TIniFileEx::WriteString(QStringView section, QStringView key, const QString& value) {
  TSection& s = ObtainSection(section);
  const QString folded = Fold(key);
  const auto it = s.keys.constFind(folded);
  if (it != s.keys.cend()) {
    s.lines[*it].value = value;
  } else {
    s.keys.insert(folded, s.lines.size());
    s.lines.push_back({key.toString(), value, true});
  }
  if (m_writeThrough) Save();
}

void TIniFileEx::WriteInteger(QStringView section, QStringView key, qint32 value) {
  WriteString(section, key, QString::number(value));
}

void TIniFileEx::WriteBool(QStringView section, QStringView key, bool value) {
  WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFileEx::DeleteKey(QStringView section, QStringView key) {
  const auto sit = m_sectionIndex.constFind(Fold(section));
  if (sit == m_sectionIndex.cend()) return;
  TSection& s = m_sections[*sit];
  const QString folded = Fold(key);
  std::erase_if(s.lines, [&](const TLine& l) { return l.hasValue && Fold(l.key) == folded; });
  IndexKeys(s);
}

void TIniFileEx::EraseSection(QStringView section) {
  const auto it = m_sectionIndex.constFind(Fold(section));
  if (it == m_sectionIndex.cend()) return;
  m_sections.erase(m_sections.begin() + *it);
  Rebuild();
}

QStringList TIniFileEx::Sections() const {
  QStringList names;
  for (const TSection& s : m_sections) names.append(s.name);
  return names;
}

QStringList TIniFileEx::SectionKeys(QStringView section) const {
  QStringList keys;
  if (const TSection* s = FindSection(section))
    for (const TLine& l : s->lines)
      if (l.hasValue) keys.append(l.key);
  return keys;
}

std::vector<std::pair<QString, QString>> TIniFileEx::SectionValues(QStringView section) const {
  std::vector<std::pair<QString, QString>> values;
  if (const TSection* s = FindSection(section))
    for (const TLine& l : s->lines)
      if (l.hasValue) values.emplace_back(l.key, l.value);
  return values;
}

} // namespace gs
