#include "FileSupport.h"
#include "formats/File.h"
#include "formats/FileFunctions.h"
#include "formats/Info.h"
#include "shell/IniFilesEx.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

// A document kind for the tests: signature "QCU", version 1.0, a text as body.
class TTestInfo : public TInfo {
public:
  using TInfo::TInfo;
  TSignature GetSignature() const override { return {'Q', 'C', 'U'}; }
  TVersion GetVersion() const override { return {1, 0}; }
};

class TTestFile : public TFile {
public:
  TInfo& GetInfo() override { return info; }
  void LoadFromStream(TStreamReader& stream, const QString& baseFolder) override {
    TFile::LoadFromStream(stream, baseFolder);
    body = stream.ReadWideText();
  }
  void SaveToStream(TStreamWriter& stream, const QString& baseFolder) const override {
    TFile::SaveToStream(stream, baseFolder);
    stream.WriteWideText(body);
    if (failInBody) throw std::runtime_error("disk full");
  }
  TTestInfo info;
  QString body;
  bool failInBody = false;
};

const TGuid kGuid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// A header of format version 0 or 1 as older programs wrote it.
QByteArray OldHeader(const char* signature, quint8 formatVersion, TVersion version) {
  TStreamWriter w;
  w.WriteBytes(QByteArrayView(signature, 3));
  w.WriteU8(formatVersion);
  w.WriteU8(version.major);
  w.WriteU8(version.minor);
  w.WriteBytes(QByteArrayView(reinterpret_cast<const char*>(kGuid.data()), 16));
  w.WriteWideText(u"Old title");
  w.WriteWideText(u"Old hint");
  w.WriteWideText(u"Author");
  w.WriteShortAnsi(u"http://example.org");
  return w.Bytes();
}



} // namespace

TEST(Info, WritesTheDocumentedLayout) {
  TTestInfo info;
  info.SetGuid(kGuid);
  info.SetIcon("/docs/icons/a.ico");
  info.Title().SetEnglishText("T");
  info.SetAuthor("Me");
  info.SetURL("u");
  TStreamWriter w;
  info.WriteToStream(w, "/docs/");
  const QByteArray& b = w.Bytes();
  EXPECT_EQ(b.left(6), QByteArray("QCU\x02\x01\x00", 6));
  EXPECT_EQ(b.mid(6, 16), QByteArray(reinterpret_cast<const char*>(kGuid.data()), 16));
  TStreamReader r(QByteArrayView(b).sliced(22));
  EXPECT_EQ(r.ReadWideText(), "icons\\a.ico");
  TLangStr title, hint;
  title.ReadFrom(r);
  hint.ReadFrom(r);
  EXPECT_EQ(title.EnglishText(), "T");
  EXPECT_EQ(hint.Count(), 0);
  EXPECT_EQ(r.ReadWideText(), "Me");
  EXPECT_EQ(r.ReadShortAnsi(), "u");
  EXPECT_TRUE(r.AtEnd());
}

TEST(Info, RoundTripKeepsEveryField) {
  TTestInfo a;
  a.SetIcon("/docs/a.ico");
  a.Title().SetEnglishText("Title");
  a.Title().SetText(1049, "Zagolovok");
  a.Hint().SetEnglishText("Hint");
  a.SetAuthor("Author");
  a.SetURL("http://x");
  TStreamWriter w;
  a.WriteToStream(w, "/docs/");
  TTestInfo b;
  TStreamReader r(w.Bytes());
  b.ReadFromStream(r, "/docs/");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(b.Guid(), a.Guid());
  EXPECT_EQ(b.Icon(), a.Icon());
  EXPECT_TRUE(b.Title().SameAs(a.Title()));
  EXPECT_TRUE(b.Hint().SameAs(a.Hint()));
  EXPECT_EQ(b.Author(), a.Author());
  EXPECT_EQ(b.URL(), a.URL());
  EXPECT_EQ(b.Version(), (TVersion{1, 0}));
  EXPECT_EQ(b.FormatVersion(), 2);
}

TEST(Info, OldFormatVersionsReadAndAreWrittenAsVersionTwo) {
  for (quint8 fv : {0, 1}) {
    TTestInfo info;
    info.SetIcon("kept");
    const QByteArray rBytes = OldHeader("QCU", fv, {1, 0});
    TStreamReader r(rBytes);
    info.ReadFromStream(r, "/docs/");
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(info.FormatVersion(), fv);
    EXPECT_EQ(info.Title().EnglishText(), "Old title");
    EXPECT_EQ(info.Hint().EnglishText(), "Old hint");
    EXPECT_EQ(info.Author(), "Author");
    EXPECT_EQ(info.URL(), "http://example.org");
    EXPECT_EQ(info.Icon(), "kept");  // no icon in these versions
    EXPECT_EQ(info.Guid(), kGuid);

    TTestInfo fresh;
    const QByteArray againBytes = OldHeader("QCU", fv, {1, 0});
    TStreamReader again(againBytes);
    fresh.ReadFromStream(again, "/docs/");
    TStreamWriter w;
    fresh.WriteToStream(w, "/docs/");
    EXPECT_EQ(w.Bytes()[3], '\x02');
    EXPECT_EQ(w.Bytes().mid(22, 4), QByteArray("\0\0\0\0", 4));  // empty icon
  }
}

