#include "model/DicFiles.h"

namespace gs {

// ---- TDicInfo

TDicInfo::TDicInfo(TDicFile* file, bool noVersionCheck)
    : TInfo(noVersionCheck), m_file(file), m_variables(std::make_unique<TVariables>()) {}

void TDicInfo::SetBlocked(bool blocked) {
  if (blocked == m_blocked) return;
  Changing();
  m_blocked = blocked;
  Changed();
}

void TDicInfo::AssignExtra(const TInfo& source) {
  const auto* dic = dynamic_cast<const TDicInfo*>(&source);
  if (!dic) return;
  m_blocked = dic->m_blocked;
  if (!m_file) {
    m_variables->Assign(*dic->m_variables);
    return;
  }
  // No value may keep the options of a variable that goes: the tree lets go of the old
  // variables before they are destroyed, then takes the options of the new ones.
  std::unique_ptr<TVariables> old = std::move(m_variables);
  m_variables = std::make_unique<TVariables>();
  m_file->Root().UpdateOptions(true);
  m_variables->Assign(*dic->m_variables);
  m_file->Root().UpdateOptions(true);
}

void TDicInfo::ReadFromStream(TStreamReader& stream, const QString& baseFolder) {
  TInfo::ReadFromStream(stream, baseFolder);
  m_blocked = stream.ReadU8() != 0;
  m_variables->ReadFrom(stream, FormatVersion(), Version());
  if (CompareVersion(Version(), {2, 1}) < 0) ReadLegacyFields(stream);
}

// Dictionaries before 2.1 kept the line separation as two texts; they become a "Line
// Separation" request: a spacer wherever the sample contains one of their characters.
void TDicInfo::ReadLegacyFields(TStreamReader& stream) {
  const QString a = stream.ReadWideText();
  const QString b = stream.ReadWideText();
  if (m_file) {
    auto request = std::make_unique<TDicNode>(nkRequest);
    request->SetOption(5);
    TDicNode* answer = request->Add(std::make_unique<TDicNode>(nkAnswer));
    answer->Value1()->SetText(QStringLiteral("Spacer"));
    TDicNode* condition = answer->Add(std::make_unique<TDicNode>(nkCondition));
    condition->Value1()->SetKind(vkText);
    condition->Value1()->SetText(b + a);
    condition->SetOption(10);
    condition->Value2()->SetKind(vkFunc);
    condition->Value2()->SetFunction(StdFuncs().Get(76));
    m_file->Root().Add(std::move(request));
  }
  const int count = stream.ReadU8();
  stream.CheckCount(count, 6);
  for (int i = 0; i < count; ++i) {
    stream.Skip(2);
    stream.ReadWideText();
  }
}

void TDicInfo::WriteToStream(TStreamWriter& stream, const QString& baseFolder) const {
  TInfo::WriteToStream(stream, baseFolder);
  stream.WriteU8(m_blocked ? 1 : 0);
  m_variables->WriteTo(stream);
}

// ---- TDicFile

TDicFile::TDicFile() : m_info(this), m_links(this), m_root(std::make_unique<TDicNode>(nkRoot)) {
  m_root->m_file = this;
}

TDicFile::~TDicFile() {
  // Values refer to links: the tree goes first.
  m_root.reset();
}

void TDicFile::CollectRequestNodes() const {
  for (int code = 0; code <= MaxRecordedRequest; ++code) m_requestNodes[size_t(code)] = m_root->EnabledRequests(quint8(code));
  m_requestNodesAt = TreeRevision();
}

void TDicFile::RecordRequest(int code) {
  if (code >= 0 && code <= MaxRecordedRequest) m_requestSet.set(code);
}

void TDicFile::LoadFromStream(TStreamReader& stream, const QString& baseFolder) {
  m_root->ClearChildren();
  m_info.ReadFromStream(stream, baseFolder);
  m_links.ReadFrom(stream, baseFolder, m_info.Version(), m_info.FormatVersion());
  m_root->ReadFrom(stream, &m_links, m_info.FormatVersion(), m_info.Version());
}

void TDicFile::SaveToStream(TStreamWriter& stream, const QString& baseFolder) const {
  m_info.WriteToStream(stream, baseFolder);
  m_links.WriteTo(stream, baseFolder);
  m_root->WriteTo(stream);
}

} // namespace gs
