#include "model/Links.h"

#include "model/DicFiles.h"
#include "platform/Paths.h"

namespace gs {

// ---- TLink

TLink::TLink() : TFunction(256, fcLinks, StdOptions().eoString.get()) {}

void TLink::AddParam(const QString& name, TEditorOptions* options, const TLangStr& title) {
  if (IndexOfParam(name) >= 0) return;
  auto param = std::make_unique<TParam>();
  param->name = name;
  param->ownedOptions = std::make_unique<TEditorOptions>();
  if (options) param->ownedOptions->Assign(*options);
  param->options = param->ownedOptions.get();
  param->title.AssignFrom(title);
  AppendParam(std::move(param));
}

void TLink::Assign(const TFunction& source) {
  if (&source == this) return;
  Changing();
  if (const auto* link = dynamic_cast<const TLink*>(&source)) {
    m_date = link->m_date;
    m_fileName = link->m_fileName;
    m_caching = link->m_caching;
  }
  TFunction::Assign(source);
  Changed();
}

void TLink::SetFileName(const QString& name) {
  if (name == m_fileName) return;
  Changing();
  const QString oldBare = FileNameWithoutExt(m_fileName);
  m_fileName = name;
  const QString shown = Title().DisplayText();
  if (shown.isEmpty() || shown == oldBare) Title().SetCurrentText(FileNameWithoutExt(name));
  Changed();
}

void TLink::SetCaching(bool caching) {
  if (caching == m_caching) return;
  Changing();
  m_caching = caching;
  Changed();
}

void TLink::Refresh() {
  TDicInfo info(nullptr);
  info.LoadHeader(m_fileName);
  Changing();
  while (ParamCount() > 0) FreeParam(ParamCount() - 1);
  if (!info.Title().DisplayText().isEmpty()) {
    // A link title may not hold the characters that expressions use around links. They are
    // taken out; correcting the whole text would replace a title such as "Names (elves)" by
    // the empty default.
    const TEditorOptions& ident = *StdOptions().eoLinkIdent;
    Title().AssignFrom(info.Title(), [&](const QString& text) {
      QString kept;
      for (QChar ch : text)
        if (ident.PassesFilter(QStringView(&ch, 1))) kept += ch;
      return kept;
    });
  }
  const TVariables& vars = info.Variables();
  for (int i = 0; i < vars.Count(); ++i) {
    const TVariable& v = vars.Item(i);
    if (v.isParameter) AddParam(v.name, v.options.get(), v.title);
  }
  m_date = FileModified(m_fileName);
  Changed();
}

void TLink::ReadFrom(TStreamReader& stream, const QString& baseFolder, TVersion version, quint8 formatVersion) {
  SetId(stream.ReadU16());
  ReadLangStr(stream, formatVersion, Title());
  m_fileName = ExpandRelative(baseFolder, stream.ReadWideText());
  m_date = stream.ReadDouble();
  m_caching = CompareVersion(version, {1, 1}) >= 0 ? stream.ReadU8() != 0 : false;
  const int count = stream.ReadU8();
  for (int i = 0; i < count; ++i) {
    const QString name = stream.ReadShortAnsi();
    TLangStr title;
    ReadLangStr(stream, formatVersion, title);
    TEditorOptions options;
    options.ReadFrom(stream, formatVersion, version);
    AddParam(name, &options, title);
  }
}

void TLink::WriteTo(TStreamWriter& stream, const QString& baseFolder) const {
  stream.WriteU16(Id());
  Title().WriteTo(stream);
  stream.WriteWideText(MakeRelative(baseFolder, m_fileName));
  stream.WriteDouble(m_date);
  stream.WriteU8(m_caching ? 1 : 0);
  stream.WriteU8(quint8(std::min(ParamCount(), 255)));
  for (int i = 0; i < std::min(ParamCount(), 255); ++i) {
    stream.WriteShortAnsi(ParamName(i));
    Param(i).title.WriteTo(stream);
    ParamOptions(i)->WriteTo(stream);
  }
}

// ---- TLinks

TFunction* TLinks::Add(std::unique_ptr<TFunction> function) {
  auto* link = dynamic_cast<TLink*>(function.get());
  if (!link) return nullptr;  // only links belong here
  function.release();
  return Add(std::unique_ptr<TLink>(link));
}

TLink* TLinks::Add(std::unique_ptr<TLink> link) {
  if (TLink* existing = FindByFile(link->FileName())) {
    if (link->Date() > existing->Date()) existing->Assign(*link);
    return existing;
  }
  TLink* kept = link.get();
  kept->OnChanging = [this](TLink& l) { if (OnLinkChanging) OnLinkChanging(*this, l); };
  kept->OnChange = [this](TLink& l) { LinkChanged(l); };
  TFuncList::Add(std::move(link));
  if (OnAdd) OnAdd(*this, *kept);
  return kept;
}

void TLinks::LinkChanged(TLink& link) {
  if (m_file) m_file->Root().RefreshValues();
  if (OnLinkChange) OnLinkChange(*this, link);
}

void TLinks::Delete(TLink* link) {
  std::unique_ptr<TFunction> taken = Extract(link);
  if (!taken) return;
  link->OnChanging = nullptr;
  link->OnChange = nullptr;
  if (m_file) m_file->Root().ReplaceFunction(link, DefaultFunction());
  std::unique_ptr<TLink> owned(static_cast<TLink*>(taken.release()));
  if (OnDelete) OnDelete(*this, std::move(owned));
}

TLink* TLinks::FindByFile(const QString& fileName) const {
  for (int i = 0; i < Count(); ++i)
    if (SamePath(Link(i)->FileName(), fileName)) return Link(i);
  return nullptr;
}

void TLinks::ReadFrom(TStreamReader& stream, const QString& baseFolder, TVersion version, quint8 formatVersion) {
  Clear();
  const int count = stream.ReadU16();
  // A link record has at least 16 bytes: id, title count, file name count, date, ...
  stream.CheckCount(count, 16);
  for (int i = 0; i < count; ++i) {
    auto link = std::make_unique<TLink>();
    link->ReadFrom(stream, baseFolder, version, formatVersion);
    Add(std::move(link));
  }
}

void TLinks::Renumber() {
  for (int i = 0; i < Count(); ++i) Link(i)->SetId(quint16(256 + i));
}

void TLinks::WriteTo(TStreamWriter& stream, const QString& baseFolder) {
  Renumber();
  stream.WriteU16(quint16(Count()));
  for (int i = 0; i < Count(); ++i) Link(i)->WriteTo(stream, baseFolder);
}

} // namespace gs
