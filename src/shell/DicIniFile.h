// TDicIniFile: the values the user gave to the parameters of each master dictionary
// ("Dictionaries.ini"), one section per dictionary. Values are kept untrimmed. The generation
// job reads the current section for every line while the user's thread may write it, so every
// operation takes the store's lock.
#pragma once

#include "model/NameValues.h"
#include "shell/IniFilesEx.h"

#include <atomic>
#include <functional>
#include <mutex>

namespace gs {

class TRecent;

class TDicIniFile {
public:
  // recent: where each written value is remembered (may be null).
  TDicIniFile(const QString& fileName, TRecent* recent);

  void Load();
  bool Save() const;
  // The section of the master dictionary at path (stored relative to the program folder).
  void SetDictionary(const QString& path);
  QString Section() const;

  QString ReadValue(const QString& ident, const QString& fallback) const;
  bool HasValue(const QString& ident) const;
  // Lays every value of the current section over list.
  void ReadAll(TNameValues& list) const;
  // Moves with every change of what ReadAll gives; read without the lock.
  quint64 Revision() const { return m_revision.load(std::memory_order_acquire); }
  void WriteValue(const QString& ident, const QString& value);
  // Writes the value that the last write replaced; a second undo restores the newer one.
  void UndoLast();
  bool CanUndo() const;
  void ResetAll();
  void ResetOne(const QString& ident);

  std::function<void(TDicIniFile&)> OnChange;

private:
  void Change();
  void Invalidate() {
    m_cacheValid = false;
    m_revision.fetch_add(1, std::memory_order_acq_rel);
  }

  mutable std::recursive_mutex m_mutex;
  TIniFileEx m_ini;
  TRecent* m_recent;
  QString m_section;
  QString m_lastIdent;
  QString m_lastValue;
  bool m_canUndo = false;
  // The current section's values: the job lays them over every line's parameters.
  mutable std::vector<std::pair<QString, QString>> m_cache;
  mutable bool m_cacheValid = false;
  std::atomic<quint64> m_revision{1};
};

} // namespace gs
