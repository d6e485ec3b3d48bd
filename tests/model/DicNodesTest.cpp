#include "model/DicFiles.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

std::unique_ptr<TDicNode> Node(quint8 kind, int option = -1) {
  auto n = std::make_unique<TDicNode>(kind);
  if (option >= 0) n->SetOption(quint8(option));
  return n;
}

TDicNode* AddRequest(TDicFile& dic, int code) {
  return dic.Root().Add(Node(nkRequest, code));
}

QByteArray Record(const TDicNode& n) {
  TStreamWriter w;
  n.WriteTo(w);
  return w.Bytes();
}

} // namespace

TEST(DicNode, ContainmentRules) {
  const std::vector<std::pair<quint8, std::vector<quint8>>> rules = {
      {nkRoot, {nkRequest}},
      {nkRequest, {nkOrder, nkSelector, nkAnswer, nkRequisite, nkCommand}},
      {nkOrder, {nkOrder, nkSelector, nkAnswer, nkRequisite, nkCommand}},
      {nkSelector, {nkCase}},
      {nkCase, {nkOrder, nkSelector, nkAnswer, nkRequisite, nkCommand}},
      {nkAnswer, {nkLogic, nkCondition, nkCommand}},
      {nkLogic, {nkLogic, nkCondition, nkCommand}},
      {nkCondition, {}},
      {nkRequisite, {nkLogic, nkCondition, nkCommand}},
      {nkCommand, {nkLogic, nkCondition, nkCommand}},
  };
  for (const auto& [parent, allowed] : rules)
    for (quint8 child = 0; child < NodeKindCount; ++child)
      EXPECT_EQ(KindCanContain(parent, child), std::find(allowed.begin(), allowed.end(), child) != allowed.end())
          << int(parent) << " > " << int(child);
  EXPECT_EQ(DefaultChildKind(nkSelector), nkCase);
  EXPECT_EQ(DefaultSiblingKind(nkCommand), nkRoot);
  EXPECT_EQ(DefaultChildKind(nkCondition), nkRoot);

  TDicNode answer(nkAnswer);
  EXPECT_EQ(answer.Add(Node(nkAnswer)), nullptr);
  EXPECT_EQ(answer.Count(), 0);
}

TEST(DicNode, NewNodesAndTheirValues) {
  struct Case {
    quint8 kind;
    int option;
    bool call1, has1, has2;
  };
  const Case cases[] = {
      {nkRoot, 0, false, false, false},   {nkRequest, 0, false, false, false}, {nkOrder, 1, false, false, false},
      {nkSelector, 0, true, true, false}, {nkCase, 0, false, true, false},     {nkAnswer, 0, false, true, false},
      {nkLogic, 1, false, false, false},  {nkCondition, 0, true, true, true},  {nkRequisite, 0, false, false, false},
      {nkCommand, 0, true, true, false},
  };
  for (const Case& c : cases) {
    TDicNode n(c.kind);
    EXPECT_EQ(n.Option(), c.option) << int(c.kind);
    EXPECT_EQ(n.Value1() != nullptr, c.has1) << int(c.kind);
    EXPECT_EQ(n.Value2() != nullptr, c.has2) << int(c.kind);
    if (c.has1) {
      EXPECT_EQ(n.Value1()->Kind() == vkFunc, c.call1) << int(c.kind);
    }
  }
}

TEST(DicNode, AnswerOptionsFollowTheRequest) {
  TDicFile dic;
  struct Case {
    int code;
    const char* in;
    const char* out;
  };
  const Case cases[] = {{42, "maybe", "True"}, {42, "false", "false"}, {5, "Spacer", "Spacer"}, {5, "x", "Word"},
                        {1, "-3", "0"},        {24, "0", "1"},         {40, "9", "5"},         {25, "x", "Length"},
                        {0, "free text", "free text"}};
  for (const Case& c : cases) {
    TDicNode* request = AddRequest(dic, c.code);
    TDicNode* answer = request->Add(Node(nkAnswer));
    answer->Value1()->SetText(c.in);
    EXPECT_EQ(answer->Value1()->Text(), c.out) << c.code << " " << c.in;
  }
}

