#include "shell/Settings.h"

#include "shell/Folders.h"
#include "shell/IniFilesEx.h"

namespace gs {

const char16_t kDefaultChars[] = u"áâäāæǽəéêëēíîïīóôöōúûüūýŷÿĉčďĝǧĥĵǩňŋṕřŝšťθðŵžʒ";

namespace {

template <class T>
struct TKey {
  const char16_t* section;
  const char16_t* key;
  T TSettings::*member;
};

const TKey<bool> kBoolKeys[] = {
    {u"General", u"StoreRecent", &TSettings::storeRecent},
    {u"General", u"StoreSession", &TSettings::storeSession},
    {u"General", u"StoreDocs", &TSettings::storeDocs},
    {u"MainForm", u"ShowMainMenu", &TSettings::showMainMenu},
    {u"MainForm", u"ShowToolbar", &TSettings::showToolbar},
    {u"MainForm", u"ShowStatusBar", &TSettings::showStatusBar},
    {u"MainForm", u"SmallIcons", &TSettings::smallIcons},
    {u"MainForm", u"LargeFont", &TSettings::largeFont},
    {u"SetPanel", u"ShowGrid", &TSettings::setPanelShowGrid},
    {u"GenPanel", u"ShowGrid", &TSettings::genPanelShowGrid},
    {u"Generator", u"Sort", &TSettings::sort},
    {u"Collection", u"ShowGrid", &TSettings::colShowGrid},
    {u"Collection", u"ShowToolbar", &TSettings::colShowToolbar},
    {u"Collection", u"ShowGraphics", &TSettings::colShowGraphics},
    {u"Dictionary", u"ShowGrid", &TSettings::dicShowGrid},
    {u"Dictionary", u"ShowToolbar", &TSettings::dicShowToolbar},
    {u"Container", u"ShowGrid", &TSettings::conShowGrid},
    {u"Container", u"ShowToolbar", &TSettings::conShowToolbar},
    {u"Container", u"SmallIcons", &TSettings::conSmallIcons},
    {u"Characters", u"ShowGrid", &TSettings::charsShowGrid},
    {u"Characters", u"Visible", &TSettings::charsVisible},
    {u"Library", u"ShowGrid", &TSettings::libShowGrid},
    {u"Library", u"SmallIcons", &TSettings::libSmallIcons},
    {u"Packages", u"ShowGrid", &TSettings::pkgShowGrid},
    {u"Packages", u"SmallIcons", &TSettings::pkgSmallIcons},
};

const TKey<int> kIntKeys[] = {
    {u"General", u"CodePage", &TSettings::codePage},
    {u"SetPanel", u"Align", &TSettings::setPanelAlign},
    {u"SetPanel", u"Page", &TSettings::setPanelPage},
    {u"GenPanel", u"Align", &TSettings::genPanelAlign},
    {u"GenPanel", u"Page", &TSettings::genPanelPage},
    {u"Generator", u"Count", &TSettings::count},
    {u"Generator", u"TimeOut", &TSettings::timeOut},
    {u"Generator", u"TryCount", &TSettings::tryCount},
};

enum class TDirDefault { Packages, Documents, Installers };

struct TPathKey {
  const char16_t* key;
  QString TSettings::*member;
  TDirDefault fallback;
};

const TPathKey kDialogPaths[] = {
    {u"Open", &TSettings::openDir, TDirDefault::Packages},
    {u"Save", &TSettings::saveDir, TDirDefault::Documents},
    {u"Pack", &TSettings::packDir, TDirDefault::Documents},
    {u"DicSelect", &TSettings::dicSelectDir, TDirDefault::Packages},
    {u"ListSelect", &TSettings::listSelectDir, TDirDefault::Packages},
    {u"Register", &TSettings::registerDir, TDirDefault::Packages},
    {u"Install", &TSettings::installDir, TDirDefault::Installers},
    {u"Import", &TSettings::importDir, TDirDefault::Documents},
    {u"Export", &TSettings::exportDir, TDirDefault::Documents},
    {u"Insert", &TSettings::insertDir, TDirDefault::Packages},
    {u"Session", &TSettings::sessionDir, TDirDefault::Documents},
    {u"Icon", &TSettings::iconDir, TDirDefault::Documents},
};

QString DefaultDir(TDirDefault which, const TFolders& f) {
  switch (which) {
  case TDirDefault::Packages: return f.packagesDir;
  case TDirDefault::Installers: return f.installersDir;
  case TDirDefault::Documents: break;
  }
  return f.documentsDir;
}

QString Name(const char16_t* text) { return QString::fromUtf16(text); }

// A stored path, expanded; the default when the key is missing.
QString ReadPath(const TIniFileEx& ini, const char16_t* section, const char16_t* key, const QString& fallback) {
  const QString stored = ini.ReadString(Name(section), Name(key), QString());
  return stored.isEmpty() ? fallback : ExpandStoredPath(stored);
}

} // namespace

void TSettings::Read(const TIniFileEx& ini, const TFolders& folders) {
  language = ini.ReadString(u"General", u"Language", language);
  chars = ini.ReadString(u"General", u"Chars", QString::fromUtf16(kDefaultChars));
  for (const auto& k : kBoolKeys) this->*k.member = ini.ReadBool(Name(k.section), Name(k.key), this->*k.member);
  for (const auto& k : kIntKeys) this->*k.member = ini.ReadInteger(Name(k.section), Name(k.key), this->*k.member);
  for (const auto& k : kDialogPaths) this->*k.member = ReadPath(ini, u"DialogPaths", k.key, DefaultDir(k.fallback, folders));
  dicFile = ReadPath(ini, u"Generator", u"DicFile", QString());
}

void TSettings::Write(TIniFileEx& ini) const {
  ini.WriteString(u"General", u"Language", language);
  if (chars.isEmpty()) ini.DeleteKey(u"General", u"Chars");
  else ini.WriteString(u"General", u"Chars", chars);
  for (const auto& k : kBoolKeys) ini.WriteBool(Name(k.section), Name(k.key), this->*k.member);
  for (const auto& k : kIntKeys) ini.WriteInteger(Name(k.section), Name(k.key), this->*k.member);
  for (const auto& k : kDialogPaths) ini.WriteString(u"DialogPaths", Name(k.key), StoredPath(this->*k.member));
  ini.WriteString(u"Generator", u"DicFile", StoredPath(dicFile));
}

} // namespace gs
