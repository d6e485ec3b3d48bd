#include "platform/Masks.h"

namespace gs {
namespace {

QChar Fold(QChar ch) {
  return ch.toCaseFolded();
}

// Tests one character against the set that begins after "[" at mask[pos]. Sets the position
// after the closing "]" in next; returns false in setValid when the set is not closed, and
// the "[" is then an ordinary character.
bool MatchSet(QStringView mask, qsizetype pos, QChar ch, qsizetype& next, bool& setValid) {
  const qsizetype close = mask.indexOf(u']', pos);
  setValid = close >= 0;
  if (!setValid) return false;
  next = close + 1;
  bool negate = pos < close && mask[pos] == u'!';
  if (negate) ++pos;
  const QChar c = Fold(ch);
  bool found = false;
  for (qsizetype i = pos; i < close; ++i) {
    if (i + 2 < close && mask[i + 1] == u'-') {
      const QChar lo = Fold(mask[i]), hi = Fold(mask[i + 2]);
      if (c >= lo && c <= hi) found = true;
      i += 2;
    } else if (Fold(mask[i]) == c) {
      found = true;
    }
  }
  return found != negate;
}

// Matches one character of the name at mask[m]; advances m past the token.
bool MatchToken(QStringView mask, qsizetype& m, QChar ch) {
  const QChar t = mask[m];
  if (t == u'?') {
    ++m;
    return true;
  }
  if (t == u'[') {
    qsizetype next = 0;
    bool valid = false;
    const bool hit = MatchSet(mask, m + 1, ch, next, valid);
    if (valid) {
      m = next;
      return hit;
    }
  }
  ++m;
  return Fold(t) == Fold(ch);
}

} // namespace

bool MatchesMask(QStringView name, QStringView mask) {
  qsizetype n = 0, m = 0;
  qsizetype starMask = -1, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = ++m;
      starName = n;
      continue;
    }
    qsizetype next = m;
    if (m < mask.size() && MatchToken(mask, next, name[n])) {
      m = next;
      ++n;
      continue;
    }
    if (starMask < 0) return false;
    // Let the last "*" take one more character and try again from there.
    m = starMask;
    n = ++starName;
  }
  while (m < mask.size() && mask[m] == u'*') ++m;
  return m == mask.size();
}

} // namespace gs
