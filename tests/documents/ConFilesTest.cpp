#include "documents/ColFiles.h"
#include "documents/ConFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

std::unique_ptr<TItem> Folder(const char* name) {
  auto item = std::make_unique<TItem>(ikFolder);
  TLangStr n;
  n.SetEnglishText(QString::fromUtf8(name));
  item->SetName(n);
  return item;
}

std::unique_ptr<TItem> FileItem(const QString& fileName) {
  auto item = std::make_unique<TItem>(ikFile);
  item->SetFileName(fileName);
  return item;
}

QByteArray Saved(const TConFile& con, const QString& folder) {
  TStreamWriter w;
  con.SaveToStream(w, folder);
  return w.Bytes();
}

qsizetype HeaderSize(TConFile& con, const QString& folder) {
  TStreamWriter w;
  con.Info().WriteToStream(w, folder);
  return w.Bytes().size();
}

} // namespace

TEST(ConFile, LayoutsAndRoundTrip) {
  TConFile empty;
  const QByteArray e = Saved(empty, "/c/");
  EXPECT_EQ(e.mid(HeaderSize(empty, "/c/") - 1), QByteArray("\0\0\0\0", 4));  // Blocked, root, no children
  EXPECT_EQ(e.left(3), QByteArray("QP\xD1", 3));

  TConFile con;
  con.Info().SetBlocked(true);
  TItem* folder = con.Root().AddChild(Folder("Names"));
  folder->AddChild(FileItem("/c/names.qdx"));
  folder->AddChild(FileItem("D:\\other\\x.qdx"));
  con.Root().AddChild(Folder("Empty"));
  TLangStr hint;
  hint.SetEnglishText("hint");
  folder->SetHint(hint);
  folder->SetHidden(true);
  const QByteArray bytes = Saved(con, "/c/");
  EXPECT_TRUE(bytes.contains(QByteArray("n\0a\0m\0e\0s\0.\0q\0d\0x\0", 18)));
  EXPECT_FALSE(bytes.contains(QByteArray("/\0c\0/\0", 6)));  // stored beside the container: bare

  TConFile back;
  TStreamReader r(bytes);
  back.LoadFromStream(r, "/moved/");
  EXPECT_TRUE(r.AtEnd());
  EXPECT_TRUE(back.Info().Blocked());
  ASSERT_EQ(back.Root().ChildCount(), 2);
  const TItem& f = back.Root().Child(0);
  EXPECT_TRUE(f.Hidden());
  EXPECT_EQ(f.Hint().EnglishText(), "hint");
  EXPECT_EQ(f.Child(0).FileName(), "/moved/names.qdx");  // moved together, still valid
  EXPECT_EQ(f.Child(1).FileName(), "D:\\other\\x.qdx");
  EXPECT_EQ(back.Root().Child(1).ChildCount(), 0);
  EXPECT_EQ(back.Root().VisibleChildCount(), 1);
  EXPECT_EQ(&f.Child(0).OwnerFile()->Root(), &back.Root());
  EXPECT_EQ(Saved(back, "/moved/"), Saved(con, "/c/").replace("/c/", "/moved/"));
}

TEST(ConFile, DamagedRecords) {
  TConFile con;
  con.Root().AddChild(Folder("A"))->AddChild(FileItem("/c/a.txt"));
  con.Root().AddChild(Folder("B"));
  const QByteArray bytes = Saved(con, "/c/");
  for (qsizetype n = HeaderSize(con, "/c/"); n < bytes.size(); ++n) {
    const QByteArray prefix = bytes.left(n);
    TConFile cut;
    TStreamReader r(prefix);
    try {
      cut.LoadFromStream(r, "/c/");
      ADD_FAILURE() << n;
    } catch (const EWrongStructure& e) {
      if (n == bytes.size() - 2) {
        EXPECT_EQ(e.Position(), n);  // right after the last folder's hint
      }
    }
  }
  QByteArray rootKind = bytes;
  rootKind[HeaderSize(con, "/c/")] = 1;
  TConFile bad;
  TStreamReader r(rootKind);
  EXPECT_THROW(bad.LoadFromStream(r, "/c/"), EWrongStructure);
}

TEST(ConFile, ItemsNotifyBeforeChanges) {
  TConFile con;
  std::vector<std::string> events;
  std::unique_ptr<TItem> kept;
  con.OnItemInsert = [&](TConFile&, TItem&) { events.push_back("insert"); };
  con.OnItemNameChanging = [&](TConFile&, TItem& i, const TLangStr& n) {
    events.push_back("name " + n.EnglishText().toStdString() + " was " + i.Name().EnglishText().toStdString());
  };
  con.OnItemHiddenChanging = [&](TConFile&, TItem&, bool h) { events.push_back(h ? "hide" : "show"); };
  con.OnItemDelete = [&](TConFile&, TItem&) {
    events.push_back("delete");
    return &kept;
  };
  TItem* folder = con.Root().AddChild(Folder("Old"));
  TLangStr n;
  n.SetEnglishText("New");
  folder->SetName(n);
  folder->SetName(n);
  folder->SetHidden(true);
  TItem* file = folder->AddChild(FileItem("/c/x.txt"));
  EXPECT_EQ(file->AddChild(Folder("never")), nullptr);  // a file item has no children
  con.Root().DeleteChild(folder);
  EXPECT_EQ(kept.get(), folder);
  EXPECT_EQ(kept->OwnerFile(), nullptr);
  kept->SetHidden(false);  // outside the tree: nobody is told
  EXPECT_EQ(events, (std::vector<std::string>{"insert", "name New was Old", "hide", "insert", "delete"}));

  kept->SetHidden(true);
  kept->Child(0).SetHidden(true);
  TItem second;
  second.Assign(*kept);
  EXPECT_FALSE(second.Hidden());
  EXPECT_FALSE(second.Child(0).Hidden());
  EXPECT_EQ(second.Child(0).FileName(), "/c/x.txt");
}

TEST(ConFile, CollectFilesFollowsNestedContainersOnce) {
  QTemporaryDir dir;
  const QString outer = dir.filePath("outer.qpc"), inner = dir.filePath("inner.qpc");
  const QString col = dir.filePath("c.qcu"), list = dir.filePath("roots.txt");
  TColFile c;
  c.SaveToFile(col);
  TConFile in;
  in.Root().AddChild(FileItem(outer));  // back to the outer one
  in.Root().AddChild(FileItem(list));
  in.SaveToFile(inner);
  TConFile out;
  TItem* folder = out.Root().AddChild(Folder("F"));
  folder->AddChild(FileItem(inner));
  folder->AddChild(FileItem(col));
  folder->AddChild(FileItem("C:\\elsewhere\\x.qdx"));
  folder->AddChild(FileItem(dir.filePath("missing.qdx")));
  out.SaveToFile(outer);
  QStringList files;
  out.CollectFiles(files, dir.path() + u'/');
  QStringList expected{outer, inner, col, list, dir.filePath("missing.qdx")};
  expected.sort();
  EXPECT_EQ(files, expected);
}
