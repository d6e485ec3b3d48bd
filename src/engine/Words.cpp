#include "engine/Words.h"

#include "platform/Text.h"

#include <QLocale>
#include <array>
#include <cstring>

namespace gs {

namespace {
const QString& Empty() {
  static const QString empty;
  return empty;
}

// The characters of target when its buffer is its own and has room for n of them (Qt keeps
// room for the terminator beyond that), null when it must be reallocated: QString::resize would
// take a library call for every piece of every word.
inline QChar* Room(QString& target, qsizetype n) {
  QString::DataPointer& d = target.data_ptr();
  if (d.needsDetach() || n > d.size + d.freeSpaceAtEnd()) return nullptr;
  return reinterpret_cast<QChar*>(d.data());
}

// The new length of a target that has Room for it, once its characters are in place.
inline void SetLength(QString& target, qsizetype n) {
  QString::DataPointer& d = target.data_ptr();
  d.size = n;
  d.data()[n] = u'\0';
}

// Empties text, keeping its buffer for the next line.
inline void MakeEmpty(QString& text) {
  if (text.isEmpty()) return;
  if (Room(text, 0)) SetLength(text, 0);
  else text.clear();
}

// Copies text into target's own buffer when that has room; false when it has none.
inline bool CopyInPlace(QString& target, QStringView text) {
  QChar* out = Room(target, text.size());
  if (!out) return false;
  if (!text.isEmpty()) std::memmove(out, text.data(), size_t(text.size()) * sizeof(QChar));  // may overlap
  SetLength(target, text.size());
  return true;
}
} // namespace

void CopyInto(QString& target, const QString& text) {
  if (&target == &text || CopyInPlace(target, text)) return;
  if (!target.isEmpty() || !text.isEmpty()) target = text;  // shares text's buffer
}

void CopyInto(QString& target, QStringView text) {
  if (CopyInPlace(target, text)) return;
  if (!target.isEmpty() || !text.isEmpty()) target = text.toString();
}

void AppendTo(QString& target, const QString& text) {
  const qsizetype at = target.size(), n = text.size();
  if (QChar* out = Room(target, at + n)) {
    std::copy_n(text.constData(), n, out + at);  // text may be target: its characters stay below at
    SetLength(target, at + n);
    return;
  }
  target += text;
}

const QString& TWords::GetWord(int index) const {
  return index > 0 && index < m_count ? m_items[index].Word : Empty();
}

const QString& TWords::GetSpacer(int index) const {
  return index >= 0 && index < m_count ? m_items[index].Spacer : Empty();
}

void TWords::Grow(int index) {
  if (index >= int(m_items.size())) m_items.resize(size_t(index) + 1);
  for (int i = m_count; i <= index; ++i) {
    MakeEmpty(m_items[i].Word);
    MakeEmpty(m_items[i].Spacer);
  }
  m_count = index + 1;
}

void TWords::SetWord(int index, const QString& text) {
  if (index < 0) return;
  if (index >= m_count) Grow(index);
  CopyInto(m_items[index].Word, text);
}

void TWords::SetSpacer(int index, const QString& text) {
  if (index < 0) return;
  if (index >= m_count) Grow(index);
  CopyInto(m_items[index].Spacer, text);
}

QString TWords::Line() const {
  if (m_count == 0) return {};
  if (m_count == 2 && m_items[0].Spacer.isEmpty() && m_items[1].Spacer.isEmpty()) return m_items[1].Word;
  qsizetype size = m_items[0].Spacer.size();
  for (int i = 1; i < m_count; ++i) size += m_items[i].Word.size() + m_items[i].Spacer.size();
  // Measured once and copied in place: appending piece by piece costs more than the copying.
  QString line(size, Qt::Uninitialized);
  QChar* out = line.data();
  const auto put = [&out](const QString& piece) {
    std::copy_n(piece.constData(), piece.size(), out);
    out += piece.size();
  };
  put(m_items[0].Spacer);
  for (int i = 1; i < m_count; ++i) {
    put(m_items[i].Word);
    put(m_items[i].Spacer);
  }
  return line;
}

void TWords::Split(const QString& templ, const TClassify& isSpacer) {
  // Runs of one class are copied out whole when they end, not character by character.
  int i = 0;
  int runStart = 0;
  bool runIsWord = false;
  const int n = int(templ.size());
  const auto flush = [&](int end) {
    if (end <= runStart) return;
    if (i >= m_count) Grow(i);
    (runIsWord ? m_items[i].Word : m_items[i].Spacer) += QStringView(templ).sliced(runStart, end - runStart);
  };
  for (int p = 1; p <= n; ++p) {
    const bool word = !isSpacer(p, templ[p - 1]);
    if (p == 1 || word != runIsWord) {
      flush(p - 1);
      runStart = p - 1;
      runIsWord = word;
      if (word) ++i;  // a new word starts
    }
  }
  flush(n);
}

QString Substring(const QString& text, int start, int count) {
  const QStringView part = SubstringView(text, start, count);
  return part.size() == text.size() ? text : part.toString();
}

QStringView SubstringView(QStringView text, int start, int count) {
  if (start < 1) start = 1;
  if (count < 0 || start > text.size()) return {};
  return text.sliced(start - 1, std::min<qsizetype>(count, text.size() - (start - 1)));
}

int LengthToEnd(int wordLength, int position, const QString& sample) {
  return wordLength - position - int(sample.size()) + 1;
}

QString WordStart(const QString& word, int position) {
  return position > 1 ? word.left(position - 1) : QString();
}

QString WordEnd(const QString& word, int wordLength, int position, const QString& sample) {
  const int n = LengthToEnd(wordLength, position, sample);
  return n > 0 ? word.right(n) : QString();
}

namespace {

struct TSchemeClass {
  const char16_t* letters;
  QChar mark;
};

// Upper-cased once: the tests compare upper-cased characters.
const std::vector<std::pair<QString, QChar>>& SchemeClasses() {
  static const std::vector<std::pair<QString, QChar>> classes = [] {
    const TSchemeClass raw[] = {
        {u"bḃḅḇcċçćḉĉčdḋḍḏḑđḓďfḟgġḡģğĝǧhḣḥḧḩḫħĥjĵkḳḵķḱǩlḷŀḹĺļľłḻḽmṁṃḿnṅṇṉńņŉṋňŋpṗṕqrṙṛṟṝŗŕřsṡṣṩşśșṥṧŝštṫṭṯțţṱťθðvṿwẇẅẉẁẃŵxẋẍzżẓẕźẑžʒǯ",
         u'$'},
        {u"бвгджзйклмнпрстфхцчшщ", u'$'},
        {u"aáâäāæǽəeéêëēiíîïīoóôöōuúûüūyýŷÿ", u'@'},
        {u"аеёиоуыэюя", u'@'},
        {u"ьъ", u'^'},
    };
    std::vector<std::pair<QString, QChar>> result;
    for (const TSchemeClass& c : raw) result.emplace_back(UpperCase(QString::fromUtf16(c.letters)), c.mark);
    return result;
  }();
  return classes;
}

// The marks of the ASCII characters, read from the classes once (0: the character stays): the
// letters of most words need neither upper-casing nor a search.
const std::array<char16_t, 128>& AsciiMarks() {
  static const std::array<char16_t, 128> marks = [] {
    std::array<char16_t, 128> result{};
    for (char16_t c = 0; c < 128; ++c) {
      const QString upper = UpperCase(QStringView(&c, 1));
      for (const auto& [letters, mark] : SchemeClasses()) {
        if (letters.contains(upper.front())) {
          result[c] = mark.unicode();
          break;
        }
      }
    }
    return result;
  }();
  return marks;
}

} // namespace

QString WordScheme(const QString& text) {
  QString scheme = text;
  const auto& classes = SchemeClasses();
  const auto& asciiMarks = AsciiMarks();
  for (qsizetype i = 0; i < scheme.size(); ++i) {
    if (const char16_t c = text[i].unicode(); c < 128) {
      if (asciiMarks[c] != 0) scheme[i] = QChar(asciiMarks[c]);
      continue;
    }
    const QString upper = UpperCase(QStringView(text).sliced(i, 1));
    for (const auto& [letters, mark] : classes) {
      if (upper.size() == 1 && letters.contains(upper.front())) {
        scheme[i] = mark;
        break;
      }
    }
  }
  return scheme;
}

} // namespace gs
