#include "shell/General.h"

#include "engine/DicFileList.h"
#include "engine/LinkCache.h"
#include "engine/Random.h"
#include "engine/TextFileList.h"
#include "formats/Exceptions.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/FileFilter.h"
#include "documents/InsFiles.h"
#include "shell/FileMessages.h"
#include "shell/LangFrm.h"
#include "platform/Text.h"
#include "formats/FileFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace gs {
namespace {

const QString kRecentDb = QStringLiteral("Recent.db");
const QString kDictionariesIni = QStringLiteral("Dictionaries.ini");
const QString kSessionFile = QStringLiteral("Session.qgs");
const QString kLibraryDb = QStringLiteral("Library.db");
const QString kPackagesDb = QStringLiteral("Packages.db");

struct TRecentList {
  const char16_t* name;
  TEditorStyle style;
};

const TRecentList kRecentLists[] = {
    {u"GenCount", esInteger}, {u"TryCount", esInteger}, {u"TimeOut", esInteger}, {u"DicFile", esFileName},
    {u"ListFile", esFileName}, {u"Author", esString},   {u"URL", esString},      {u"Group", esString},
    {u"Ident", esString},      {u"Filter", esString},   {u"Desc", esString},     {u"Mask", esString},
    {u"LinkFile", esFileName},
};

void Seed(TRecent& recent, const QString& name, std::initializer_list<int> values) {
  for (int v : values) recent.Seed(name, QString::number(v));
}

} // namespace

TShell::TShell(const TStartOptions& options) {
  // The engine's stores come up before the shell's objects and go after them.
  if (options.seedRandom) RandomSeedFromClock();
  DicFileList();
  TextFileList();
  LinkCache();

  m_folders = TFolders::Resolve(options.home, options.exeDir, options.exeName);
  QDir().mkpath(m_folders.programDir);
  SetFolders(m_folders);

  m_recent = std::make_unique<TRecent>();
  m_appIni = std::make_unique<TAppIniFile>(m_folders.settingsFile, m_recent.get());
  m_appIni->Load();
  SetAnsiCodePage(m_appIni->ReadInteger(u"General", u"CodePage", DefaultAnsiCodePage));
  m_language = std::make_unique<TLanguage>();
  const QString language = m_appIni->ReadString(u"General", u"Language", QString());
  m_language->Switch(language.isEmpty() ? QString() : m_folders.languagesDir + language);
  m_dicIni = std::make_unique<TDicIniFile>(m_folders.ProgramFile(kDictionariesIni), m_recent.get());
  m_dicIni->Load();

  CreateProgramStrings();
  CreateRecentOptions();
  m_fields = std::make_unique<TFields>(m_recent.get());
  m_session = std::make_unique<TSession>();
  m_session->SetTimeoutSource([this] { return m_generator.Timeout; });
  m_library = std::make_unique<TLibrary>();
  m_packages = std::make_unique<TPackages>(m_library.get(), m_folders.packagesDir);
  m_packages->OnFilesChanged = [this] { ForgetMissingMaster(); };

  Seed(*m_recent, QStringLiteral("GenCount"), {1, 5, 10, 25, 50, 100});
  Seed(*m_recent, QStringLiteral("TryCount"), {1, 5, 10, 25, 50, 100});
  Seed(*m_recent, QStringLiteral("TimeOut"), {1000, 2000, 5000, 10000});
  m_recent->LoadFromFile(m_folders.ProgramFile(kRecentDb));
  m_recent->PurgeMissingFiles(QStringLiteral("DocFile"));

  m_library->LoadFromFile(m_folders.ProgramFile(kLibraryDb));
  m_packages->LoadFromFile(m_folders.ProgramFile(kPackagesDb));
  m_session->LoadFromFile(m_folders.ProgramFile(kSessionFile));

  m_settings.Read(*m_appIni, m_folders);
  m_fields->SetCount(m_settings.count);
  SetTryCount(m_settings.tryCount);
  m_generator.Timeout = quint32(std::max(0, m_settings.timeOut));
  m_appIni->ReloadList();
  if (!m_settings.dicFile.isEmpty()) AssignMasterDictionary(m_settings.dicFile);
  RebuildOptionFilters();
  m_languageToken = m_language->Subscribe([this] { RebuildOptionFilters(); });
}

