#include "platform/FileTimes.h"
#include "platform/Guid.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

TEST(Paths, ExpandRelative) {
  struct Case {
    QString base, name, expected;
  };
  const Case cases[] = {
      {"/home/u/dics/a.qdx", "b.qdx", "/home/u/dics/b.qdx"},
      {"/home/u/dics/a.qdx", "lists\\roots.txt", "/home/u/dics/lists/roots.txt"},
      {"/home/u/dics/a.qdx", "..\\..\\x.txt", "/home/x.txt"},
      {"/home/u/dics/a.qdx", "./sub/../x.txt", "/home/u/dics/x.txt"},
      {"/home/u/dics/", "icon.ico", "/home/u/dics/icon.ico"},
      {"/home/u/dics/a.qdx", "/abs/path.txt", "/abs/path.txt"},
      {"/home/u/dics/a.qdx", "", ""},
      {"/home/u/dics/a.qdx", "C:\\Games\\x.qdx", "C:\\Games\\x.qdx"},
      {"/home/u/dics/a.qdx", "\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandRelative(c.base, c.name), c.expected) << c.name.toStdString();
  EXPECT_EQ(ExpandRelative(QString(), "x.txt"), QDir::cleanPath(QDir::currentPath() + "/x.txt"));
}

TEST(Paths, MakeRelativeWritesStoredForm) {
  struct Case {
    QString base, name, expected;
  };
  const Case cases[] = {
      {"/home/u/dics/", "/home/u/dics/b.qdx", "b.qdx"},
      {"/home/u/dics/", "/home/u/dics/lists/roots.txt", "lists\\roots.txt"},
      {"/home/u/dics/", "/home/u/other/x.txt", "..\\other\\x.txt"},
      {"/home/u/dics/", "", ""},
      {"/home/u/dics/", "C:\\x.ico", "C:\\x.ico"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeRelative(c.base, c.name), c.expected) << c.name.toStdString();
  // A stored relative path comes back to the same file.
  const QString base = "/home/u/dics/";
  for (const QString name : {"/home/u/other/x.txt", "/home/u/dics/a/b/c.txt", "/tmp/z"})
    EXPECT_EQ(ExpandRelative(base, MakeRelative(base, name)), name);
}

TEST(Paths, SameDriveAndPieces) {
  EXPECT_TRUE(SameDrive("/a/b", "/c/d"));
  EXPECT_TRUE(SameDrive("c:\\a", "C:\\b"));
  EXPECT_FALSE(SameDrive("C:\\a", "D:\\a"));
  EXPECT_FALSE(SameDrive("/a", "C:\\a"));
  EXPECT_EQ(ExtractFileName("/a/b/c.qdx"), "c.qdx");
  EXPECT_EQ(ExtractFileName("a\\b\\c.qdx"), "c.qdx");
  EXPECT_EQ(ExtractFileDir("/a/b/c.qdx"), "/a/b/");
  EXPECT_EQ(FileNameWithoutExt("/a/b.c/names.txt"), "names");
  EXPECT_EQ(FileNameWithoutExt("/a/b.c/names"), "names");
  EXPECT_EQ(ChangeFileExt("/a/x.qdx", ".ini"), "/a/x.ini");
  EXPECT_FALSE(SamePath("/a/Names.txt", "/a/names.txt"));
  EXPECT_TRUE(SamePath("/a/./b/../names.txt", "/a/names.txt"));
}

TEST(FileTimes, DateTimeValues) {
  EXPECT_DOUBLE_EQ(DateTimeFromQt(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
  EXPECT_DOUBLE_EQ(DateTimeFromQt(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
  EXPECT_DOUBLE_EQ(DateTimeFromQt(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
  const QDateTime t(QDate(2026, 12, 10), QTime(10, 41, 29, 500));
  EXPECT_EQ(DateTimeToQt(DateTimeFromQt(t)), t);
  EXPECT_EQ(DateTimeToQt(ToDosResolution(DateTimeFromQt(t))), QDateTime(QDate(2026, 12, 10), QTime(10, 41, 28)));
}

TEST(FileTimes, ModifiedSizeAndMissingFiles) {
  QTemporaryDir dir;
  const QString name = dir.filePath("a.txt");
  EXPECT_EQ(FileModified(name), 0);
  EXPECT_EQ(FileSizeOf(name), -1);
  EXPECT_FALSE(SetFileModified(name, 40000.0));
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("hello");
  f.close();
  EXPECT_EQ(FileSizeOf(name), 5);
  EXPECT_EQ(FileModified(dir.path()), 0);  // a folder
  const TDateTime when = DateTimeFromQt(QDateTime(QDate(2020, 5, 17), QTime(13, 14, 15)));
  ASSERT_TRUE(SetFileModified(name, when));
  EXPECT_DOUBLE_EQ(FileModified(name), DateTimeFromQt(QDateTime(QDate(2020, 5, 17), QTime(13, 14, 14))));
}

TEST(Guid, WindowsByteLayout) {
  const TGuid a = NewGuid();
  const TGuid b = NewGuid();
  EXPECT_NE(a, b);
  EXPECT_FALSE(IsNullGuid(a));
  // The version nibble of a random UUID sits in the high nibble of data3, which the Windows
  // layout stores little-endian: byte 7.
  EXPECT_EQ(a[7] >> 4, 4);
  const TGuid known = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE, 1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(GuidToString(known), "{12345678-9ABC-DEF0-0102-030405060708}");
}
