// TInfo: the common header of every document (signature, layout version, structure version,
// GUID, icon, title, hint, author, URL). Descendants add the fields of their kind.
#pragma once

#include "formats/LangStr.h"
#include "formats/Stream.h"
#include "formats/Version.h"
#include "platform/Guid.h"

#include <functional>

namespace gs {

class TIniFileEx;

class TInfo {
public:
  using TNotify = std::function<void(TInfo&)>;

  explicit TInfo(bool noVersionCheck = false);
  virtual ~TInfo() = default;
  TInfo(const TInfo&) = delete;
  TInfo& operator=(const TInfo&) = delete;

  // Copies every field but FormatVersion and NoVersionCheck, then AssignExtra; notifies.
  void Assign(const TInfo& source);
  virtual void AssignExtra(const TInfo& source);
  virtual TSignature GetSignature() const;
  virtual TVersion GetVersion() const;
  // Reads (writes) the header; descendants call this first and then read their own fields.
  virtual void ReadFromStream(TStreamReader& stream, const QString& baseFolder);
  virtual void WriteToStream(TStreamWriter& stream, const QString& baseFolder) const;

  // Reads the metadata of a file: the header of a document, or its Info.ini entry.
  void LoadHeader(const QString& fileName);
  // Applies the sections of Info.ini whose masks match fileName; notifies nobody.
  void ReadInfoIni(const TIniFileEx& ini, const QString& fileName);
  void NewGuid();

  const TSignature& Signature() const { return m_signature; }
  std::uint8_t FormatVersion() const { return m_formatVersion; }
  TVersion Version() const { return m_version; }
  const TGuid& Guid() const { return m_guid; }
  void SetGuid(const TGuid& guid) { m_guid = guid; }
  const QString& Icon() const { return m_icon; }
  void SetIcon(const QString& icon) { m_icon = icon; }
  TLangStr& Title() { return m_title; }
  const TLangStr& Title() const { return m_title; }
  TLangStr& Hint() { return m_hint; }
  const TLangStr& Hint() const { return m_hint; }
  const QString& Author() const { return m_author; }
  void SetAuthor(const QString& text);
  const QString& URL() const { return m_url; }
  void SetURL(const QString& text);
  bool NoVersionCheck() const { return m_noVersionCheck; }

  TNotify OnChanging;
  TNotify OnChange;

protected:
  void Changing() { if (OnChanging) OnChanging(*this); }
  void Changed() { if (OnChange) OnChange(*this); }

private:
  TSignature m_signature{};
  std::uint8_t m_formatVersion = 2;
  TVersion m_version{};
  TGuid m_guid{};
  QString m_icon;
  TLangStr m_title;
  TLangStr m_hint;
  QString m_author;
  QString m_url;
  bool m_noVersionCheck;
};

// The signature's three bytes as Latin-1 characters.
QString SignatureText(const TSignature& signature);

} // namespace gs