TShell::~TShell() {
  Shutdown();
}

void TShell::Shutdown() {
  if (m_shutDown) return;
  m_shutDown = true;
  m_generator.Stop();
  const QString recentDb = m_folders.ProgramFile(kRecentDb);
  if (m_settings.storeRecent && m_recent->ListCount() > 0) m_recent->SaveToFile(recentDb);
  else QFile::remove(recentDb);
  m_library->SaveToFile(m_folders.ProgramFile(kLibraryDb));
  m_packages->SaveToFile(m_folders.ProgramFile(kPackagesDb));
  const QString session = m_folders.ProgramFile(kSessionFile);
  if (m_settings.storeSession) m_session->SaveToFile(session);
  else QFile::remove(session);
  WriteSettings();
  m_language->Unsubscribe(m_languageToken);
}

void TShell::WriteSettings() {
  m_appIni->SetWriteThrough(false);
  m_settings.count = m_fields->Count();
  m_settings.language = ExtractFileName(m_language->File().FileName());
  m_settings.Write(*m_appIni);
  m_appIni->Save();
}

void TShell::CreateProgramStrings() {
  const auto set = [this](TProgramString which, const QString& english, const QString& russian) {
    m_programStrings[which].SetEnglishText(english);
    if (!russian.isEmpty()) m_programStrings[which].SetText(1049, russian);
  };
  set(psWebSite, QStringLiteral("https://glossmith.org/"), QString());
  set(psHelpPage, QStringLiteral("https://glossmith.org/help/"), QString());
  set(psForum, QStringLiteral("https://glossmith.org/forum/"), QString());
  set(psCredits1, QStringLiteral("Idea, development, design and programming"), QString::fromUtf8("Идея, разработка, дизайн и программирование"));
  set(psCredits2, QStringLiteral("Development, design and testing"), QString::fromUtf8("Разработка, дизайн и тестирование"));
  set(psLegal, QStringLiteral("Glossmith is free software. Generated texts belong to their authors."),
      QString::fromUtf8("Glossmith - свободная программа. Созданные тексты принадлежат их авторам."));
}