TEST(DicNode, SelectorFunctionDecidesCaseOptions) {
  TDicFile dic;
  TDicNode* request = AddRequest(dic, 0);
  TDicNode* selector = request->Add(Node(nkSelector));
  selector->Value1()->SetFunction(StdFuncs().Get(69));  // Word Count: cardinal
  TDicNode* case1 = selector->Add(Node(nkCase));
  case1->Value1()->SetText("7");
  TDicNode* case2 = selector->Add(Node(nkCase));
  case2->Value1()->SetText("abc");
  EXPECT_EQ(case1->Value1()->Text(), "7");
  EXPECT_EQ(case2->Value1()->Text(), "0");
  selector->Value1()->SetFunction(StdFuncs().Get(79));  // Master: fixed True/False
  EXPECT_EQ(case1->Value1()->Text(), "True");
  EXPECT_EQ(case1->Value1()->Options(), StdOptions().eoBoolean.get());

  // A selector on a variable gives its cases the variable's options.
  TEditorOptions race(esString);
  race.PickList().SetItems({"elf", "dwarf"});
  race.SetFixed(true);
  dic.Info().Variables().Add("Race", TLangStr(), true, TLangStr(), race);
  selector->Value1()->SetFunction(StdFuncs().Get(67));
  selector->Value1()->ArgByName(u"Ident")->SetText("race");
  EXPECT_EQ(case2->Value1()->Options(), dic.Info().Variables().OptionsOf(u"Race"));
  EXPECT_EQ(case2->Value1()->Text(), "elf");

  // Ident under Randomize chooses a variable; under Sample Length, Minimal or Maximal.
  TDicNode* compute = AddRequest(dic, 48);
  TDicNode* identSelector = compute->Add(Node(nkSelector));
  identSelector->Value1()->SetFunction(StdFuncs().Get(75));
  TDicNode* identCase = identSelector->Add(Node(nkCase));
  EXPECT_EQ(identCase->Value1()->Options(), StdOptions().eoVarIdent.get());
  identCase->Value1()->SetText("Race");
  TDicNode* answer = identCase->Add(Node(nkAnswer));
  EXPECT_EQ(answer->Value1()->Options(), dic.Info().Variables().OptionsOf(u"Race"));
  TDicNode* sample = AddRequest(dic, 24);
  TDicNode* minMax = sample->Add(Node(nkSelector));
  minMax->Value1()->SetFunction(StdFuncs().Get(75));
  EXPECT_EQ(minMax->Add(Node(nkCase))->Value1()->Options(), StdOptions().eoMinMax.get());
}

TEST(DicNode, NumericSignsMakeIntegerOperands) {
  TDicFile dic;
  TDicNode* answer = AddRequest(dic, 0)->Add(Node(nkAnswer));
  TDicNode* condition = answer->Add(Node(nkCondition));
  condition->Value1()->SetFunction(StdFuncs().Get(68));  // Line: a string result
  condition->Value2()->SetText("abc");
  EXPECT_EQ(condition->Value2()->Text(), "abc");
  condition->SetOptionAndUpdate(2, false);  // "<"
  EXPECT_EQ(condition->Value2()->Options(), StdOptions().eoInteger.get());
  EXPECT_EQ(condition->Value2()->Text(), "0");
  EXPECT_EQ(condition->Value1()->Options(), StdOptions().eoInteger.get());
}

