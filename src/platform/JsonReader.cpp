#include "platform/JsonReader.h"

#include <cmath>

namespace gs {

const TJsonValue* TJsonValue::Find(QStringView name) const {
  for (const TMember& m : m_members)
    if (m.first == name) return &m.second;
  return nullptr;
}

TJsonValue TJsonValue::MakeBool(bool v) {
  TJsonValue j(jtBool);
  j.m_bool = v;
  return j;
}

TJsonValue TJsonValue::MakeNumber(double v) {
  TJsonValue j(jtNumber);
  j.m_number = v;
  return j;
}

TJsonValue TJsonValue::MakeString(QString v) {
  TJsonValue j(jtString);
  j.m_string = std::move(v);
  return j;
}

TJsonValue TJsonValue::MakeArray(std::vector<TJsonValue> items) {
  TJsonValue j(jtArray);
  j.m_array = std::move(items);
  return j;
}

TJsonValue TJsonValue::MakeObject(std::vector<TMember> members) {
  TJsonValue j(jtObject);
  j.m_members = std::move(members);
  return j;
}

namespace {

class TParser {
public:
  TParser(QStringView text, int maxDepth) : m_text(text), m_maxDepth(maxDepth) {}

  TJsonValue Document() {
    SkipBlanks();
    TJsonValue v = Value(0);
    SkipBlanks();
    if (m_pos < m_text.size()) Fail(QStringLiteral("unexpected text after the document"));
    return v;
  }

private:
  [[noreturn]] void Fail(const QString& message) const {
    int line = 1, column = 1;
    for (qsizetype i = 0; i < m_pos && i < m_text.size(); ++i) {
      if (m_text[i] == u'\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    throw EJsonSyntax(message, line, column);
  }

  void SkipBlanks() {
    while (m_pos < m_text.size()) {
      const QChar c = m_text[m_pos];
      if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') break;
      ++m_pos;
    }
  }

  QChar Peek() const { return m_pos < m_text.size() ? m_text[m_pos] : QChar(); }

  void Expect(char16_t c) {
    if (Peek() != c) Fail(QStringLiteral("expected \"%1\"").arg(QChar(c)));
    ++m_pos;
  }

  bool Word(QStringView word) {
    if (m_text.sliced(m_pos).startsWith(word)) {
      m_pos += word.size();
      return true;
    }
    return false;
  }

  TJsonValue Value(int depth) {
    if (depth > m_maxDepth) Fail(QStringLiteral("the document is nested too deeply"));
    const QChar c = Peek();
    if (c == u'{') return Object(depth);
    if (c == u'[') return Array(depth);
    if (c == u'"') return TJsonValue::MakeString(String());
    if (c == u'-' || (c >= u'0' && c <= u'9')) return Number();
    if (Word(u"true")) return TJsonValue::MakeBool(true);
    if (Word(u"false")) return TJsonValue::MakeBool(false);
    if (Word(u"null")) return TJsonValue::MakeNull();
    Fail(m_pos >= m_text.size() ? QStringLiteral("unexpected end of the document") : QStringLiteral("unexpected character"));
  }

  TJsonValue Object(int depth) {
    Expect(u'{');
    std::vector<TJsonValue::TMember> members;
    SkipBlanks();
    if (Peek() == u'}') {
      ++m_pos;
      return TJsonValue::MakeObject(std::move(members));
    }
    for (;;) {
      SkipBlanks();
      if (Peek() != u'"') Fail(QStringLiteral("expected a member name"));
      QString name = String();
      SkipBlanks();
      Expect(u':');
      SkipBlanks();
      TJsonValue v = Value(depth + 1);
      members.emplace_back(std::move(name), std::move(v));
      SkipBlanks();
      if (Peek() == u',') {
        ++m_pos;
        continue;
      }
      Expect(u'}');
      return TJsonValue::MakeObject(std::move(members));
    }
  }

  TJsonValue Array(int depth) {
    Expect(u'[');
    std::vector<TJsonValue> items;
    SkipBlanks();
    if (Peek() == u']') {
      ++m_pos;
      return TJsonValue::MakeArray(std::move(items));
    }
    for (;;) {
      SkipBlanks();
      items.push_back(Value(depth + 1));
      SkipBlanks();
      if (Peek() == u',') {
        ++m_pos;
        continue;
      }
      Expect(u']');
      return TJsonValue::MakeArray(std::move(items));
    }
  }

  int Hex4() {
    if (m_pos + 4 > m_text.size()) Fail(QStringLiteral("incomplete escape"));
    bool ok = false;
    const int v = m_text.sliced(m_pos, 4).toString().toInt(&ok, 16);
    if (!ok) Fail(QStringLiteral("bad escape"));
    m_pos += 4;
    return v;
  }

  QString String() {
    Expect(u'"');
    QString out;
    for (;;) {
      if (m_pos >= m_text.size()) Fail(QStringLiteral("unterminated string"));
      const QChar c = m_text[m_pos++];
      if (c == u'"') return out;
      if (c.unicode() < 0x20) Fail(QStringLiteral("control character in a string"));
      if (c != u'\\') {
        out += c;
        continue;
      }
      if (m_pos >= m_text.size()) Fail(QStringLiteral("unterminated string"));
      const QChar e = m_text[m_pos++];
      switch (e.unicode()) {
      case u'"': out += u'"'; break;
      case u'\\': out += u'\\'; break;
      case u'/': out += u'/'; break;
      case u'b': out += u'\b'; break;
      case u'f': out += u'\f'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      case u'u': out += QChar(char16_t(Hex4())); break;  // lone surrogates are kept as written
      default: Fail(QStringLiteral("bad escape"));
      }
    }
  }

  TJsonValue Number() {
    const qsizetype start = m_pos;
    if (Peek() == u'-') ++m_pos;
    const auto digits = [&] {
      const qsizetype from = m_pos;
      while (Peek() >= u'0' && Peek() <= u'9') ++m_pos;
      return m_pos > from;
    };
    if (!digits()) Fail(QStringLiteral("bad number"));
    if (Peek() == u'.') {
      ++m_pos;
      if (!digits()) Fail(QStringLiteral("bad number"));
    }
    if (Peek() == u'e' || Peek() == u'E') {
      ++m_pos;
      if (Peek() == u'+' || Peek() == u'-') ++m_pos;
      if (!digits()) Fail(QStringLiteral("bad number"));
    }
    bool ok = false;
    const double v = m_text.sliced(start, m_pos - start).toString().toDouble(&ok);
    if (!ok || !std::isfinite(v)) Fail(QStringLiteral("bad number"));
    return TJsonValue::MakeNumber(v);
  }

  QStringView m_text;
  qsizetype m_pos = 0;
  int m_maxDepth;
};

} // namespace

TJsonValue ParseJson(QStringView text, int maxDepth) {
  return TParser(text, maxDepth).Document();
}

} // namespace gs
