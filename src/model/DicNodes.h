// The node tree of a dictionary: requests, order blocks, selectors with cases, answers,
// logic blocks, conditions, common conditions and commands.
#pragma once

#include "formats/LangStr.h"
#include "formats/Stream.h"
#include "model/Values.h"

#include <memory>
#include <vector>

namespace gs {

class TDicFile;
class TLinks;

enum TNodeKind : quint8 {
  nkRoot = 0,
  nkRequest = 1,
  nkOrder = 2,
  nkSelector = 3,
  nkCase = 4,
  nkAnswer = 5,
  nkLogic = 6,
  nkCondition = 7,
  nkRequisite = 8,
  nkCommand = 9,
};
constexpr int NodeKindCount = 10;

enum TOrderKind : quint8 { okDirect = 0, okRandom = 1, okLoop = 2 };
enum TLogicKind : quint8 { lkAnd = 0, lkOr = 1, lkNot = 2 };
enum TRequisiteKind : quint8 { rkPrecondition = 0, rkPostcondition = 1 };

// The highest request code that RequestSet records.
constexpr int MaxRecordedRequest = 55;

// Titles of the option vocabularies, from the string table.
std::uint16_t RequestTitleId(int code);
QString RequestTitle(int code);
QString OrderTitle(int kind);
QString LogicTitle(int kind);
QString RequisiteTitle(int kind);
QString SignText(int sign);          // fixed texts; empty for an unknown sign
int SignFromText(QStringView text);  // -1 when no sign has that text
// The kinds a node of this kind may contain, and the defaults the editor inserts.
bool KindCanContain(quint8 parent, quint8 child);
quint8 DefaultChildKind(quint8 kind);    // nkRoot when none
quint8 DefaultSiblingKind(quint8 kind);  // nkRoot when none

class TDicNode {
public:
  explicit TDicNode(quint8 kind);
  ~TDicNode();
  TDicNode(const TDicNode&) = delete;
  TDicNode& operator=(const TDicNode&) = delete;

  // A deep copy of the source's kind, fields, values and children.
  void Assign(const TDicNode& source);

  quint8 Kind() const { return m_kind; }
  quint8 Option() const { return m_option; }
  bool Disabled() const { return m_disabled; }
  const TLangStr& Hint() const { return m_hint; }
  TValue* Value1() const { return m_value1.get(); }
  TValue* Value2() const { return m_value2.get(); }
  bool Updating() const { return m_updating; }

  void SetOption(quint8 option);
  void SetDisabled(bool disabled);
  void SetHint(const TLangStr& hint);
  // The editor's combined forms: the option, then the options of the node or its subtree.
  void SetOptionAndUpdate(quint8 option, bool recursive);

  int Count() const { return int(m_children.size()); }
  // The children with Disabled false, counted as they change: the generator's blocks read it.
  int EnabledCount() const { return m_enabledCount; }
  TDicNode& Child(int index) const { return *m_children[index]; }
  int IndexOf(const TDicNode* child) const;
  int Index() const;  // in the parent; -1 for the root and detached nodes
  TDicNode* Parent() const { return m_parent; }
  TDicFile* OwningFile() const;  // found from the root
  bool CanContain(quint8 kind) const { return KindCanContain(m_kind, kind); }

  // Inserts when this node may contain the node's kind; returns the node kept, or null
  // (the node is then destroyed).
  TDicNode* Insert(int index, std::unique_ptr<TDicNode> node);
  TDicNode* Add(std::unique_ptr<TDicNode> node) { return Insert(Count(), std::move(node)); }
  // Takes the child out. With the file's OnNodeDelete set, the child goes to the slot that
  // the subscriber gave; otherwise it is destroyed.
  void Remove(TDicNode* child);
  void ClearChildren();

  std::vector<TDicNode*> EnabledChildren() const;
  std::vector<TDicNode*> EnabledRequests(quint8 code) const;
  quint8 NearestRequestCode() const;
  TValue* NearestSelectorValue() const;
  TValue* NearestCaseValue() const;

  // A memo of the generator's about this node, kept until any tree changes.
  bool Memo(qint32& value) const {
    if (m_memoAt != TreeRevision()) return false;
    value = m_memo;
    return true;
  }
  void SetMemo(qint32 value) const {
    m_memo = value;
    m_memoAt = TreeRevision();
  }

  void UpdateOptions(bool recursive);
  int ReplaceFunction(const TFunction* oldFunction, TFunction* newFunction);
  void RelinkLinks(TLinks& links);
  void RefreshValues();

  // The node record; reading refuses trees nested deeper than MaxNestingDepth.
  void ReadFrom(TStreamReader& stream, const TLinks* links, quint8 formatVersion, TVersion version, int depth = 0);
  void WriteTo(TStreamWriter& stream) const;

private:
  friend class TDicFile;
  void CreateValues();
  void StoreDisabled(bool disabled);
  void WireValue(TValue& value, bool first);
  void ValueChanged(bool first);
  TEditorOptions* OptionsForCall(const TValue& call) const;
  TEditorOptions* VariableOptions(const TValue* ident) const;
  TEditorOptions* AnswerOptions() const;

  quint8 m_kind;
  quint8 m_option = 0;
  bool m_disabled = false;
  TLangStr m_hint;
  std::unique_ptr<TValue> m_value1;
  std::unique_ptr<TValue> m_value2;
  std::vector<std::unique_ptr<TDicNode>> m_children;
  TDicNode* m_parent = nullptr;
  int m_enabledCount = 0;
  TDicFile* m_file = nullptr;  // the owning file, for the root only
  bool m_updating = false;
  mutable qint32 m_memo = 0;
  mutable quint64 m_memoAt = 0;
};

QString NodeText(const TDicNode& node);

} // namespace gs
