#include "platform/JsonWriter.h"

#include <cmath>

namespace gs {

QString JsonQuote(QStringView text) {
  QString out;
  out.reserve(text.size() + 2);
  out += u'"';
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch.isSurrogate()) {
      // A lone surrogate cannot pass through UTF-8: write it as an escape.
      const bool pair = ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
      if (pair) {
        out += ch;
        out += text[++i];
      } else {
        out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QChar(u'0'));
      }
      continue;
    }
    switch (ch.unicode()) {
    case u'"': out += QStringLiteral("\\\""); break;
    case u'\\': out += QStringLiteral("\\\\"); break;
    case u'\n': out += QStringLiteral("\\n"); break;
    case u'\r': out += QStringLiteral("\\r"); break;
    case u'\t': out += QStringLiteral("\\t"); break;
    case u'\b': out += QStringLiteral("\\b"); break;
    case u'\f': out += QStringLiteral("\\f"); break;
    default:
      if (ch.unicode() < 0x20)
        out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QChar(u'0'));
      else
        out += ch;
    }
  }
  out += u'"';
  return out;
}

void TJsonWriter::NewLine() {
  m_text += u'\n';
  m_text += QString(m_levels.size() * 2, u' ');
}

void TJsonWriter::BeforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (m_levels.empty()) return;
  TLevel& level = m_levels.back();
  if (!level.empty) m_text += u',';
  level.empty = false;
  NewLine();
}

void TJsonWriter::Key(QStringView name) {
  TLevel& level = m_levels.back();
  if (!level.empty) m_text += u',';
  level.empty = false;
  NewLine();
  m_text += JsonQuote(name);
  m_text += QStringLiteral(": ");
  m_afterKey = true;
}

void TJsonWriter::BeginObject() {
  BeforeValue();
  m_text += u'{';
  m_levels.push_back({false, true});
}

void TJsonWriter::BeginArray() {
  BeforeValue();
  m_text += u'[';
  m_levels.push_back({true, true});
}

void TJsonWriter::Close(char16_t bracket) {
  const bool empty = m_levels.back().empty;
  m_levels.pop_back();
  if (!empty) NewLine();
  m_text += QChar(bracket);
}

void TJsonWriter::EndObject() { Close(u'}'); }
void TJsonWriter::EndArray() { Close(u']'); }

void TJsonWriter::String(QStringView text) {
  BeforeValue();
  m_text += JsonQuote(text);
}

void TJsonWriter::Integer(qint64 value) {
  BeforeValue();
  m_text += QString::number(value);
}

void TJsonWriter::Number(double value) {
  BeforeValue();
  if (!std::isfinite(value)) m_text += QStringLiteral("null");
  else m_text += QString::number(value, 'g', 17);
}

void TJsonWriter::Bool(bool value) {
  BeforeValue();
  m_text += value ? u"true" : u"false";
}

void TJsonWriter::Null() {
  BeforeValue();
  m_text += QStringLiteral("null");
}

} // namespace gs
