#include "model/DicNodes.h"

#include "model/DicFiles.h"
#include "model/Functions.h"
#include "model/Limits.h"
#include "shell/LangFrm.h"

#include <optional>

namespace gs {

// ---- Vocabularies

std::uint16_t RequestTitleId(int code) {
  // The table keeps "Word", "Mark" and "Spacer" at 1001 to 1003 and "Word Count" at 1004.
  static const std::uint16_t kFirstCodes[] = {1000, 1004, 1001, 1002, 1003};
  return code >= 0 && code <= 4 ? kFirstCodes[code] : std::uint16_t(1000 + code);
}

QString RequestTitle(int code) {
  return LangString(TLangSection::Strings, RequestTitleId(code));
}

QString OrderTitle(int kind) {
  return LangString(TLangSection::Strings, std::uint16_t(1512 + kind));
}

QString LogicTitle(int kind) {
  return LangString(TLangSection::Strings, std::uint16_t(1528 + kind));
}

QString RequisiteTitle(int kind) {
  return LangString(TLangSection::Strings, std::uint16_t(1546 + kind));
}

namespace {
const char16_t* const kSigns[] = {u"=",  u"!=",  u"<",   u"<=",  u">",   u">=",   u"<?",
                                  u"<!", u"?>",  u"!>",  u"<?>", u"<!>", u"='",   u"!'=",
                                  u"<?'", u"<!'", u"?'>", u"!'>", u"<?'>", u"<!'>"};
}

QString SignText(int sign) {
  return sign >= 0 && sign < int(std::size(kSigns)) ? QString::fromUtf16(kSigns[sign]) : QString();
}

int SignFromText(QStringView text) {
  for (int i = 0; i < int(std::size(kSigns)); ++i)
    if (text == QStringView(kSigns[i])) return i;
  return -1;
}

namespace {

constexpr unsigned Bit(quint8 kind) { return 1u << kind; }
constexpr unsigned kBlockContent = Bit(nkOrder) | Bit(nkSelector) | Bit(nkAnswer) | Bit(nkRequisite) | Bit(nkCommand);
constexpr unsigned kTestContent = Bit(nkLogic) | Bit(nkCondition) | Bit(nkCommand);

struct TKindRule {
  unsigned contains;
  quint8 defaultChild;
  quint8 defaultSibling;  // nkRoot: none
};
const TKindRule kRules[NodeKindCount] = {
    {Bit(nkRequest), nkRequest, nkRequest},  // root
    {kBlockContent, nkAnswer, nkAnswer},     // request
    {kBlockContent, nkAnswer, nkAnswer},     // order block
    {Bit(nkCase), nkCase, nkCase},           // selector
    {kBlockContent, nkAnswer, nkAnswer},     // case
    {kTestContent, nkCondition, nkCondition},  // answer
    {kTestContent, nkCondition, nkCondition},  // logic block
    {0, nkRoot, nkRoot},                     // condition
    {kTestContent, nkCondition, nkCondition},  // requisite
    {kTestContent, nkCondition, nkRoot},     // command
};

} // namespace

bool KindCanContain(quint8 parent, quint8 child) {
  return parent < NodeKindCount && child < NodeKindCount && (kRules[parent].contains & Bit(child));
}

quint8 DefaultChildKind(quint8 kind) {
  return kind < NodeKindCount ? kRules[kind].defaultChild : quint8(nkRoot);
}

quint8 DefaultSiblingKind(quint8 kind) {
  return kind < NodeKindCount ? kRules[kind].defaultSibling : quint8(nkRoot);
}

// ---- TDicNode

namespace {

// Sets a node's Updating flag for a scope and restores the previous state.
class TUpdatingGuard {
public:
  explicit TUpdatingGuard(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
  ~TUpdatingGuard() { m_flag = m_previous; }

private:
  bool& m_flag;
  bool m_previous;
};

} // namespace

TDicNode::TDicNode(quint8 kind) : m_kind(kind) {
  CreateValues();
}

TDicNode::~TDicNode() = default;

void TDicNode::CreateValues() {
  m_value1.reset();
  m_value2.reset();
  switch (m_kind) {
  case nkRequest:
  case nkRequisite: m_option = 0; break;
  case nkOrder:
  case nkLogic: m_option = 1; break;
  case nkSelector:
  case nkCommand: m_value1 = std::make_unique<TValue>(vkFunc); break;
  case nkCase:
  case nkAnswer: m_value1 = std::make_unique<TValue>(vkText); break;
  case nkCondition:
    m_value1 = std::make_unique<TValue>(vkFunc);
    m_value2 = std::make_unique<TValue>(vkText);
    m_option = 0;
    break;
  default: break;
  }
  if (m_value1) WireValue(*m_value1, true);
  if (m_value2) WireValue(*m_value2, false);
  UpdateOptions(false);
}

void TDicNode::WireValue(TValue& value, bool first) {
  value.OnChanging = [this, first](TValue&) {
    TDicFile* file = OwningFile();
    if (!file) return;
    const auto& notify = first ? file->OnValue1Changing : file->OnValue2Changing;
    if (notify) notify(*file, *this);
  };
  value.OnChange = [this, first](TValue&) { ValueChanged(first); };
}

void TDicNode::ValueChanged(bool first) {
  if (TDicFile* file = OwningFile()) {
    const auto& notify = first ? file->OnValue1Change : file->OnValue2Change;
    if (notify) notify(*file, *this);
  }
  // The cases of a selector and the second operand of a condition follow the first value.
  if (first && !m_updating && (m_kind == nkSelector || m_kind == nkCondition)) UpdateOptions(true);
}

void TDicNode::Assign(const TDicNode& source) {
  if (&source == this) return;
  TreeChanged();
  m_kind = source.m_kind;
  CreateValues();
  m_option = source.m_option;
  StoreDisabled(source.m_disabled);
  m_hint.AssignFrom(source.m_hint);
  if (m_value1 && source.m_value1) m_value1->Assign(*source.m_value1);
  if (m_value2 && source.m_value2) m_value2->Assign(*source.m_value2);
  ClearChildren();
  for (const auto& child : source.m_children) {
    auto copy = std::make_unique<TDicNode>(nkRoot);
    copy->Assign(*child);
    Add(std::move(copy));
  }
}

TDicFile* TDicNode::OwningFile() const {
  const TDicNode* n = this;
  while (n->m_parent) n = n->m_parent;
  return n->m_file;
}

int TDicNode::IndexOf(const TDicNode* child) const {
  for (int i = 0; i < Count(); ++i)
    if (m_children[i].get() == child) return i;
  return -1;
}

int TDicNode::Index() const {
  return m_parent ? m_parent->IndexOf(this) : -1;
}

void TDicNode::SetOption(quint8 option) {
  if (option == m_option) return;
  if (TDicFile* file = OwningFile(); file && file->OnOptionChange) file->OnOptionChange(*file, *this, option);
  m_option = option;
  TreeChanged();
}

void TDicNode::SetDisabled(bool disabled) {
  if (disabled == m_disabled) return;
  if (TDicFile* file = OwningFile(); file && file->OnDisabledChange) file->OnDisabledChange(*file, *this, disabled);
  StoreDisabled(disabled);
}

void TDicNode::StoreDisabled(bool disabled) {
  if (disabled == m_disabled) return;
  m_disabled = disabled;
  if (m_parent) m_parent->m_enabledCount += disabled ? -1 : 1;
  TreeChanged();
}

void TDicNode::SetHint(const TLangStr& hint) {
  if (m_hint.SameAs(hint)) return;
  if (TDicFile* file = OwningFile(); file && file->OnHintChange) file->OnHintChange(*file, *this, hint);
  m_hint.AssignFrom(hint);
}

void TDicNode::SetOptionAndUpdate(quint8 option, bool recursive) {
  SetOption(option);
  UpdateOptions(recursive);
}

TDicNode* TDicNode::Insert(int index, std::unique_ptr<TDicNode> node) {
  if (!node || !CanContain(node->m_kind)) return nullptr;
  index = std::clamp(index, 0, Count());
  TDicNode* kept = node.get();
  kept->m_parent = this;
  m_children.insert(m_children.begin() + index, std::move(node));
  if (!kept->m_disabled) ++m_enabledCount;
  TreeChanged();
  TDicFile* file = OwningFile();
  if (file) {
    kept->RelinkLinks(file->Links());
    if (kept->m_kind == nkRequest) file->RecordRequest(kept->m_option);
  }
  kept->UpdateOptions(true);
  if (file && file->OnNodeInsert) file->OnNodeInsert(*file, *kept);
  return kept;
}

void TDicNode::Remove(TDicNode* child) {
  const int index = IndexOf(child);
  if (index < 0) return;
  TDicFile* file = OwningFile();
  std::unique_ptr<TDicNode>* slot = nullptr;
  if (file && file->OnNodeDelete) slot = file->OnNodeDelete(*file, *child);
  std::unique_ptr<TDicNode> taken = std::move(m_children[index]);
  m_children.erase(m_children.begin() + index);
  if (!taken->m_disabled) --m_enabledCount;
  TreeChanged();
  taken->m_parent = nullptr;
  if (slot) *slot = std::move(taken);
}

void TDicNode::ClearChildren() {
  m_children.clear();
  m_enabledCount = 0;
  TreeChanged();
}

std::vector<TDicNode*> TDicNode::EnabledChildren() const {
  std::vector<TDicNode*> result;
  for (const auto& c : m_children)
    if (!c->m_disabled) result.push_back(c.get());
  return result;
}

std::vector<TDicNode*> TDicNode::EnabledRequests(quint8 code) const {
  std::vector<TDicNode*> result;
  for (const auto& c : m_children)
    if (!c->m_disabled && c->m_kind == nkRequest && c->m_option == code) result.push_back(c.get());
  return result;
}

quint8 TDicNode::NearestRequestCode() const {
  for (const TDicNode* n = this; n; n = n->m_parent)
    if (n->m_kind == nkRequest) return n->m_option;
  return 0;
}

TValue* TDicNode::NearestSelectorValue() const {
  for (const TDicNode* n = this; n; n = n->m_parent)
    if (n->m_kind == nkSelector) return n->m_value1.get();
  return nullptr;
}

TValue* TDicNode::NearestCaseValue() const {
  for (const TDicNode* n = this; n; n = n->m_parent)
    if (n->m_kind == nkCase) return n->m_value1.get();
  return nullptr;
}

// ---- Editor options of the values

TEditorOptions* TDicNode::VariableOptions(const TValue* ident) const {
  const TDicFile* file = OwningFile();
  if (!ident || ident->Kind() != vkText || !file) return nullptr;
  TEditorOptions* o = file->Info().Variables().OptionsOf(ident->Text());
  return o ? o : StdOptions().eoString.get();
}

// The options a value compared with the call takes; null when nothing changes.
TEditorOptions* TDicNode::OptionsForCall(const TValue& call) const {
  const TStdOptions& s = StdOptions();
  const quint16 id = call.Function()->Id();
  if (id >= 64 && id <= 67) return VariableOptions(call.ArgByName(u"Ident"));
  if (id == 75) {
    const quint8 code = NearestRequestCode();
    return code == 24 ? s.eoMinMax.get() : code == 48 ? s.eoVarIdent.get() : s.eoString.get();
  }
  return call.Function()->ResultOptions();
}

TEditorOptions* TDicNode::AnswerOptions() const {
  const TStdOptions& s = StdOptions();
  switch (NearestRequestCode()) {
  case 1:
  case 17:
  case 26: return s.eoCardinal.get();
  case 5: return s.eoWordSpacer.get();
  case 24:
  case 49: return s.eoNatural.get();
  case 25: return s.eoLengthPosition.get();
  case 40: return s.eoRating.get();
  case 42: return s.eoBoolean.get();
  case 48: {
    const TValue* selector = NearestSelectorValue();
    TEditorOptions* o = nullptr;
    if (selector && selector->Kind() == vkFunc && selector->Function()->Id() == 75)
      o = VariableOptions(NearestCaseValue());
    return o ? o : s.eoString.get();
  }
  default: return s.eoString.get();
  }
}

void TDicNode::UpdateOptions(bool recursive) {
  TUpdatingGuard guard(m_updating);
  const TStdOptions& s = StdOptions();
  switch (m_kind) {
  case nkCase: {
    const TValue* selector = NearestSelectorValue();
    if (!selector) break;
    TEditorOptions* o = selector->Kind() == vkFunc ? OptionsForCall(*selector) : s.eoString.get();
    if (o) m_value1->SetOptions(o);
    break;
  }
  case nkAnswer:
    m_value1->SetOptions(AnswerOptions());
    break;
  case nkCondition: {
    TEditorOptions* o = m_value1->Kind() == vkFunc ? OptionsForCall(*m_value1) : s.eoString.get();
    if (o) m_value2->SetOptions(o);
    if (m_option >= 2 && m_option <= 5) {
      for (TValue* v : {m_value1.get(), m_value2.get()})
        if (v->Options()->Style() != esInteger) v->SetOptions(s.eoInteger.get());
    }
    break;
  }
  default: break;
  }
  if (recursive)
    for (const auto& c : m_children) c->UpdateOptions(true);
}

int TDicNode::ReplaceFunction(const TFunction* oldFunction, TFunction* newFunction) {
  int count = 0;
  if (m_value1) count += m_value1->ReplaceFunction(oldFunction, newFunction);
  if (m_value2) count += m_value2->ReplaceFunction(oldFunction, newFunction);
  for (const auto& c : m_children) count += c->ReplaceFunction(oldFunction, newFunction);
  return count;
}

void TDicNode::RelinkLinks(TLinks& links) {
  if (m_value1) m_value1->RelinkLinks(links);
  if (m_value2) m_value2->RelinkLinks(links);
  for (const auto& c : m_children) c->RelinkLinks(links);
}

void TDicNode::RefreshValues() {
  if (m_value1) m_value1->Refresh();
  if (m_value2) m_value2->Refresh();
  for (const auto& c : m_children) c->RefreshValues();
}

// ---- The node record

void TDicNode::ReadFrom(TStreamReader& stream, const TLinks* links, quint8 formatVersion, TVersion version,
                        int depth) {
  const qint64 start = stream.Position();
  if (depth > MaxNestingDepth) stream.FailAt(start);
  const quint8 kind = stream.ReadU8();
  // Unknown kinds have no known layout; the root of a file is a root record.
  if (kind >= NodeKindCount || (m_file && kind != nkRoot)) stream.FailAt(start);
  m_kind = kind;
  TreeChanged();
  CreateValues();
  // The options are given once the fields are in, below; the values' own change reports
  // need not redo it for every argument read.
  std::optional<TUpdatingGuard> reading(std::in_place, m_updating);
  switch (m_kind) {
  case nkRequest:
  case nkOrder:
  case nkLogic:
  case nkRequisite: m_option = stream.ReadU8(); break;
  case nkSelector:
    m_value1->ReadFrom(stream, links);
    if (CompareVersion(version, {2, 0}) >= 0) m_option = stream.ReadU8();
    break;
  case nkCase:
  case nkAnswer:
  case nkCommand: m_value1->ReadFrom(stream, links); break;
  case nkCondition:
    m_value1->ReadFrom(stream, links);
    m_option = stream.ReadU8();
    m_value2->ReadFrom(stream, links);
    break;
  default: break;
  }
  if (m_kind != nkRoot) {
    m_disabled = stream.ReadU8() != 0;
    ReadLangStr(stream, formatVersion, m_hint);
  }
  reading.reset();
  if (m_kind != nkCondition) {
    if (stream.AtEnd()) stream.Fail();
    const int count = stream.ReadU16();
    stream.CheckCount(count, 3);  // the smallest record: a kind byte and a child count
    m_children.reserve(m_children.size() + size_t(count));
    for (int i = 0; i < count; ++i) {
      auto child = std::make_unique<TDicNode>(nkRoot);
      child->ReadFrom(stream, links, formatVersion, version, depth + 1);
      Add(std::move(child));  // a child this node may not contain is dropped
    }
  }
  UpdateOptions(false);
}

void TDicNode::WriteTo(TStreamWriter& stream) const {
  stream.WriteU8(m_kind);
  switch (m_kind) {
  case nkRequest:
  case nkOrder:
  case nkLogic:
  case nkRequisite: stream.WriteU8(m_option); break;
  case nkSelector:
    m_value1->WriteTo(stream);
    stream.WriteU8(m_option);
    break;
  case nkCase:
  case nkAnswer:
  case nkCommand: m_value1->WriteTo(stream); break;
  case nkCondition:
    m_value1->WriteTo(stream);
    stream.WriteU8(m_option);
    m_value2->WriteTo(stream);
    break;
  default: break;
  }
  if (m_kind != nkRoot) {
    stream.WriteU8(m_disabled ? 1 : 0);
    m_hint.WriteTo(stream);
  }
  if (m_kind != nkCondition) {
    const int count = std::min(Count(), 0xFFFF);
    stream.WriteU16(quint16(count));
    for (int i = 0; i < count; ++i) m_children[i]->WriteTo(stream);
  }
}

QString NodeText(const TDicNode& node) {
  switch (node.Kind()) {
  case nkRequest: return RequestTitle(node.Option());
  case nkOrder: return OrderTitle(node.Option());
  case nkSelector:
  case nkCase:
  case nkAnswer: return ShownForm(*node.Value1());
  case nkLogic: return LogicTitle(node.Option());
  case nkCondition:
    return ShownForm(*node.Value1()) + u' ' + SignText(node.Option()) + u' ' + ShownForm(*node.Value2());
  default: return {};
  }
}

} // namespace gs
