#include "documents/ColFiles.h"
#include "formats/FileFunctions.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

std::unique_ptr<TColLine> MakeLine(const char* text, const char* group = "", bool checked = false) {
  auto l = std::make_unique<TColLine>();
  l->SetText(QString::fromUtf8(text));
  l->SetGroup(QString::fromUtf8(group));
  l->SetChecked(checked);
  return l;
}

QByteArray Saved(const TColFile& col) {
  TStreamWriter w;
  col.SaveToStream(w, QStringLiteral("/c/"));
  return w.Bytes();
}

qsizetype HeaderSize(const TColFile& col) {
  TStreamWriter w;
  const_cast<TColFile&>(col).GetInfo().WriteToStream(w, QStringLiteral("/c/"));
  return w.Bytes().size();
}

} // namespace

TEST(ColFile, BodyLayouts) {
  TColFile empty;
  EXPECT_EQ(Saved(empty).mid(HeaderSize(empty)), QByteArray("\0\0\0\0\0\0\0\0", 8));
  TColFile ungrouped;
  ungrouped.Add(MakeLine("a"));
  ungrouped.Add(MakeLine("b"));
  const QByteArray body = Saved(ungrouped).mid(HeaderSize(ungrouped));
  EXPECT_EQ(body.left(8), QByteArray("\x02\0\0\0\r\0\n\0", 8));  // one empty name
  EXPECT_EQ(body.mid(8, 4), QByteArray("\x02\0\0\0", 4));
  EXPECT_EQ(body.mid(12 + 4 + 2 + 1, 2), QByteArray("\0\0", 2));  // group index 0
}

// The group table follows lines that gain, change, lose and take away their groups.
TEST(ColFile, GroupTableFollowsTheLines) {
  TColFile col;
  col.Add(MakeLine("a"));
  col.Add(MakeLine("b"));
  const auto groups = [&col] {
    Saved(col);
    QStringList names;
    for (int i = 0; i < col.Groups().Count(); ++i) names << col.Groups()[i];
    return names;
  };
  EXPECT_EQ(groups(), QStringList({""}));
  col.Line(1).SetGroup(QStringLiteral("Orcs"));
  EXPECT_EQ(groups(), QStringList({"", "Orcs"}));
  col.Line(0).SetGroup(QStringLiteral("Elves"));
  EXPECT_EQ(groups(), QStringList({"Elves", "Orcs"}));
  col.Line(0).SetGroup(QString());
  col.Delete(&col.Line(1));
  EXPECT_EQ(groups(), QStringList({""}));
  col.Add(MakeLine("c", "Dwarves"));
  col.Clear();
  EXPECT_EQ(groups(), QStringList());
  col.Add(MakeLine("d"));
  EXPECT_EQ(groups(), QStringList({""}));
}

TEST(ColFile, RoundTripAndGroups) {
  TColFile col;
  col.Add(MakeLine("Ael", "Orcs", true));
  col.Add(MakeLine("Bor", "orcs"));
  col.Add(MakeLine("Cir", "Elves"));
  TLangStr hint;
  hint.SetEnglishText("a hint");
  hint.SetText(1049, "podskazka");
  col.Line(2).SetHint(hint);
  col.Line(1).SetRating(4);
  const QByteArray bytes = Saved(col);
  EXPECT_EQ(col.Groups().Count(), 2);
  EXPECT_EQ(col.Groups()[1], "Orcs");  // the first spelling met, sorted without case

  TColFile back;
  TStreamReader r(bytes);
  back.LoadFromStream(r, QStringLiteral("/c/"));
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Line(1).Group(), "Orcs");
  EXPECT_EQ(back.Line(1).Rating(), 4);
  EXPECT_EQ(back.Line(0).Changed(), col.Line(0).Changed());
  EXPECT_TRUE(back.Line(2).Hint().SameAs(hint));
  EXPECT_EQ(back.CheckedCount(), 1);
  // A table of two languages is read as stored and written last entry first, so the bytes come
  // back after two trips.
  TColFile again;
  const QByteArray once = Saved(back);
  TStreamReader a(once);
  again.LoadFromStream(a, QStringLiteral("/c/"));
  EXPECT_EQ(Saved(again), bytes);

  for (qsizetype n = HeaderSize(col); n < bytes.size(); ++n) {
    const QByteArray prefix = bytes.left(n);
    TColFile cut;
    TStreamReader t(prefix);
    EXPECT_THROW(cut.LoadFromStream(t, QStringLiteral("/c/")), EWrongStructure) << n;
  }
  QByteArray badGroup = bytes;
  const qsizetype firstGroupIndex = HeaderSize(col) + 4 + 2 * qsizetype(QStringLiteral("Elves\r\nOrcs\r\n").size()) + 4 + 4 + 6 + 1;
  badGroup[firstGroupIndex] = 9;
  TColFile bad;
  TStreamReader b(badGroup);
  EXPECT_THROW(bad.LoadFromStream(b, QStringLiteral("/c/")), EWrongStructure);
}

