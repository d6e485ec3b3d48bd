// Links: other dictionaries called as functions, with their parameters as arguments.
#pragma once

#include "formats/Stream.h"
#include "formats/Version.h"
#include "model/Functions.h"
#include "platform/FileTimes.h"

#include <functional>

namespace gs {

class TDicFile;

class TLink : public TFunction {
public:
  using TNotify = std::function<void(TLink&)>;
  TLink();

  // Link parameters own copies of their options.
  void AddParam(const QString& name, TEditorOptions* options, const TLangStr& title) override;
  using TFunction::AddParam;
  void Assign(const TFunction& source) override;

  const QString& FileName() const { return m_fileName; }
  void SetFileName(const QString& name);
  TDateTime Date() const { return m_date; }
  void SetDate(TDateTime date) { m_date = date; }
  bool Caching() const { return m_caching; }
  void SetCaching(bool caching);

  // Re-reads title and parameters from the linked dictionary; its errors pass to the caller.
  void Refresh();

  void ReadFrom(TStreamReader& stream, const QString& baseFolder, TVersion version, quint8 formatVersion);
  void WriteTo(TStreamWriter& stream, const QString& baseFolder) const;

  TNotify OnChanging;
  TNotify OnChange;

private:
  void Changing() { if (OnChanging) OnChanging(*this); }
  void Changed() { if (OnChange) OnChange(*this); }

  QString m_fileName;
  TDateTime m_date = 0;
  bool m_caching = false;
};

// The links of one dictionary. Ids are 256 + the position after every save.
class TLinks : public TFuncList {
public:
  using TNotify = std::function<void(TLinks&, TLink&)>;
  // Receives a deleted link; without a subscriber it is destroyed.
  using TDeleteNotify = std::function<void(TLinks&, std::unique_ptr<TLink>)>;

  explicit TLinks(TDicFile* file) : m_file(file) {}  // not owned

  // Keeps the link, or merges it into the existing link to the same file (which takes the
  // incoming data when that is newer). Returns the link kept.
  TLink* Add(std::unique_ptr<TLink> link);
  // Takes the link out, replaces its uses in the tree by the default function, and hands it
  // to OnDelete.
  void Delete(TLink* link);
  TLink* FindByFile(const QString& fileName) const;
  TLink* Link(int index) const { return static_cast<TLink*>(Item(index)); }
  TLink* GetLink(quint16 id) const { return static_cast<TLink*>(Get(id)); }
  bool Contains(const TLink* link) const { return IndexOf(link) >= 0; }
  TDicFile* File() const { return m_file; }

  void ReadFrom(TStreamReader& stream, const QString& baseFolder, TVersion version, quint8 formatVersion);
  // Renumbers the links 256, 257, ... and writes them.
  void WriteTo(TStreamWriter& stream, const QString& baseFolder);
  void Renumber();

  TNotify OnAdd;
  TNotify OnLinkChange;
  TNotify OnLinkChanging;
  TDeleteNotify OnDelete;

private:
  TFunction* Add(std::unique_ptr<TFunction> function) override;
  void LinkChanged(TLink& link);

  TDicFile* m_file;
};

} // namespace gs
