#include "formats/FileFunctions.h"
#include "model/DicFiles.h"
#include "model/OldDictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {


void Load(TDicFile& dic, const QByteArray& bytes, const QString& folder = "/dics/") {
  TStreamReader r(bytes);
  dic.LoadFromStream(r, folder);
}

} // namespace

TEST(DicFile, EmptyDictionaryLayout) {
  TDicFile dic;
  const QByteArray bytes = Saved(dic);
  TInfo header;
  TStreamWriter h;
  dic.Info().WriteToStream(h, "/dics/");
  EXPECT_EQ(bytes.left(6), QByteArray("QDX\x02\x02\x03", 6));
  EXPECT_EQ(bytes.mid(h.Bytes().size() - 2), QByteArray("\0\0\0\0\0\0\0", 7));  // Blocked, vars, links, root
  EXPECT_EQ(bytes.size(), h.Bytes().size() + 5);
}

TEST(DicFile, EveryOldVersionLoadsAndSavesCurrent) {
  const std::pair<quint8, TVersion> versions[] = {{1, {1, 0}}, {1, {1, 1}}, {2, {1, 1}}, {2, {2, 0}},
                                                  {2, {2, 1}}, {2, {2, 2}}, {2, {2, 3}}, {0, {1, 0}}};
  for (const auto& [fv, v] : versions) {
    SCOPED_TRACE(testing::Message() << "format " << int(fv) << " version " << v.ToString().toStdString());
    TDicFile dic;
    ASSERT_NO_THROW(Load(dic, TOldDictionary(fv, v).Bytes()));
    const bool legacy = CompareVersion(v, {2, 1}) < 0;
    EXPECT_EQ(dic.Info().Title().EnglishText(), "Old names");
    EXPECT_EQ(dic.Info().Hint().EnglishText(), "A hint");
    EXPECT_EQ(dic.Info().Author(), "Author");
    const TVariables& vars = dic.Info().Variables();
    ASSERT_EQ(vars.Count(), 1);
    EXPECT_EQ(vars.Item(0).isParameter, CompareVersion(v, {2, 2}) < 0);
    EXPECT_EQ(vars.Item(0).options->AliasList().EnglishText(), CompareVersion(v, {1, 1}) >= 0 ? "Elf\r\nDwarf" : "");
    EXPECT_EQ(vars.Item(0).hint.EnglishText(), "The race");
    ASSERT_EQ(dic.Links().Count(), 1);
    const TLink* link = dic.Links().Link(0);
    EXPECT_EQ(link->FileName(), "/dics/sub/other.qdx");
    EXPECT_EQ(link->Caching(), CompareVersion(v, {1, 1}) >= 0);
    EXPECT_EQ(link->ParamOptions(0)->Maximal(), 9);

    ASSERT_EQ(dic.Root().Count(), legacy ? 2 : 1);
    if (legacy) {
      const TDicNode& sep = dic.Root().Child(0);
      EXPECT_EQ(sep.Kind(), nkRequest);
      EXPECT_EQ(sep.Option(), 5);
      const TDicNode& answer = sep.Child(0);
      EXPECT_EQ(answer.Value1()->Text(), "Spacer");
      const TDicNode& cond = answer.Child(0);
      EXPECT_EQ(cond.Value1()->Kind(), vkText);
      EXPECT_EQ(cond.Value1()->Text(), " -");
      EXPECT_EQ(cond.Option(), 10);
      EXPECT_EQ(cond.Value2()->Function()->Id(), 76);
      EXPECT_TRUE(dic.HasRequest(5));
    }
    const TDicNode& request = dic.Root().Child(legacy ? 1 : 0);
    const TDicNode& selector = request.Child(0);
    EXPECT_EQ(selector.Option(), CompareVersion(v, {2, 0}) >= 0 ? 12 : 0);
    EXPECT_EQ(selector.Value1()->Function(), link);
    EXPECT_EQ(selector.Value1()->Arg(0).Text(), "4");
    const TDicNode& condition = selector.Child(0).Child(0).Child(0);
    EXPECT_EQ(condition.Value1()->Function()->Id(), 74);
    EXPECT_EQ(condition.Value2()->Text(), "a");

    // Saved in the current form, and stable from then on.
    const QByteArray saved = Saved(dic);
    EXPECT_EQ(saved.left(6), QByteArray("QDX\x02\x02\x03", 6));
    TDicFile again;
    Load(again, saved);
    EXPECT_EQ(Saved(again), saved);
    EXPECT_EQ(again.Links().Link(0)->Id(), 256);
  }
}