TEST(Info, SignatureAndVersionChecks) {
  {
    TTestInfo info;
    const QByteArray bytes = OldHeader("QDX", 2, {1, 0});
    TStreamReader r(bytes);
    try {
      info.ReadFromStream(r, {});
      FAIL() << "no exception";
    } catch (const EWrongVersion&) {
      FAIL() << "wrong class";
    } catch (const EWrongFormat& e) {
      EXPECT_EQ(SignatureText(e.Signature()), "QCU");
      EXPECT_EQ(r.Position(), 3);  // nothing read beyond the signature
    }
  }
  {
    TTestInfo info;
    const QByteArray rBytes = OldHeader("QCU", 3, {1, 0});
    TStreamReader r(rBytes);
    EXPECT_THROW(info.ReadFromStream(r, {}), EWrongVersion);
  }
  {
    TTestInfo info;
    const QByteArray rBytes = OldHeader("QCU", 2, {1, 1});
    TStreamReader r(rBytes);
    EXPECT_THROW(info.ReadFromStream(r, {}), EWrongVersion);
  }
  {
    TTestInfo lenient(true);
    const QByteArray rBytes = OldHeader("QCU", 1, {9, 9});
    TStreamReader r(rBytes);
    EXPECT_NO_THROW(lenient.ReadFromStream(r, {}));
    EXPECT_EQ(lenient.Version(), (TVersion{9, 9}));
  }
  {
    TInfo generic;  // any signature, version 1.0 at most
    const QByteArray rBytes = OldHeader("QDX", 1, {2, 3});
    TStreamReader r(rBytes);
    try {
      generic.ReadFromStream(r, {});
      FAIL();
    } catch (const EWrongVersion& e) {
      EXPECT_EQ(SignatureText(e.Signature()), "QDX");  // the kind that was read
    }
  }
}

TEST(Info, TruncatedOrCorruptHeadersRaiseStructureErrors) {
  TTestInfo info;
  info.Title().SetEnglishText("Title");
  info.Title().SetText(1049, "Other");
  info.SetAuthor("A");
  TStreamWriter w;
  info.WriteToStream(w, {});
  const QByteArray bytes = w.Bytes();
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    TTestInfo t;
    const QByteArray prefix = bytes.left(n);
    TStreamReader r(prefix);
    EXPECT_THROW(t.ReadFromStream(r, {}), EWrongStructure) << n;
  }
  // A title count far beyond the bytes that follow.
  QByteArray corrupt = bytes;
  corrupt[26] = '\xFF';
  TTestInfo t;
  TStreamReader r(corrupt);
  EXPECT_THROW(t.ReadFromStream(r, {}), EWrongStructure);
}

TEST(Info, AssignCopiesAndNotifies) {
  TTestInfo a, b;
  a.Title().SetEnglishText("T");
  a.SetAuthor("A");
  int changing = 0, changed = 0;
  b.OnChanging = [&](TInfo&) { ++changing; };
  b.OnChange = [&](TInfo&) { ++changed; };
  b.Assign(a);
  EXPECT_EQ(b.Guid(), a.Guid());
  EXPECT_EQ(b.Title().EnglishText(), "T");
  EXPECT_EQ(b.Author(), "A");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  b.SetAuthor("A");  // unchanged: nobody is told
  EXPECT_EQ(changed, 1);
  b.SetURL("x");
  EXPECT_EQ(changed, 2);
}

TEST(Info, IconOnAnotherDriveStaysAbsolute) {
  TTestInfo info;
  info.SetIcon("D:\\icons\\a.ico");
  TStreamWriter w;
  info.WriteToStream(w, "/docs/");
  TStreamReader r(QByteArrayView(w.Bytes()).sliced(22));
  EXPECT_EQ(r.ReadWideText(), "D:\\icons\\a.ico");
}

TEST(InfoIni, MasksLanguagesAndKeys) {
  TIniFileEx ini(QString(), TTextEncoding::Utf8, true, false);
  ini.LoadFromText(u"[*.txt]\n"
                   u"Title=Roots\n"
                   u"TITLE.1049=Korni\n"
                   u"Title.abc=ignored\n"
                   u"Hint=About roots\n"
                   u"Author.1049=Someone\n"
                   u"Icon=roots.ico\n"
                   u"Other=x\n"
                   u"[names.*]\n"
                   u"Title=Names\n"
                   u"URL=http://caf\u00e9\u0416\n"
                   u"[*.qdx]\n"
                   u"Title=never\n");
  TInfo roots;
  roots.ReadInfoIni(ini, "/lists/roots.txt");
  EXPECT_EQ(roots.Title().EnglishText(), "Roots");
  EXPECT_EQ(roots.Title().GetText(1049), "Korni");
  EXPECT_EQ(roots.Title().Count(), 2);
  EXPECT_EQ(roots.Hint().EnglishText(), "About roots");
  EXPECT_EQ(roots.Author(), "Someone");
  EXPECT_EQ(roots.Icon(), "/lists/roots.ico");

  TInfo names;
  names.ReadInfoIni(ini, "/lists/NAMES.TXT");
  EXPECT_EQ(names.Title().EnglishText(), "Names");  // the later section overrides
  EXPECT_EQ(names.URL(), QString::fromUtf8("http://café?"));
}

