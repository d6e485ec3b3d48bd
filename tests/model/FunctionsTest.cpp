#include "model/DicFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

TEST(Functions, CatalogueInPickerOrder) {
  const quint16 expected[] = {67, 65, 66, 68, 84, 85, 69, 70, 74, 71, 97, 98, 99, 100, 101, 80, 81, 86, 87,
                              73, 72, 76, 79, 96, 56, 58, 61, 59, 57, 60, 128, 129, 63, 16, 35, 17, 18, 19,
                              20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 47, 0, 1, 2, 3,
                              4, 5, 15, 48, 49, 50, 144, 55, 112, 113, 78, 83, 89, 77, 82, 75, 88};
  const TStdFuncs& c = StdFuncs();
  ASSERT_EQ(c.Count(), int(std::size(expected)));
  for (int i = 0; i < c.Count(); ++i) EXPECT_EQ(c.Item(i)->Id(), expected[i]) << i;
  EXPECT_EQ(c.Get(64), nullptr);
  EXPECT_EQ(c.Get(300), nullptr);
  EXPECT_EQ(c.Get(59)->Category(), fcParse);
  EXPECT_EQ(c.Get(47)->ResultOptions(), StdOptions().eoChar.get());
  EXPECT_EQ(c.Get(113)->ResultOptions(), StdOptions().eoLanguage.get());
  EXPECT_EQ(c.Get(15)->ParamOptions(0), StdOptions().eoRange.get());
  EXPECT_EQ(c.Get(49)->ParamNames(), "FileName, Index");
  EXPECT_TRUE(IsHiddenFunction(99));
  EXPECT_FALSE(IsHiddenFunction(30));
}

TEST(Functions, TitlesFromTheStringTable) {
  const TFunction* sub = StdFuncs().Get(18);
  EXPECT_EQ(sub->Title().DisplayText(), "Substring");
  EXPECT_EQ(sub->DisplayName(), "Substring (String, Start, Count)");
  EXPECT_EQ(StdFuncs().Get(0)->DisplayName(), "Add (Value 1, Value 2)");
  EXPECT_EQ(StdFuncs().Get(48)->ParamTitle(0), "Filename");
  EXPECT_EQ(StdFuncs().Get(68)->DisplayName(), "Line");
  EXPECT_EQ(StdFuncs().Get(144)->Title().DisplayText(), "Title");
  EXPECT_EQ(CategoryTitle(fcControlling), "Controlling");
}

TEST(Functions, AddParamIgnoresRepeatedNames) {
  TFunction f(300, fcLinks, StdOptions().eoString.get());
  f.AddParam("Race", StdOptions().eoString.get(), QStringLiteral("Race"));
  f.AddParam("RACE", StdOptions().eoInteger.get(), QStringLiteral("Other"));
  EXPECT_EQ(f.ParamCount(), 1);
  EXPECT_EQ(f.IndexOfParam(u"race"), 0);
  EXPECT_EQ(f.IndexOfParam(u"gender"), -1);
}

namespace {

// A dictionary file with two parameters and a title, for links to read.
QString WriteLinkedDictionary(const QString& folder, const QString& name, const QString& title) {
  TDicFile dic;
  dic.Info().Title().SetEnglishText(title);
  TLangStr raceTitle;
  raceTitle.SetEnglishText("Race");
  dic.Info().Variables().Add("race", raceTitle, true, TLangStr(), *StdOptions().eoString);
  dic.Info().Variables().Add("hidden", TLangStr(), false, TLangStr(), *StdOptions().eoString);
  dic.Info().Variables().Add("count", TLangStr(), true, TLangStr(), *StdOptions().eoNatural);
  const QString file = QDir(folder).filePath(name);
  dic.SaveToFile(file);
  return file;
}

std::unique_ptr<TLink> LinkTo(const QString& file, TDateTime date = 0) {
  auto link = std::make_unique<TLink>();
  link->SetFileName(file);
  link->SetDate(date);
  return link;
}

} // namespace

TEST(Links, RefreshReadsTitleAndParameters) {
  QTemporaryDir dir;
  const QString file = WriteLinkedDictionary(dir.path(), "names.qdx", QString::fromUtf8("Names (of «elves»)"));
  auto link = LinkTo(file);
  EXPECT_EQ(link->Title().DisplayText(), "names");
  link->Refresh();
  EXPECT_EQ(link->Title().DisplayText(), "Names of elves");
  ASSERT_EQ(link->ParamCount(), 2);
  EXPECT_EQ(link->ParamName(0), "race");
  EXPECT_EQ(link->ParamTitle(0), "Race");
  EXPECT_EQ(link->ParamName(1), "count");
  EXPECT_EQ(link->ParamOptions(1)->Minimal(), 1);
  EXPECT_NE(link->ParamOptions(1), StdOptions().eoNatural.get());  // a copy the link owns
  EXPECT_EQ(link->Date(), FileModified(file));
  EXPECT_EQ(link->Category(), fcLinks);

  auto missing = LinkTo(dir.filePath("none.qdx"));
  missing->AddParam("keep", StdOptions().eoString.get(), QStringLiteral("Keep"));
  EXPECT_THROW(missing->Refresh(), EWrongFileName);
  EXPECT_EQ(missing->ParamCount(), 1);  // untouched when the header could not be read
}