TEST(DicFile, DamagedFilesRaiseStructureErrors) {
  const QByteArray bytes = TOldDictionary(2, {2, 3}).Bytes();
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    const QByteArray prefix = bytes.left(n);
    TDicFile dic;
    TStreamReader r(prefix);
    EXPECT_THROW(dic.LoadFromStream(r, "/dics/"), EWrongStructure) << n;
  }
  // Every byte replaced by telling values: the reader ends in its own exceptions or loads.
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    for (unsigned char value : {0x00, 0x01, 0x0C, 0x7F, 0xFF}) {
      QByteArray bad = bytes;
      bad[i] = char(value);
      TDicFile dic;
      TStreamReader r(bad);
      try {
        dic.LoadFromStream(r, "/dics/");
      } catch (const EWrongStructure&) {
      } catch (const EWrongFormat&) {
      } catch (const std::exception& e) {
        ADD_FAILURE() << i << " = " << int(value) << ": " << e.what();
      }
    }
  }
}

TEST(DicFile, WrongSignatureAndNewerVersions) {
  QByteArray bytes = TOldDictionary(2, {2, 3}).Bytes();
  TDicFile dic;
  QByteArray other = bytes;
  other[2] = 'Y';
  try {
    Load(dic, other);
    FAIL();
  } catch (const EWrongVersion&) {
    FAIL();
  } catch (const EWrongFormat& e) {
    EXPECT_EQ(SignatureText(e.Signature()), "QDX");
  }
  QByteArray newer = bytes;
  newer[5] = 4;  // 2.4
  EXPECT_THROW(Load(dic, newer), EWrongVersion);
  newer = bytes;
  newer[3] = 3;  // format version 3
  EXPECT_THROW(Load(dic, newer), EWrongVersion);
}

TEST(DicFile, MergedLinksLeaveTheSecondIdUnknown) {
  TStreamWriter w;
  TDicFile blank;
  blank.Info().WriteToStream(w, "/d/");
  w.WriteU16(2);
  for (quint16 id : {256, 257}) {
    w.WriteU16(id);
    TLangStr().WriteTo(w);
    w.WriteWideText(u"same.qdx");
    w.WriteDouble(1);
    w.WriteU8(0);
    w.WriteU8(0);
  }
  const QByteArray start = w.Bytes();
  for (quint16 id : {256, 257}) {
    TStreamWriter tree;
    tree.WriteBytes(start);
    tree.WriteU8(nkRoot);
    tree.WriteU16(1);
    tree.WriteU8(nkRequest);
    tree.WriteU8(0);
    tree.WriteU8(0);
    tree.WriteU8(0);
    tree.WriteU16(1);
    tree.WriteU8(nkCommand);
    tree.WriteU8(vkFunc);
    tree.WriteU16(id);
    tree.WriteU8(0);
    tree.WriteU8(0);
    tree.WriteU8(0);
    tree.WriteU16(0);
    TDicFile dic;
    if (id == 256) {
      EXPECT_NO_THROW(Load(dic, tree.Bytes(), "/d/"));
      EXPECT_EQ(dic.Links().Count(), 1);
    } else {
      EXPECT_THROW(Load(dic, tree.Bytes(), "/d/"), EWrongStructure);
    }
  }
}