TEST(DicNode, InsertRemoveAndNotifications) {
  TDicFile dic;
  std::vector<std::string> events;
  std::unique_ptr<TDicNode> kept;
  dic.OnNodeInsert = [&](TDicFile&, TDicNode& n) { events.push_back("insert " + std::to_string(n.Kind())); };
  dic.OnNodeDelete = [&](TDicFile&, TDicNode& n) {
    events.push_back("delete " + std::to_string(n.Index()));  // still in place
    return &kept;
  };
  dic.OnOptionChange = [&](TDicFile&, TDicNode& n, quint8 v) {
    events.push_back("option " + std::to_string(v) + " was " + std::to_string(n.Option()));
  };
  dic.OnValue1Changing = [&](TDicFile&, TDicNode&) { events.push_back("v1 changing"); };
  dic.OnValue1Change = [&](TDicFile&, TDicNode&) { events.push_back("v1 change"); };

  TDicNode* request = AddRequest(dic, 3);
  EXPECT_TRUE(dic.HasRequest(3));
  request->SetOption(4);
  request->SetOption(4);
  TDicNode* answer = request->Add(Node(nkAnswer));
  answer->Value1()->SetText("x");
  request->Remove(answer);
  EXPECT_EQ(request->Count(), 0);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept.get(), answer);
  EXPECT_EQ(kept->Parent(), nullptr);
  dic.Root().Remove(request);
  EXPECT_TRUE(dic.HasRequest(3));  // codes stay recorded
  EXPECT_FALSE(dic.HasRequest(4));
  EXPECT_EQ(events, (std::vector<std::string>{"insert 1", "option 4 was 3", "insert 5", "v1 changing", "v1 change",
                                              "delete 0", "delete 0"}));

  // Detached nodes notify nobody; without a delete subscriber a removed node is destroyed.
  TDicNode loose(nkRequest);
  loose.SetOption(9);
  dic.OnNodeDelete = nullptr;
  TDicNode* r = AddRequest(dic, 60);  // above 55: not recorded
  EXPECT_FALSE(dic.HasRequest(60));
  dic.Root().Remove(r);
  EXPECT_EQ(dic.Root().Count(), 0);
}

TEST(DicNode, QueriesAndTexts) {
  TDicFile dic;
  AddRequest(dic, 0)->SetDisabled(true);
  TDicNode* second = AddRequest(dic, 0);
  AddRequest(dic, 2);
  TDicNode* third = AddRequest(dic, 0);
  EXPECT_EQ(dic.Root().EnabledRequests(0), (std::vector<TDicNode*>{second, third}));
  EXPECT_EQ(dic.Root().EnabledChildren().size(), 3u);

  TDicNode* selector = second->Add(Node(nkSelector));
  TDicNode* c = selector->Add(Node(nkCase));
  TDicNode* answer = c->Add(Node(nkAnswer));
  TDicNode* condition = answer->Add(Node(nkCondition));
  EXPECT_EQ(condition->NearestRequestCode(), 0);
  EXPECT_EQ(condition->NearestSelectorValue(), selector->Value1());
  EXPECT_EQ(condition->NearestCaseValue(), c->Value1());
  EXPECT_EQ(TDicNode(nkAnswer).NearestSelectorValue(), nullptr);

  condition->Value1()->SetFunction(StdFuncs().Get(74));
  condition->SetOption(10);
  condition->Value2()->SetText("ae");
  EXPECT_EQ(NodeText(*condition), "Word <?> ae");  // shown forms: no guillemets
  answer->Value1()->SetText("Ael");
  EXPECT_EQ(NodeText(*answer), "Ael");
  const std::pair<int, const char*> titles[] = {{0, "Line"}, {1, "Word Count"}, {2, "Word"}, {3, "Mark"},
                                                {4, "Spacer"}, {5, "Line Separation"}, {48, "Compute"}};
  for (auto [code, title] : titles) EXPECT_EQ(RequestTitle(code), title) << code;
  EXPECT_EQ(NodeText(TDicNode(nkOrder)), "Random");
  EXPECT_EQ(NodeText(TDicNode(nkLogic)), "OR");
  EXPECT_EQ(NodeText(TDicNode(nkRequisite)), "");
  for (int s = 0; s < 20; ++s) EXPECT_EQ(SignFromText(SignText(s)), s);
  EXPECT_EQ(SignText(20), "");
}

