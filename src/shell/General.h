// TShell: the program-wide objects of the shell, created once at start-up in a fixed order
// and written back and freed at shutdown, and the operations that tie them together
// (assigning the master dictionary, the command-line jobs, the inputs of a generation job).
#pragma once

#include "engine/GenThread.h"
#include "engine/Generator.h"
#include "formats/LangStr.h"
#include "model/EO.h"
#include "shell/AppIniFile.h"
#include "shell/DicIniFile.h"
#include "shell/Fields.h"
#include "shell/Folders.h"
#include "shell/LangFile.h"
#include "shell/Library.h"
#include "shell/Packages.h"
#include "shell/Recent.h"
#include "shell/Session.h"
#include "shell/Settings.h"

#include <array>
#include <atomic>
#include <map>
#include <memory>

namespace gs {

struct TStartOptions {
  QString home;     // --home DIR
  QString exeDir;   // the executable's folder
  QString exeName;  // the executable's file name
  bool seedRandom = true;
};

// The per-language strings: web site, help page, forum page, two credit lines, legal notice.
enum TProgramString { psWebSite, psHelpPage, psForum, psCredits1, psCredits2, psLegal, psCount };

class TShell {
public:
  // Start-up up to the windows: folders, settings, language, parameter values, recent values,
  // session, and the master dictionary. No missing or damaged file stops it.
  explicit TShell(const TStartOptions& options);
  // Shutdown: the databases, the session and the settings are written (once).
  ~TShell();
  TShell(const TShell&) = delete;
  TShell& operator=(const TShell&) = delete;
  void Shutdown();

  TGenerator& Generator() { return m_generator; }
  const TFolders& Folders() const { return m_folders; }
  TSettings& Settings() { return m_settings; }
  TAppIniFile& AppIniFile() { return *m_appIni; }
  TDicIniFile& DicIniFile() { return *m_dicIni; }
  TLanguage& Language() { return *m_language; }
  TRecent& Recent() { return *m_recent; }
  TFields& Fields() { return *m_fields; }
  TSession& Session() { return *m_session; }
  TLibrary& Library() { return *m_library; }
  TPackages& Packages() { return *m_packages; }
  // The editor options that the recent list of that name feeds ("GenCount", "DicFile", ...).
  TEditorOptions* RecentOptions(const QString& name) const;
  const TLangStr& ProgramString(TProgramString which) const { return m_programStrings[which]; }
  // The help file that the language file names, in the help folder.
  QString HelpFileName() const { return m_folders.helpDir + m_language->File().HelpFile(); }

  // The generator takes the file as master dictionary; on failure a message names the fault
  // and the recent list "DicFile" forgets the file.
  bool AssignMasterDictionary(const QString& fileName);
  // Switches the language to a file of the languages folder and remembers the choice.
  void SwitchLanguage(const QString& fileName);
  // The list file setting: stored, and the list reloaded.
  void SetListFile(const QString& fileName);
  // The try count setting; a running job reads it at every line.
  void SetTryCount(int tries);
  // The command-line jobs that end the program: "/Install", "/Uninstall", "/Register",
  // "/Select" and "/Pack" (with two files), in that order of precedence, "/Silent" beside them.
  // Returns true when one ran.
  bool ProcessCommandLine(const QStringList& args);
  // Builds an installer; false (with the message) when it cannot be written.
  bool PackFile(const QString& mainDocument, const QString& installer);

  // The inputs of a job from the settings; overrides are laid over the stored values.
  TJobInputs JobInputs(const TNameValues& overrides = {}, bool unique = false);

  // Where the answers to the master dictionary messages lead, once windows exist.
  std::function<void(const QString& url)> OnOpenUrl;
  std::function<void(const QString& fileName)> OnOpenDocument;

private:
  void CreateRecentOptions();
  void RebuildOptionFilters();
  void CreateProgramStrings();
  void WriteSettings();
  void ForgetMissingMaster();

  TGenerator m_generator;  // first in, last out
  TFolders m_folders;
  TSettings m_settings;
  std::unique_ptr<TRecent> m_recent;
  std::unique_ptr<TAppIniFile> m_appIni;
  std::unique_ptr<TLanguage> m_language;
  std::unique_ptr<TDicIniFile> m_dicIni;
  std::unique_ptr<TFields> m_fields;
  std::unique_ptr<TSession> m_session;
  std::unique_ptr<TLibrary> m_library;
  std::unique_ptr<TPackages> m_packages;
  std::map<QString, std::unique_ptr<TEditorOptions>> m_recentOptions;
  std::array<TLangStr, psCount> m_programStrings;
  std::atomic<int> m_tryCount{5};
  int m_languageToken = 0;
  bool m_shutDown = false;
};

} // namespace gs