TEST(Links, SetFileNameRenamesOnlyTheFileTitle) {
  auto link = LinkTo("/d/names.qdx");
  EXPECT_EQ(link->Title().DisplayText(), "names");
  link->SetFileName("/d/places.qdx");
  EXPECT_EQ(link->Title().DisplayText(), "places");
  link->Title().SetEnglishText("My places");
  link->SetFileName("/d/towns.qdx");
  EXPECT_EQ(link->Title().DisplayText(), "My places");
}

TEST(Links, AddMergesLinksToTheSameFile) {
  TLinks links(nullptr);
  int added = 0;
  links.OnAdd = [&](TLinks&, TLink&) { ++added; };
  TLink* first = links.Add(LinkTo("/d/a.qdx", 10));
  auto newer = LinkTo("/d/a.qdx", 20);
  newer->SetCaching(true);
  EXPECT_EQ(links.Add(std::move(newer)), first);
  EXPECT_TRUE(first->Caching());  // the newer data was taken
  EXPECT_EQ(first->Date(), 20);
  auto older = LinkTo("/d/a.qdx", 5);
  older->SetCaching(false);
  EXPECT_EQ(links.Add(std::move(older)), first);
  EXPECT_TRUE(first->Caching());
  EXPECT_NE(links.Add(LinkTo("/d/A.qdx")), first);  // another spelling is another file here
  EXPECT_EQ(links.Count(), 2);
  EXPECT_EQ(added, 2);
}

TEST(Links, RecordsRenumberAndKeepPaths) {
  TLinks links(nullptr);
  TLink* a = links.Add(LinkTo("/home/u/dics/sub/a.qdx", 45000.5));
  a->SetId(999);
  a->SetCaching(true);
  a->AddParam("race", StdOptions().eoNatural.get(), QStringLiteral("Race"));
  links.Add(LinkTo("D:\\Games\\b.qdx"));
  TStreamWriter w;
  links.WriteTo(w, "/home/u/dics/");
  EXPECT_EQ(links.Link(0)->Id(), 256);
  EXPECT_EQ(links.Link(1)->Id(), 257);

  TLinks back(nullptr);
  TStreamReader r(w.Bytes());
  back.ReadFrom(r, "/home/u/dics/", {2, 3}, 2);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Link(0)->FileName(), "/home/u/dics/sub/a.qdx");
  EXPECT_EQ(back.Link(1)->FileName(), "D:\\Games\\b.qdx");
  EXPECT_EQ(back.Link(0)->Date(), 45000.5);
  EXPECT_TRUE(back.Link(0)->Caching());
  ASSERT_EQ(back.Link(0)->ParamCount(), 1);
  EXPECT_EQ(back.Link(0)->ParamOptions(0)->Minimal(), 1);
  EXPECT_EQ(back.GetLink(257), back.Link(1));

  // Version 1.0 records have no caching byte.
  TStreamWriter old;
  old.WriteU16(1);
  old.WriteU16(256);
  old.WriteWideText(u"Old");
  old.WriteWideText(u"x.qdx");
  old.WriteDouble(1.0);
  old.WriteU8(0);
  TLinks oldLinks(nullptr);
  TStreamReader o(old.Bytes());
  oldLinks.ReadFrom(o, "/d/", {1, 0}, 1);
  EXPECT_TRUE(o.AtEnd());
  EXPECT_FALSE(oldLinks.Link(0)->Caching());
  EXPECT_EQ(oldLinks.Link(0)->Title().EnglishText(), "Old");
  EXPECT_EQ(oldLinks.Link(0)->FileName(), "/d/x.qdx");
}

TEST(Links, MovedNodesBringTheirLinksAndDeletedLinksLeaveTheTree) {
  TDicFile a, b;
  TLink* link = a.Links().Add(LinkTo("/d/names.qdx", 3));
  link->AddParam("race", StdOptions().eoString.get(), QStringLiteral("Race"));
  TDicNode* command = a.Root().Add(std::make_unique<TDicNode>(nkRequest))->Add(std::make_unique<TDicNode>(nkCommand));
  command->Value1()->SetFunction(link);
  command->Value1()->Arg(0).SetText("elf");

  // Into another dictionary: the link comes along as that dictionary's own.
  auto copy = std::make_unique<TDicNode>(nkRoot);
  copy->Assign(*command->Parent());
  TDicNode* moved = b.Root().Add(std::move(copy));
  ASSERT_EQ(b.Links().Count(), 1);
  TLink* own = b.Links().Link(0);
  EXPECT_NE(own, link);
  EXPECT_EQ(own->FileName(), "/d/names.qdx");
  EXPECT_EQ(moved->Child(0).Value1()->Function(), own);
  EXPECT_EQ(moved->Child(0).Value1()->Arg(0).Text(), "elf");

  // A changed link rebuilds the arguments of every call of it.
  own->AddParam("gender", StdOptions().eoString.get(), QStringLiteral("Gender"));
  own->SetCaching(true);  // any change of the link refreshes the tree
  EXPECT_EQ(moved->Child(0).Value1()->ArgCount(), 2);

  std::unique_ptr<TLink> deleted;
  b.Links().OnDelete = [&](TLinks&, std::unique_ptr<TLink> l) { deleted = std::move(l); };
  b.Links().Delete(own);
  EXPECT_EQ(b.Links().Count(), 0);
  EXPECT_EQ(deleted.get(), own);
  EXPECT_EQ(moved->Child(0).Value1()->Function(), DefaultFunction());
}
