// The program settings that are read at start-up and written back at shutdown, with their
// defaults. Window placement, tree and toolbar layouts belong to the windows.
#pragma once

#include <QString>

namespace gs {

class TIniFileEx;
struct TFolders;

// The characters offered by the characters window until the user changes them.
extern const char16_t kDefaultChars[];

struct TSettings {
  // "General"
  QString language;  // file name of the language file, without folder
  QString chars = QString::fromUtf16(kDefaultChars);
  bool storeRecent = true;
  bool storeSession = true;
  bool storeDocs = true;
  int codePage = 1252;  // the ANSI code page of 8-bit texts in files

  // "DialogPaths": the first folders of the file dialogs.
  QString openDir, saveDir, packDir, dicSelectDir, listSelectDir, registerDir, installDir,
      importDir, exportDir, insertDir, sessionDir, iconDir;

  // View switches of the windows.
  bool showMainMenu = true, showToolbar = true, showStatusBar = true, smallIcons = false, largeFont = false;
  int setPanelAlign = 0, setPanelPage = 0, genPanelAlign = 0, genPanelPage = 0;
  bool setPanelShowGrid = false, genPanelShowGrid = false;
  bool colShowGrid = false, colShowToolbar = true, colShowGraphics = true;
  bool dicShowGrid = false, dicShowToolbar = true;
  bool conShowGrid = false, conShowToolbar = true, conSmallIcons = true;
  bool charsShowGrid = true, charsVisible = false;
  bool libShowGrid = false, libSmallIcons = true;
  bool pkgShowGrid = false, pkgSmallIcons = true;

  // "Generator"
  int count = 25;
  bool sort = true;
  int timeOut = 1000;
  int tryCount = 5;
  QString dicFile;  // expanded

  // Missing or unreadable values keep their defaults; the folder defaults come from folders.
  void Read(const TIniFileEx& ini, const TFolders& folders);
  // Every key above; "Chars" is deleted when empty.
  void Write(TIniFileEx& ini) const;
};

} // namespace gs