TEST(DicFile, DeepTreesAreRefusedAndClaimsChecked) {
  TStreamWriter w;
  TDicFile blank;
  blank.Info().WriteToStream(w, "/d/");
  w.WriteU16(0);
  w.WriteU8(nkRoot);
  w.WriteU16(1);
  w.WriteU8(nkRequest);
  w.WriteU8(0);
  w.WriteU8(0);
  w.WriteU8(0);
  w.WriteU16(1);
  for (int i = 0; i < 100000; ++i) {  // order blocks inside order blocks
    w.WriteU8(nkOrder);
    w.WriteU8(0);
    w.WriteU8(0);
    w.WriteU8(0);
    w.WriteU16(1);
  }
  w.WriteU8(nkAnswer);
  w.WriteU8(vkText);
  w.WriteWideText(u"deep");
  w.WriteU8(0);
  w.WriteU8(0);
  w.WriteU16(0);
  TDicFile dic;
  EXPECT_THROW(Load(dic, w.Bytes(), "/d/"), EWrongStructure);

  TStreamWriter claims;
  blank.Info().WriteToStream(claims, "/d/");
  claims.WriteU16(0);
  claims.WriteU8(nkRoot);
  claims.WriteU16(65535);
  TDicFile many;
  EXPECT_THROW(Load(many, claims.Bytes(), "/d/"), EWrongStructure);
}

TEST(DicFile, LoadingReplacesContentAndKeepsRequestSet) {
  TDicFile dic;
  auto request = std::make_unique<TDicNode>(nkRequest);
  request->SetOption(40);
  dic.Root().Add(std::move(request));
  dic.Info().Variables().Add("x", TLangStr(), true, TLangStr(), *StdOptions().eoString);
  Load(dic, TOldDictionary(2, {2, 3}).Bytes());
  EXPECT_EQ(dic.Root().Count(), 1);
  EXPECT_EQ(dic.Root().Child(0).Option(), 0);
  EXPECT_EQ(dic.Info().Variables().Item(0).name, "race");
  EXPECT_TRUE(dic.HasRequest(40));
  EXPECT_TRUE(dic.HasRequest(0));
}

TEST(DicFile, AssigningInfoMovesValuesToTheNewVariables) {
  TDicFile dic;
  TEditorOptions race(esString);
  race.PickList().SetItems({"elf", "dwarf"});
  race.SetFixed(true);
  dic.Info().Variables().Add("race", TLangStr(), true, TLangStr(), race);
  TDicNode* selector = dic.Root().Add(std::make_unique<TDicNode>(nkRequest))->Add(std::make_unique<TDicNode>(nkSelector));
  selector->Value1()->SetFunction(StdFuncs().Get(67));
  selector->Value1()->Arg(0).SetText("race");
  TDicNode* c = selector->Add(std::make_unique<TDicNode>(nkCase));
  c->Value1()->SetText("dwarf");

  TDicInfo edited(nullptr);
  edited.Assign(dic.Info());
  TEditorOptions natural(esInteger);
  natural.SetMinimal(1);
  edited.Variables().SetOptions(0, natural);
  edited.SetBlocked(true);
  dic.Info().Assign(edited);
  EXPECT_TRUE(dic.Info().Blocked());
  EXPECT_EQ(c->Value1()->Options(), dic.Info().Variables().OptionsOf(u"race"));
  EXPECT_EQ(c->Value1()->Text(), "1");  // "dwarf" is no natural number
}

TEST(DicFile, FilesOnDisk) {
  QTemporaryDir dir;
  TDicFile dic;
  dic.Info().SetIcon(dir.filePath("icons/names.ico"));
  dic.Root().Add(std::make_unique<TDicNode>(nkRequest))->Add(std::make_unique<TDicNode>(nkAnswer))->Value1()->SetText("a");
  const QString file = dir.filePath("names.qdx");
  dic.SaveToFile(file);
  EXPECT_EQ(FileKindOf(file), ftDictionary);
  EXPECT_EQ(FileTitle(file), "names");  // the generic reader does not open 2.3
  TDicFile back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Info().Icon(), dir.filePath("icons/names.ico"));
  EXPECT_EQ(back.Info().Guid(), dic.Info().Guid());
  EXPECT_EQ(back.Root().Child(0).Child(0).Value1()->Text(), "a");
  TDicInfo header(nullptr);
  header.LoadHeader(file);
  EXPECT_EQ(header.Guid(), dic.Info().Guid());
}
