#include "shell/DicIniFile.h"

#include "shell/Folders.h"
#include "shell/Recent.h"

namespace gs {

TDicIniFile::TDicIniFile(const QString& fileName, TRecent* recent)
    : m_ini(fileName, TTextEncoding::Utf8, /*trimValues=*/false, /*writeThrough=*/true), m_recent(recent) {}

void TDicIniFile::Load() {
  std::lock_guard lock(m_mutex);
  Invalidate();
  m_ini.Load();
}

bool TDicIniFile::Save() const {
  std::lock_guard lock(m_mutex);
  return m_ini.Save();
}

void TDicIniFile::SetDictionary(const QString& path) {
  std::lock_guard lock(m_mutex);
  Invalidate();
  m_section = StoredPath(path);
}

QString TDicIniFile::Section() const {
  std::lock_guard lock(m_mutex);
  return m_section;
}

QString TDicIniFile::ReadValue(const QString& ident, const QString& fallback) const {
  std::lock_guard lock(m_mutex);
  return m_ini.ReadString(m_section, ident, fallback);
}

bool TDicIniFile::HasValue(const QString& ident) const {
  std::lock_guard lock(m_mutex);
  return m_ini.ValueExists(m_section, ident);
}

void TDicIniFile::ReadAll(TNameValues& list) const {
  std::lock_guard lock(m_mutex);
  if (!m_cacheValid) {
    m_cache = m_ini.SectionValues(m_section);
    m_cacheValid = true;
  }
  for (const auto& [key, value] : m_cache) list.SetValue(key, value);
}

void TDicIniFile::WriteValue(const QString& ident, const QString& value) {
  {
    std::lock_guard lock(m_mutex);
    m_lastValue = m_ini.ReadString(m_section, ident, value);
    m_lastIdent = ident;
    m_canUndo = true;
    Invalidate();
    m_ini.WriteString(m_section, ident, value);
  }
  if (m_recent) m_recent->Add(ident, value);
  Change();
}

void TDicIniFile::UndoLast() {
  QString ident, value;
  {
    std::lock_guard lock(m_mutex);
    if (!m_canUndo) return;
    ident = m_lastIdent;
    value = m_lastValue;
  }
  WriteValue(ident, value);
}

bool TDicIniFile::CanUndo() const {
  std::lock_guard lock(m_mutex);
  return m_canUndo;
}

void TDicIniFile::ResetAll() {
  {
    std::lock_guard lock(m_mutex);
    Invalidate();
    m_ini.EraseSection(m_section);
  }
  Change();
  Save();
}

void TDicIniFile::ResetOne(const QString& ident) {
  {
    std::lock_guard lock(m_mutex);
    Invalidate();
    m_ini.DeleteKey(m_section, ident);
  }
  Change();
  Save();
}

void TDicIniFile::Change() {
  if (OnChange) OnChange(*this);
}

} // namespace gs
