#include "platform/Text.h"

#include <QLocale>
#include <algorithm>

namespace gs {

QString UpperCase(QStringView text) {
  // ASCII, the bulk of list lines, needs no locale.
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 128;
  if (!ascii) return QLocale().toUpper(text.toString());
  QString upper = text.toString();
  for (QChar& c : upper)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 32);
  return upper;
}

QString LowerCase(QStringView text) {
  return QLocale().toLower(text.toString());
}

bool SameText(QStringView a, QStringView b) {
  // Qt folds case one UTF-16 unit at a time, so texts of other lengths never match.
  if (a.size() != b.size()) return false;
  // ASCII letters fold by one bit; the first other character hands over to Qt's folding.
  for (qsizetype i = 0; i < a.size(); ++i) {
    const char16_t x = a[i].unicode(), y = b[i].unicode();
    if (x == y) continue;
    if ((x | y) >= 0x80) return a.sliced(i).compare(b.sliced(i), Qt::CaseInsensitive) == 0;
    const char16_t lx = x | 0x20;
    if (lx != (y | 0x20) || lx < u'a' || lx > u'z') return false;
  }
  return true;
}

int CompareText(QStringView a, QStringView b) {
  return a.compare(b, Qt::CaseInsensitive);
}

std::optional<qint32> StrToIntOpt(QStringView text) {
  // Short plain decimals, by far the most common, need no more than this.
  if (!text.isEmpty() && text.size() <= 9) {
    qint32 value = 0;
    bool plain = true;
    for (QChar c : text) {
      const char16_t u = c.unicode();
      if (u < u'0' || u > u'9') {
        plain = false;
        break;
      }
      value = value * 10 + (u - u'0');
    }
    if (plain) return value;
  }
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int base = 10;
  if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= n) return std::nullopt;
  qint64 value = 0;
  for (; i < n; ++i) {
    const char16_t ch = text[i].unicode();
    int digit;
    if (ch >= u'0' && ch <= u'9') digit = ch - u'0';
    else if (base == 16 && ch >= u'a' && ch <= u'f') digit = ch - u'a' + 10;
    else if (base == 16 && ch >= u'A' && ch <= u'F') digit = ch - u'A' + 10;
    else return std::nullopt;
    value = value * base + digit;
    if (value > qint64(1) << 32) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal denotes the 32-bit pattern: $FFFFFFFF is -1.
    if (value > 0xFFFFFFFFLL) return std::nullopt;
    qint32 bits = static_cast<qint32>(static_cast<quint32>(value));
    return negative ? static_cast<qint32>(0u - static_cast<quint32>(bits)) : bits;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<qint32>(value);
}

qint32 StrToIntDef(QStringView text, qint32 fallback) {
  return StrToIntOpt(text).value_or(fallback);
}

QStringList SplitLines(QStringView text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    if (ch != u'\r' && ch != u'\n') continue;
    lines.append(text.sliced(start, i - start).toString());
    if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.sliced(start).toString());
  return lines;
}

QStringView UpToNul(QStringView text) {
  // Most texts written are short: a plain scan beats the library's vectorised search there.
  if (text.size() > 64) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.first(nul);
  }
  const QChar* nul = std::find(text.begin(), text.end(), QChar(0));
  return text.first(nul - text.begin());
}

} // namespace gs
