// Test fixtures: dictionary bytes as older versions of the program wrote them, and as it saves them now.
#pragma once

#include "model/DicFiles.h"

namespace gs {

// Writes a dictionary the way the program wrote it in format version fv and version v:
// one fixed variable, one link with a parameter, and a request whose selector calls the link.
class TOldDictionary {
public:
  TOldDictionary(quint8 fv, TVersion v) : m_fv(fv), m_v(v) {}

  QByteArray Bytes() {
    Header();
    w.WriteU8(0);  // Blocked
    Variables();
    if (Before(2, 1)) {
      w.WriteWideText(u"-");
      w.WriteWideText(u" ");
      w.WriteU8(1);
      w.WriteU16(7);
      w.WriteWideText(u"discarded");
    }
    Links();
    Root();
    return w.Bytes();
  }

private:
  bool Before(int major, int minor) const { return CompareVersion(m_v, {quint8(major), quint8(minor)}) < 0; }
  void Lang(const char16_t* text) {
    if (m_fv < 2) {
      w.WriteWideText(text);
      return;
    }
    TLangStr s;
    s.SetEnglishText(QString::fromUtf16(text));
    s.WriteTo(w);
  }
  void Header() {
    w.WriteBytes("QDX");
    w.WriteU8(m_fv);
    w.WriteU8(m_v.major);
    w.WriteU8(m_v.minor);
    for (int i = 0; i < 16; ++i) w.WriteU8(quint8(i + 1));
    if (m_fv >= 2) w.WriteWideText(u"");
    Lang(u"Old names");
    Lang(u"A hint");
    w.WriteWideText(u"Author");
    w.WriteShortAnsi(u"http://example.org");
  }
  void Variables() {
    w.WriteU8(1);
    w.WriteShortAnsi(u"race");
    Lang(u"Race");
    Lang(u"elf");
    w.WriteWideText(u"elf\r\ndwarf\r\n");
    w.WriteU8(1);
    if (!Before(1, 1)) Lang(u"Elf\r\nDwarf");
    Lang(u"The race");
    if (!Before(2, 2)) w.WriteU8(0);
  }
  void Links() {
    w.WriteU16(1);
    w.WriteU16(300);
    Lang(u"Other");
    w.WriteWideText(u"sub\\other.qdx");
    w.WriteDouble(1.5);
    if (!Before(1, 1)) w.WriteU8(1);
    w.WriteU8(1);
    w.WriteShortAnsi(u"p");
    Lang(u"P");
    Lang(u"3");
    w.WriteWideText(u"");
    w.WriteU8(0);
    w.WriteU8(esInteger);
    w.WriteI32(1);
    w.WriteI32(9);
  }
  void NodeEnd(int children) {
    w.WriteU8(0);
    Lang(u"");
    if (children >= 0) w.WriteU16(quint16(children));
  }
  void Root() {
    w.WriteU8(nkRoot);
    w.WriteU16(1);
    w.WriteU8(nkRequest);
    w.WriteU8(0);
    NodeEnd(1);
    w.WriteU8(nkSelector);
    w.WriteU8(vkFunc);
    w.WriteU16(300);
    w.WriteU8(1);
    w.WriteShortAnsi(u"p");
    w.WriteU8(vkText);
    w.WriteWideText(u"4");
    if (!Before(2, 0)) w.WriteU8(12);
    NodeEnd(1);
    w.WriteU8(nkCase);
    w.WriteU8(vkText);
    w.WriteWideText(u"x");
    NodeEnd(1);
    w.WriteU8(nkAnswer);
    w.WriteU8(vkText);
    w.WriteWideText(u"Ael");
    NodeEnd(1);
    w.WriteU8(nkCondition);
    w.WriteU8(vkFunc);
    w.WriteU16(74);
    w.WriteU8(0);
    w.WriteU8(10);
    w.WriteU8(vkText);
    w.WriteWideText(u"a");
    NodeEnd(-1);
  }

  quint8 m_fv;
  TVersion m_v;
  TStreamWriter w;
};

// The bytes of a dictionary as it saves itself.
inline QByteArray Saved(const TDicFile& dic, const QString& folder = QStringLiteral("/dics/")) {
  TStreamWriter w;
  dic.SaveToStream(w, folder);
  return w.Bytes();
}

} // namespace gs