TEST(DicNode, RecordLayouts) {
  TDicNode root(nkRoot);
  EXPECT_EQ(Record(root), QByteArray("\0\0\0", 3));
  TDicNode condition(nkCondition);
  const QByteArray c = Record(condition);
  EXPECT_EQ(c.right(2), QByteArray("\0\0", 2));  // disabled and an empty hint; no child count

  // A selector of version 1.x has no sign byte.
  TStreamWriter w;
  w.WriteU8(nkSelector);
  w.WriteU8(vkFunc);
  w.WriteU16(74);
  w.WriteU8(0);
  w.WriteU8(0);            // disabled
  w.WriteWideText(u"hint");  // format version 1: a plain English hint
  w.WriteU16(0);
  TDicNode selector(nkRoot);
  TStreamReader r(w.Bytes());
  selector.ReadFrom(r, nullptr, 1, {1, 5});
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(selector.Kind(), nkSelector);
  EXPECT_EQ(selector.Option(), 0);
  EXPECT_EQ(selector.Hint().EnglishText(), "hint");
  EXPECT_EQ(selector.Value1()->Function()->Id(), 74);

  // A child that its parent may not hold is dropped.
  TStreamWriter bad;
  bad.WriteU8(nkAnswer);
  bad.WriteU8(vkText);
  bad.WriteWideText(u"a");
  bad.WriteU8(0);
  bad.WriteU8(0);
  bad.WriteU16(1);
  bad.WriteU8(nkRequest);
  bad.WriteU8(0);
  bad.WriteU8(0);
  bad.WriteU8(0);
  bad.WriteU16(0);
  TDicNode answer(nkRoot);
  TStreamReader b(bad.Bytes());
  answer.ReadFrom(b, nullptr, 2, {2, 3});
  EXPECT_TRUE(b.AtEnd());
  EXPECT_EQ(answer.Count(), 0);

  for (quint8 kind : {quint8(10), quint8(200)}) {
    const QByteArray unknown(1, char(kind));
    TDicNode n(nkRoot);
    TStreamReader u(unknown);
    EXPECT_THROW(n.ReadFrom(u, nullptr, 2, {2, 3}), EWrongStructure);
  }
}

TEST(DicNode, AssignCopiesTheSubtree) {
  TDicFile dic;
  TDicNode* request = AddRequest(dic, 2);
  TDicNode* answer = request->Add(Node(nkAnswer));
  answer->Value1()->SetText("Ael");
  TLangStr hint;
  hint.SetEnglishText("h");
  answer->SetHint(hint);
  answer->Add(Node(nkCondition))->SetOption(12);
  TDicNode copy(nkRoot);
  copy.Assign(*request);
  EXPECT_EQ(Record(copy), Record(*request));
  EXPECT_NE(&copy.Child(0), answer);
}

TEST(DicNode, EnabledCountFollowsEveryChange) {
  TDicNode order(nkOrder);
  TDicNode* a = order.Add(std::make_unique<TDicNode>(nkAnswer));
  TDicNode* b = order.Add(std::make_unique<TDicNode>(nkAnswer));
  EXPECT_EQ(order.EnabledCount(), 2);
  a->SetDisabled(true);
  EXPECT_EQ(order.EnabledCount(), 1);
  a->SetDisabled(true);
  EXPECT_EQ(order.EnabledCount(), 1);
  auto disabled = std::make_unique<TDicNode>(nkAnswer);
  disabled->SetDisabled(true);
  order.Add(std::move(disabled));
  EXPECT_EQ(order.EnabledCount(), 1);
  order.Remove(b);
  EXPECT_EQ(order.EnabledCount(), 0);
  TDicNode enabledSource(nkAnswer);
  a->Assign(enabledSource);  // Assign brings the source's flag
  EXPECT_EQ(order.EnabledCount(), 1);
  TDicNode copy(nkRoot);
  copy.Assign(order);
  EXPECT_EQ(copy.EnabledCount(), 1);
  EXPECT_EQ(int(copy.EnabledChildren().size()), copy.EnabledCount());
  order.ClearChildren();
  EXPECT_EQ(order.EnabledCount(), 0);
}