void TShell::CreateRecentOptions() {
  for (const TRecentList& list : kRecentLists) {
    auto options = std::make_unique<TEditorOptions>(list.style);
    const QString name = QString::fromUtf16(list.name);
    if (name == u"GenCount" || name == u"TryCount") {
      options->SetMinimal(1);
      options->SetMaximal(2147483647);
      options->SetDefault(name == u"GenCount" ? QStringLiteral("25") : QStringLiteral("5"));
      options->SetFixed(false);
    } else if (name == u"TimeOut") {
      options->SetMaximal(2147483647);
      options->SetDefault(QStringLiteral("100"));
    } else if (name == u"Ident") {
      options->SetFilter(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"));
    } else if (name == u"Mask") {
      options->SetFilter(QStringLiteral("\\/:\"<>|"));
      options->SetExclude(true);
    }
    m_recent->AttachOptions(name, options.get());
    m_recentOptions[name] = std::move(options);
  }
}

void TShell::RebuildOptionFilters() {
  const QString dictionaries = BuildFileFilter({ftDictionary}, false, false);
  m_recentOptions[QStringLiteral("DicFile")]->SetFileFilter(dictionaries);
  m_recentOptions[QStringLiteral("LinkFile")]->SetFileFilter(dictionaries);
  m_recentOptions[QStringLiteral("ListFile")]->SetFileFilter(BuildFileFilter({ftText}, false, false));
}

TEditorOptions* TShell::RecentOptions(const QString& name) const {
  const auto it = m_recentOptions.find(name);
  return it == m_recentOptions.end() ? nullptr : it->second.get();
}

bool TShell::AssignMasterDictionary(const QString& fileName) {
  const QString shown = ExtractFileName(fileName);
  const QString recent = QStringLiteral("DicFile");
  try {
    if (fileName != m_generator.DicFile()) {
      m_generator.Stop();
      m_recent->Add(recent, fileName);
      m_generator.SetFileName(fileName);
    } else {
      m_generator.Reload();
    }
    m_settings.dicFile = m_generator.DicFile();
    m_dicIni->SetDictionary(m_generator.DicFile());
    return true;
  } catch (const EWrongFileName& e) {
    ShowMessageText(msgFileNotFound, FileErrorText(e, fileName, TFileErrorContext::Opening));
    m_generator.SetFileName(QString());
    m_recent->Remove(recent, fileName);
  } catch (const EWrongVersion& e) {
    m_recent->Remove(recent, fileName);
    if (ShowMessageText(msgWrongVersion, FileErrorText(e, fileName, TFileErrorContext::Opening)) == TMsgAnswer::Yes && OnOpenUrl)
      OnOpenUrl(m_programStrings[psWebSite].DisplayText());
  } catch (const EWrongFormat& e) {
    m_recent->Remove(recent, fileName);
    ShowMessageText(msgWrongFormat, FileErrorText(e, fileName, TFileErrorContext::Opening));
  } catch (const std::exception&) {
    if (ShowLangMessage(msgWrongStructureOpen, {shown}) == TMsgAnswer::Yes && OnOpenDocument) OnOpenDocument(fileName);
  }
  m_settings.dicFile = m_generator.DicFile();
  m_dicIni->SetDictionary(m_generator.DicFile());
  return false;
}

void TShell::SwitchLanguage(const QString& fileName) {
  m_language->Switch(fileName);
  m_settings.language = ExtractFileName(fileName);
}

void TShell::SetListFile(const QString& fileName) {
  m_appIni->SetListFile(fileName);
}

void TShell::SetTryCount(int tries) {
  m_settings.tryCount = tries;
  m_tryCount.store(tries, std::memory_order_release);
}

void TShell::ForgetMissingMaster() {
  if (!m_generator.DicFile().isEmpty() && !QFileInfo::exists(m_generator.DicFile())) AssignMasterDictionary(QString());
}

bool TShell::PackFile(const QString& mainDocument, const QString& installer) {
  try {
    Pack(mainDocument, installer);
    return true;
  } catch (const std::exception& e) {
    ShowMessageText(msgFileWriteLocked, FileErrorText(e, installer, TFileErrorContext::Opening));
    return false;
  }
}

bool TShell::ProcessCommandLine(const QStringList& args) {
  enum { swInstall, swUninstall, swRegister, swSelect, swPack, swSilent, swCount };
  static const char16_t* const kNames[swCount] = {u"Install", u"Uninstall", u"Register", u"Select", u"Pack", u"Silent"};
  bool on[swCount] = {};
  QStringList files;
  for (const QString& arg : args) {
    bool isSwitch = false;
    for (int i = 0; i < swCount; ++i) {
      const QString name = QString::fromUtf16(kNames[i]);
      if (SameText(arg, u'/' + name) || SameText(arg, QStringLiteral("--") + name)) on[i] = isSwitch = true;
    }
    if (!isSwitch) files.append(QFileInfo(arg).absoluteFilePath());
  }
  if (on[swInstall]) {
    for (const QString& file : files) m_packages->InstallFile(file, on[swSilent]);
  } else if (on[swUninstall]) {
    m_packages->UninstallAll(on[swSilent]);
  } else if (on[swRegister]) {
    for (const QString& file : files) m_library->ShowFile(file);
  } else if (on[swSelect]) {
    for (const QString& file : files) {
      if (FileTypeOf(file) == ftDictionary) AssignMasterDictionary(file);
      else SetListFile(file);
    }
  } else if (on[swPack] && files.size() == 2) {
    PackFile(files[0], files[1]);
  } else {
    return false;
  }
  return true;
}

TJobInputs TShell::JobInputs(const TNameValues& overrides, bool unique) {
  TJobInputs in;
  in.count = quint32(std::max(0, m_fields->Count()));
  in.tryCount = [this] { return quint32(std::max(1, m_tryCount.load(std::memory_order_acquire))); };
  in.list = m_appIni->List();
  in.listLoaded = m_appIni->ListLoaded();
  in.listFile = m_appIni->ListFile();
  in.storedValues = [this, overrides](TNameValues& list) {
    m_dicIni->ReadAll(list);
    for (const auto& entry : overrides.Entries()) list.SetValue(entry.name, entry.value);
  };
  in.storedRevision = [this] { return m_dicIni->Revision(); };
  in.assignMaster = [this] { return AssignMasterDictionary(m_generator.DicFile()) && m_generator.Dictionary(); };
  in.unique = unique;
  return in;
}

} // namespace gs