TEST(ColFile, ChangedAndCheckedCount) {
  TColFile col;
  TColLine* line = col.Add(MakeLine("x"));
  line->SetChanged(1.0);
  line->SetRating(3);
  EXPECT_EQ(line->Changed(), 1.0);  // only a text change moves it
  line->SetText("y");
  EXPECT_GT(line->Changed(), 40000.0);
  line->SetChecked(true);
  EXPECT_EQ(col.CheckedCount(), 1);
  line->SetText("z");  // any change of a checked line keeps the count
  EXPECT_EQ(col.CheckedCount(), 1);
  TColLine copy;
  copy.Assign(*line);
  copy.SetChecked(false);
  line->Assign(copy);
  EXPECT_EQ(col.CheckedCount(), 0);
  TColLine* second = col.Add(MakeLine("w", "", true));
  EXPECT_EQ(col.CheckedCount(), 1);
  std::unique_ptr<TColLine> kept;
  col.OnLineDelete = [&](TColFile&, TColLine&) { return &kept; };
  col.Delete(second);
  EXPECT_EQ(col.CheckedCount(), 0);
  EXPECT_EQ(kept.get(), second);
  EXPECT_FALSE(kept->OnChange);
  col.Add(MakeLine("v", "", true));
  col.Clear();
  EXPECT_EQ(col.CheckedCount(), 0);
  EXPECT_EQ(col.Count(), 0);
}

TEST(ColFile, RemoveDuplicatesKeepsTheEarliest) {
  TColFile col;
  for (const char* t : {"Anna", "bob", "ANNA", "Bob", "anna", "Éva", "éVA"}) col.Add(MakeLine(t));
  // The subscriber (the undo history) sees each removal as a Delete of the list as it stands:
  // the line's index, the count, and the line it takes over.
  std::vector<std::tuple<QString, int, int>> seen;
  std::vector<std::unique_ptr<TColLine>> kept(4);
  col.OnLineDelete = [&](TColFile& f, TColLine& line) -> std::unique_ptr<TColLine>* {
    EXPECT_EQ(&f.Line(f.IndexOf(&line)), &line);
    seen.emplace_back(line.Text(), f.IndexOf(&line), f.Count());
    return &kept[seen.size() - 1];
  };
  col.RemoveDuplicates();
  ASSERT_EQ(col.Count(), 3);
  EXPECT_EQ(col.Line(0).Text(), "Anna");
  EXPECT_EQ(col.Line(1).Text(), "bob");
  EXPECT_EQ(col.Line(2).Text(), QString::fromUtf8("Éva"));
  const std::vector<std::tuple<QString, int, int>> expected{
      {"ANNA", 2, 7}, {"Bob", 2, 6}, {"anna", 2, 5}, {QString::fromUtf8("éVA"), 3, 4}};
  EXPECT_EQ(seen, expected);
  ASSERT_NE(kept[3], nullptr);
  EXPECT_EQ(kept[3]->Text(), QString::fromUtf8("éVA"));  // the subscriber owns what was removed

  // Without a subscriber the list is compacted; the result and the checked count are the same.
  TColFile plain;
  for (const char* t : {"Anna", "bob", "ANNA", "Bob", "anna", "Éva", "éVA"}) plain.Add(MakeLine(t, "", true));
  plain.RemoveDuplicates();
  ASSERT_EQ(plain.Count(), 3);
  EXPECT_EQ(plain.Line(1).Text(), "bob");
  EXPECT_EQ(plain.CheckedCount(), 3);
}

TEST(ColFile, OldFormatHintsTakeTheCurrentLanguage) {
  TStreamWriter w;
  w.WriteBytes("QCU");
  w.WriteU8(1);
  w.WriteU8(1);
  w.WriteU8(0);
  for (int i = 0; i < 16; ++i) w.WriteU8(0);
  w.WriteWideText(u"Title");
  w.WriteWideText(u"");
  w.WriteWideText(u"");
  w.WriteShortAnsi(u"");
  w.WriteWideText(u"\r\n");
  w.WriteI32(1);
  w.WriteWideText(u"line");
  w.WriteU8(2);
  w.WriteU16(0);
  w.WriteU8(1);
  w.WriteDouble(44000.5);
  w.WriteWideText(u"old hint");
  SetCurrentLanguage(1049);
  TColFile col;
  TStreamReader r(w.Bytes());
  col.LoadFromStream(r, QStringLiteral("/c/"));
  SetCurrentLanguage(EnglishLangID);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(col.Count(), 1);
  EXPECT_EQ(col.Line(0).Hint().GetText(1049), "old hint");
  EXPECT_EQ(col.Line(0).Hint().EnglishText(), "");
  EXPECT_EQ(col.CheckedCount(), 1);
  const QByteArray saved = Saved(col);
  EXPECT_EQ(saved[3], '\x02');
}

TEST(ColFile, FilesOnDisk) {
  QTemporaryDir dir;
  TColFile col;
  col.Add(MakeLine("Ael", "Elves"));
  col.SaveToFile(dir.filePath("c.qcu"));
  EXPECT_EQ(FileKindOf(dir.filePath("c.qcu")), ftCollection);
  TColFile back;
  back.LoadFromFile(dir.filePath("c.qcu"));
  EXPECT_EQ(back.Line(0).Text(), "Ael");
  TColFile wrong;
  EXPECT_THROW(wrong.LoadFromFile(QStringLiteral(GLOSSMITH_BUILT_DATA "/elves.qdx")), EWrongFormat);
}
