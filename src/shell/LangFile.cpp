#include "shell/LangFile.h"

#include "formats/LangStr.h"
#include "model/Functions.h"
#include "platform/Paths.h"
#include "shell/LangFrm.h"

#include <QDir>

namespace gs {
namespace {

QStringView SectionName(TLangSection section) {
  switch (section) {
  case TLangSection::Captions: return u"Captions";
  case TLangSection::Hints: return u"Hints";
  case TLangSection::Strings: break;
  }
  return u"Strings";
}

QString IdKey(std::uint16_t id) { return QStringLiteral("%1").arg(id, 4, 10, QLatin1Char('0')); }

} // namespace

TLangIniFile::TLangIniFile() : m_ini(QString(), TTextEncoding::Ansi, /*trimValues=*/true, /*writeThrough=*/false) {}

void TLangIniFile::Load(const QString& fileName) {
  std::lock_guard lock(m_mutex);
  m_ini.SetFileName(fileName);
  if (fileName.isEmpty()) m_ini.Clear();
  else m_ini.Load();
}

QString TLangIniFile::FileName() const {
  std::lock_guard lock(m_mutex);
  return m_ini.FileName();
}

std::optional<QString> TLangIniFile::Text(TLangSection section, std::uint16_t id) const {
  std::lock_guard lock(m_mutex);
  const QString key = IdKey(id);
  if (!m_ini.ValueExists(SectionName(section), key)) return std::nullopt;
  return m_ini.ReadString(SectionName(section), key, QString());
}

QString TLangIniFile::ReadString(QStringView section, QStringView key, const QString& fallback) const {
  std::lock_guard lock(m_mutex);
  return m_ini.ReadString(section, key, fallback);
}

quint16 TLangIniFile::LocaleID() const {
  std::lock_guard lock(m_mutex);
  return quint16(m_ini.ReadInteger(u"General", u"LocaleID", kDefaultLocale));
}

QString TLangIniFile::Title() const {
  std::lock_guard lock(m_mutex);
  return m_ini.ReadString(u"General", u"Title", FileNameWithoutExt(m_ini.FileName()));
}

QString TLangIniFile::HelpFile() const {
  return ReadString(u"General", u"HelpFile", QStringLiteral("English.chm"));
}

std::vector<TLanguageEntry> ListLanguageFiles(const QString& folder) {
  std::vector<TLanguageEntry> entries;
  const QDir dir(folder);
  for (const QString& name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Unsorted)) {
    TLangIniFile file;
    file.Load(dir.filePath(name));
    entries.push_back({dir.filePath(name), file.Title()});
  }
  return entries;
}

TLanguage::TLanguage() {
  SetLangLookup([this](TLangSection section, std::uint16_t id) { return m_file.Text(section, id); });
}

TLanguage::~TLanguage() {
  SetLangLookup(nullptr);
}

void TLanguage::Switch(const QString& fileName) {
  m_file.Load(fileName);
  SetCurrentLanguage(LocaleID());
  ApplyLanguage();  // the standard options' texts and the catalogue's titles
  const auto listeners = m_listeners;  // a listener may unsubscribe
  for (const auto& [token, listener] : listeners) listener();
}

int TLanguage::Subscribe(TListener listener) {
  m_listeners.emplace_back(m_nextToken, std::move(listener));
  return m_nextToken++;
}

void TLanguage::Unsubscribe(int token) {
  std::erase_if(m_listeners, [token](const auto& entry) { return entry.first == token; });
}

} // namespace gs
