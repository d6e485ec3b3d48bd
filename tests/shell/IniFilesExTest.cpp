#include "FileSupport.h"
#include "shell/IniFilesEx.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

TEST(IniFilesEx, LoadingRules) {
  TIniFileEx ini(QString(), TTextEncoding::Utf8, false, false);
  ini.LoadFromText(u"orphan=ignored\n"
                   u"  [ General ]  \n"
                   u"; a comment\n"
                   u"\n"
                   u"  Count = 25  \n"
                   u"flag\n"
                   u"count=99\n"
                   u"Path=a=b\n"
                   u"[general]\n"
                   u"Extra=1\n"
                   u"[Other]\r\n"
                   u"x=1\r");
  EXPECT_EQ(ini.Sections(), QStringList({"General", "Other"}));
  EXPECT_EQ(ini.ReadString(u"GENERAL", u"count", "d"), " 25  ");  // first line wins, value untrimmed
  EXPECT_EQ(ini.ReadString(u"General", u"path", "d"), "a=b");
  EXPECT_EQ(ini.ReadString(u"General", u"Extra", "d"), "1");  // repeated section merged
  EXPECT_FALSE(ini.ValueExists(u"General", u"flag"));  // a line without "=" is no key
  EXPECT_FALSE(ini.ValueExists(u"", u"orphan"));
  EXPECT_EQ(ini.SectionKeys(u"general"), QStringList({"Count", "count", "Path", "Extra"}));
  EXPECT_TRUE(ini.ToText().contains(u"\r\nflag\r\n"));

  TIniFileEx trimmed(QString(), TTextEncoding::Utf8, true, false);
  trimmed.LoadFromText(u"[S]\nk =  v  \n");
  EXPECT_EQ(trimmed.ReadString(u"s", u"K", "d"), "v");
  TIniFileEx untrimmed(QString(), TTextEncoding::Utf8, false, false);
  untrimmed.LoadFromText(u"[S]\nk =  v  \n");
  // The spaces that end the line belong to an untrimmed value: a parameter " a " reads back whole.
  EXPECT_EQ(untrimmed.ReadString(u"s", u"K", "d"), "  v  ");
}

TEST(IniFilesEx, TypedReadsNeverFail) {
  TIniFileEx ini(QString(), TTextEncoding::Utf8, true, false);
  ini.LoadFromText(u"[S]\nn=42\nh=$10\nbad=4x\nt=7\nf=0\nword=yes\n");
  EXPECT_EQ(ini.ReadInteger(u"S", u"n", -1), 42);
  EXPECT_EQ(ini.ReadInteger(u"S", u"h", -1), 16);
  EXPECT_EQ(ini.ReadInteger(u"S", u"bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger(u"S", u"missing", 5), 5);
  EXPECT_EQ(ini.ReadInteger(u"Nope", u"n", 5), 5);
  EXPECT_TRUE(ini.ReadBool(u"S", u"t", false));
  EXPECT_FALSE(ini.ReadBool(u"S", u"f", true));
  EXPECT_TRUE(ini.ReadBool(u"S", u"word", true));
  EXPECT_FALSE(ini.ReadBool(u"S", u"word", false));
}

TEST(IniFilesEx, WritesDeletesAndSaves) {
  QTemporaryDir dir;
  const QString name = dir.filePath("s.ini");
  TIniFileEx ini(name, TTextEncoding::Utf8, true, false);
  ini.WriteString(u"General", u"Language", QString::fromUtf8("Русский.ini"));
  ini.WriteInteger(u"Generator", u"Count", 25);
  ini.WriteBool(u"GENERAL", u"StoreSession", true);
  EXPECT_FALSE(QFile::exists(name));  // no write-through
  ASSERT_TRUE(ini.Save());
  EXPECT_EQ(ReadFile(name), QByteArray("\xEF\xBB\xBF[General]\r\nLanguage=") +
                                QString::fromUtf8("Русский.ini").toUtf8() +
                                "\r\nStoreSession=1\r\n\r\n[Generator]\r\nCount=25\r\n\r\n");

  TIniFileEx back(name, TTextEncoding::Utf8, true, true);
  back.Load();
  EXPECT_EQ(back.ReadString(u"general", u"language", ""), QString::fromUtf8("Русский.ini"));
  back.WriteInteger(u"Generator", u"count", 10);  // write-through rewrites the file
  TIniFileEx third(name, TTextEncoding::Utf8, true, false);
  third.Load();
  EXPECT_EQ(third.ReadInteger(u"Generator", u"Count", 0), 10);
  EXPECT_EQ(third.SectionKeys(u"Generator"), QStringList({"Count"}));  // name of first appearance

  third.DeleteKey(u"general", u"LANGUAGE");
  EXPECT_FALSE(third.ValueExists(u"General", u"Language"));
  EXPECT_TRUE(third.ValueExists(u"General", u"StoreSession"));
  third.EraseSection(u"GENERAL");
  EXPECT_EQ(third.Sections(), QStringList({"Generator"}));
  EXPECT_EQ(third.ReadInteger(u"Generator", u"Count", 0), 10);
}

TEST(IniFilesEx, EncodingsAndMissingFiles) {
  QTemporaryDir dir;
  const QString name = dir.filePath("lang.ini");
  TIniFileEx missing(dir.filePath("none.ini"), TTextEncoding::Ansi, true, false);
  missing.Load();
  EXPECT_TRUE(missing.Sections().isEmpty());

  WriteFile(name, QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(u"[G]\r\nT=Жук\r\n"), 22));
  TIniFileEx utf16(name, TTextEncoding::Ansi, true, false);
  utf16.Load();
  EXPECT_EQ(utf16.ReadString(u"G", u"T", ""), QString::fromUtf8("Жук"));

  WriteFile(name, "[G]\r\nT=caf\xE9\r\n");  // no mark, not UTF-8: the ANSI code page
  TIniFileEx ansi(name, TTextEncoding::Ansi, true, false);
  ansi.Load();
  EXPECT_EQ(ansi.ReadString(u"G", u"T", ""), QString::fromUtf8("café"));

  TIniFileEx unwritable(dir.filePath("no/such/dir.ini"), TTextEncoding::Utf8, true, true);
  unwritable.WriteString(u"S", u"k", "v");  // the failed write-through is not fatal
  EXPECT_EQ(unwritable.ReadString(u"S", u"k", ""), "v");
  EXPECT_FALSE(unwritable.Save());
}
