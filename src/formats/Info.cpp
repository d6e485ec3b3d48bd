#include "formats/Info.h"

#include "formats/FileFunctions.h"
#include "platform/CodePage.h"
#include "platform/Masks.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "shell/IniFilesEx.h"

#include <QFile>
#include <QFileInfo>

namespace gs {

QString SignatureText(const TSignature& signature) {
  return QString::fromLatin1(reinterpret_cast<const char*>(signature.data()), 3);
}

TInfo::TInfo(bool noVersionCheck) : m_noVersionCheck(noVersionCheck) {
  NewGuid();
}

void TInfo::NewGuid() {
  m_guid = gs::NewGuid();
}

void TInfo::Assign(const TInfo& source) {
  if (&source == this) return;
  Changing();
  m_signature = source.m_signature;
  m_version = source.m_version;
  m_guid = source.m_guid;
  m_icon = source.m_icon;
  m_title.AssignFrom(source.m_title);
  m_hint.AssignFrom(source.m_hint);
  m_author = source.m_author;
  m_url = source.m_url;
  AssignExtra(source);
  Changed();
}

void TInfo::AssignExtra(const TInfo&) {}

TSignature TInfo::GetSignature() const {
  return {0, 0, 0};
}

TVersion TInfo::GetVersion() const {
  return {1, 0};
}

void TInfo::ReadFromStream(TStreamReader& stream, const QString& baseFolder) {
  const TSignature expected = GetSignature();
  stream.ReadInto(m_signature.data(), 3);
  if (expected[0] != 0 && m_signature != expected) throw EWrongFormat(expected);
  // The generic reader has no kind of its own: its version failures name the kind it read,
  // so that the message can say which kind of file is too new.
  const TSignature reported = expected[0] != 0 ? expected : m_signature;
  m_formatVersion = stream.ReadU8();
  if (m_formatVersion > 2) throw EWrongVersion(reported);
  m_version.major = stream.ReadU8();
  m_version.minor = stream.ReadU8();
  if (!m_noVersionCheck && CompareVersion(m_version, GetVersion()) > 0) throw EWrongVersion(reported);
  stream.ReadInto(m_guid.data(), 16);
  if (m_formatVersion < 2) {
    m_title.SetEnglishText(stream.ReadWideText());
    m_hint.SetEnglishText(stream.ReadWideText());
  } else {
    m_icon = ExpandRelative(baseFolder, stream.ReadWideText());
    m_title.ReadFrom(stream);
    m_hint.ReadFrom(stream);
  }
  m_author = stream.ReadWideText();
  m_url = stream.ReadShortAnsi();
}

void TInfo::WriteToStream(TStreamWriter& stream, const QString& baseFolder) const {
  const TSignature signature = GetSignature();
  stream.WriteBytes(QByteArrayView(reinterpret_cast<const char*>(signature.data()), 3));
  stream.WriteU8(2);
  const TVersion version = GetVersion();
  stream.WriteU8(version.major);
  stream.WriteU8(version.minor);
  stream.WriteBytes(QByteArrayView(reinterpret_cast<const char*>(m_guid.data()), 16));
  stream.WriteWideText(MakeRelative(baseFolder, m_icon));
  m_title.WriteTo(stream);
  m_hint.WriteTo(stream);
  stream.WriteWideText(m_author);
  stream.WriteShortAnsi(m_url);
}

void TInfo::SetAuthor(const QString& text) {
  if (text == m_author) return;
  Changing();
  m_author = text;
  Changed();
}

void TInfo::SetURL(const QString& text) {
  if (text == m_url) return;
  Changing();
  m_url = text;
  Changed();
}

void TInfo::LoadHeader(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) throw EWrongFileName(fileName);
  if (FileKindOf(fileName) != ftNone) {
    const TFileBytes bytes(fileName);
    TStreamReader stream(bytes.View());
    ReadFromStream(stream, ExtractFileDir(fileName));
    return;
  }
  const QString iniName = ExtractFileDir(fileName) + QStringLiteral("Info.ini");
  if (!QFileInfo(iniName).isFile()) return;
  TIniFileEx ini(iniName, TTextEncoding::Utf8, true, false);
  ini.Load();
  ReadInfoIni(ini, fileName);
}

void TInfo::ReadInfoIni(const TIniFileEx& ini, const QString& fileName) {
  const QString name = ExtractFileName(fileName);
  for (const QString& section : ini.Sections()) {
    if (!MatchesMask(name, section)) continue;
    for (const auto& [rawKey, value] : ini.SectionValues(section)) {
      QString key = rawKey;
      quint16 lang = EnglishLangID;
      const qsizetype dot = key.indexOf(u'.');
      if (dot >= 0) {
        const auto id = StrToIntOpt(QStringView(key).sliced(dot + 1));
        if (!id) continue;
        lang = quint16(*id);
        key.truncate(dot);
      }
      if (SameText(key, u"Title")) m_title.SetText(lang, value);
      else if (SameText(key, u"Author")) m_author = value;
      else if (SameText(key, u"URL")) m_url = AnsiRoundTrip(value);
      else if (SameText(key, u"Hint")) m_hint.SetText(lang, value);
      else if (SameText(key, u"Icon")) m_icon = ExpandRelative(fileName, value);
    }
  }
}

} // namespace gs