TEST(FileFunctions, KindTitleAndContentDate) {
  QTemporaryDir dir;
  const QString col = dir.filePath("a.bin");
  TTestFile doc;
  doc.info.Title().SetEnglishText("Collection title");
  doc.SaveToFile(col);
  EXPECT_EQ(FileKindOf(col), ftCollection);
  EXPECT_EQ(FileTitle(col), "Collection title");

  const QString dic = dir.filePath("names.qdx");
  WriteFile(dic, OldHeader("QDX", 1, {2, 3}));
  EXPECT_EQ(FileKindOf(dic), ftDictionary);
  EXPECT_EQ(FileTitle(dic), "names");  // version 2.3 is newer than the generic 1.0

  const QString con = dir.filePath("c");
  WriteFile(con, QByteArray("QP\xD1", 3));
  EXPECT_EQ(FileKindOf(con), ftContainer);
  WriteFile(dir.filePath("short"), "QC");
  EXPECT_EQ(FileKindOf(dir.filePath("short")), ftNone);
  EXPECT_EQ(FileKindOf(dir.filePath("missing")), ftNone);
  EXPECT_EQ(FileKindOf(dir.path()), ftNone);
  EXPECT_EQ(FileTitle(dir.filePath("missing.txt")), "missing");

  const QString txt = dir.filePath("roots.txt");
  WriteFile(txt, "a\nb\n");
  EXPECT_EQ(FileTitle(txt), "roots");
  EXPECT_EQ(ContentDate(txt), 0);
  WriteFile(dir.filePath("Info.ini"), "[*.txt]\nTitle=Roots\n");
  EXPECT_EQ(FileTitle(txt), "Roots");
  EXPECT_EQ(ContentDate(txt), FileModified(dir.filePath("Info.ini")));
  EXPECT_EQ(ContentDate(col), FileModified(col));
  EXPECT_NE(ContentDate(txt), 0);
}

TEST(FileFunctions, FileTypeByExtension) {
  EXPECT_EQ(FileTypeOf("a.QDX"), ftDictionary);
  EXPECT_EQ(FileTypeOf("/x.y/a.qcu"), ftCollection);
  EXPECT_EQ(FileTypeOf("a.qpc"), ftContainer);
  EXPECT_EQ(FileTypeOf("a.qpi"), ftInstaller);
  EXPECT_EQ(FileTypeOf("a.txt"), ftText);
  EXPECT_EQ(FileTypeOf("a.qgs"), ftSession);
  EXPECT_EQ(FileTypeOf("a.ico"), ftIcon);
  EXPECT_EQ(FileTypeOf("a.qdx.bak"), ftNone);
}

TEST(File, LoadHeaderAndLoadFromFile) {
  QTemporaryDir dir;
  EXPECT_THROW(TInfo().LoadHeader(dir.filePath("none.qcu")), EWrongFileName);
  TTestFile missing;
  try {
    missing.LoadFromFile(dir.filePath("none.qcu"));
    FAIL();
  } catch (const EWrongFileName& e) {
    EXPECT_EQ(e.FileName(), dir.filePath("none.qcu"));
  }
  EXPECT_FALSE(missing.Loading());

  TTestFile doc;
  doc.body = "body";
  doc.info.SetIcon(dir.filePath("icon.ico"));
  doc.SaveToFile(dir.filePath("d.qcu"));
  TTestFile back;
  back.LoadFromFile(dir.filePath("d.qcu"));
  EXPECT_EQ(back.body, "body");
  EXPECT_EQ(back.info.Icon(), dir.filePath("icon.ico"));
  EXPECT_FALSE(back.Loading());

  WriteFile(dir.filePath("bad.qcu"), ReadFile(dir.filePath("d.qcu")).chopped(1));
  EXPECT_THROW(back.LoadFromFile(dir.filePath("bad.qcu")), EWrongStructure);
  EXPECT_FALSE(back.Loading());
}

TEST(File, FailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString name = dir.filePath("d.qcu");
  TTestFile doc;
  doc.body = "first";
  doc.SaveToFile(name);
  const QByteArray before = ReadFile(name);
  doc.body = "second";
  doc.failInBody = true;
  EXPECT_THROW(doc.SaveToFile(name), std::runtime_error);
  EXPECT_EQ(ReadFile(name), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"d.qcu"}));
  EXPECT_THROW(doc.SaveToFile(dir.filePath("no/such/folder/d.qcu")), EFileAccess);
}

TEST(Info, CompareVersionMajorFirst) {
  EXPECT_LT(CompareVersion({2, 3}, {3, 0}), 0);
  EXPECT_GT(CompareVersion({2, 3}, {2, 2}), 0);
  EXPECT_EQ(CompareVersion({1, 1}, {1, 1}), 0);
  EXPECT_GT(CompareVersion({1, 0}, {0, 255}), 0);
}
