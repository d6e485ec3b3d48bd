// The language file: translated texts by section and four-digit id, read with the ini store
// (values trimmed, never written). Switching the language reloads it and tells every
// subscriber (the windows) to translate themselves.
#pragma once

#include "shell/IniFilesEx.h"
#include "shell/LangTables.h"

#include <QString>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace gs {

class TLangIniFile {
public:
  static constexpr quint16 kDefaultLocale = 1033;

  TLangIniFile();
  // An empty name, or a missing or unreadable file, gives an empty language: every text keeps
  // its built-in default.
  void Load(const QString& fileName);
  QString FileName() const;
  std::optional<QString> Text(TLangSection section, std::uint16_t id) const;
  QString ReadString(QStringView section, QStringView key, const QString& fallback) const;
  quint16 LocaleID() const;
  QString Title() const;     // default: the file name without extension
  QString HelpFile() const;  // default "English.chm"

private:
  mutable std::mutex m_mutex;
  TIniFileEx m_ini;
};

struct TLanguageEntry {
  QString fileName;
  QString title;
};
// The "*.ini" files of a folder in the order the file system lists them.
std::vector<TLanguageEntry> ListLanguageFiles(const QString& folder);

// The program's language: the file, LocaleID and the subscribers to a change.
class TLanguage {
public:
  using TListener = std::function<void()>;

  TLanguage();
  ~TLanguage();
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  // Loads the file, re-reads LocaleID, rebuilds the texts of the standard editor options and
  // of the function catalogue, and notifies every subscriber.
  void Switch(const QString& fileName);
  const TLangIniFile& File() const { return m_file; }
  quint16 LocaleID() const { return m_file.LocaleID(); }

  int Subscribe(TListener listener);
  void Unsubscribe(int token);

private:
  TLangIniFile m_file;
  std::vector<std::pair<int, TListener>> m_listeners;
  int m_nextToken = 1;
};

} // namespace gs
