#include "FileSupport.h"
#include "engine/DicFileList.h"
#include "engine/TextFileList.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

TEST(Stores, DictionariesLoadOnceAndReloadInPlace) {
  QTemporaryDir dir;
  const QString file = dir.filePath("d.qdx");
  TDicFile dic;
  dic.Info().Title().SetEnglishText("first");
  dic.SaveToFile(file);
  TDicFileList list;
  TDicFile* a = &list.Get(file);
  EXPECT_EQ(a->Info().Title().EnglishText(), "first");
  EXPECT_EQ(&list.Get(file), a);  // same object
  dic.Info().Title().SetEnglishText("second");
  dic.SaveToFile(file);
  EXPECT_EQ(&list.Get(file), a);  // reloaded in place
  EXPECT_EQ(a->Info().Title().EnglishText(), "second");
  QFile::remove(file);
  EXPECT_THROW(list.Get(file), EWrongFileName);  // checked on every call
  WriteFile(file, "QDX broken");
  EXPECT_THROW(list.Get(file), EWrongFormat);
}

TEST(Stores, TextFilesEncodingsAndLineBreaks) {
  struct Case {
    QByteArray bytes;
    QStringList lines;
  };
  const Case cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\nb\n", {"a", "", "b"}},
      {"", {}},
      {QByteArray("a\nb\0c\n", 6), {"a", "b"}},  // a NUL ends the text
      {"\xEF\xBB\xBF\xC3\xA9\n", {QString::fromUtf8("é")}},
      {QByteArray("\xFE\xFF\0x\0\n\0y", 8), {"x", "y"}},
      {"\xE9t\xE9", {QString::fromUtf8("été")}},  // the code page
  };
  QTemporaryDir dir;
  TTextFileList list;
  int n = 0;
  for (const Case& c : cases) {
    const QString file = dir.filePath(QStringLiteral("t%1.txt").arg(++n));
    WriteFile(file, c.bytes);
    EXPECT_EQ(list.Get(file).Lines(), c.lines) << c.bytes.toHex().constData();
  }
  const QString file = dir.filePath("search.txt");
  WriteFile(file, "Orc\nelf\nORC\n");
  const TFileLines& lines = list.Get(file);
  EXPECT_EQ(lines.IndexOf(u"orc"), 2);  // the last equal line
  EXPECT_EQ(lines.IndexOf(u"dwarf"), -1);
  EXPECT_THROW(list.Get(dir.filePath("none.txt")), EWrongFileName);
}
