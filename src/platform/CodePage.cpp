#include "platform/CodePage.h"

#include <atomic>
#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace gs {
namespace {

// One pair of iconv descriptors for the chosen code page. iconv_t is not safe for concurrent
// use, so every conversion holds the mutex; ASCII never reaches it.
struct TConverter {
  std::mutex mutex;
  int codePage = 0;
  iconv_t toUnicode = reinterpret_cast<iconv_t>(-1);
  iconv_t fromUnicode = reinterpret_cast<iconv_t>(-1);

  ~TConverter() { Close(); }
  void Close() {
    if (toUnicode != reinterpret_cast<iconv_t>(-1)) iconv_close(toUnicode);
    if (fromUnicode != reinterpret_cast<iconv_t>(-1)) iconv_close(fromUnicode);
    toUnicode = fromUnicode = reinterpret_cast<iconv_t>(-1);
  }
};

TConverter& Converter() {
  static TConverter converter;
  return converter;
}

std::atomic<int> g_codePage{0};

bool OpenPair(int codePage, iconv_t& to, iconv_t& from) {
  for (const char* prefix : {"CP", "WINDOWS-"}) {
    const QByteArray name = QByteArray(prefix) + QByteArray::number(codePage);
    to = iconv_open("UTF-16LE", name.constData());
    if (to == reinterpret_cast<iconv_t>(-1)) continue;
    from = iconv_open(name.constData(), "UTF-16LE");
    if (from != reinterpret_cast<iconv_t>(-1)) return true;
    iconv_close(to);
  }
  return false;
}

// Caller holds the mutex.
void EnsureOpen(TConverter& c) {
  if (c.codePage != 0) return;
  if (!OpenPair(DefaultAnsiCodePage, c.toUnicode, c.fromUnicode)) return;
  c.codePage = DefaultAnsiCodePage;
  g_codePage = c.codePage;
}

bool IsAscii(QByteArrayView bytes) {
  for (char ch : bytes)
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  return true;
}

bool IsAscii(QStringView text) {
  for (QChar ch : text)
    if (ch.unicode() >= 0x80) return false;
  return true;
}

} // namespace

bool SetAnsiCodePage(int codePage) {
  TConverter& c = Converter();
  std::lock_guard lock(c.mutex);
  if (codePage == c.codePage) return true;
  iconv_t to, from;
  if (codePage <= 0 || !OpenPair(codePage, to, from)) return false;
  c.Close();
  c.toUnicode = to;
  c.fromUnicode = from;
  c.codePage = codePage;
  g_codePage = codePage;
  return true;
}

int AnsiCodePage() {
  const int cp = g_codePage;
  return cp != 0 ? cp : DefaultAnsiCodePage;
}

QString AnsiToUnicode(QByteArrayView bytes) {
  if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), bytes.size());
  TConverter& c = Converter();
  std::lock_guard lock(c.mutex);
  EnsureOpen(c);
  QString out(bytes.size() * 2, Qt::Uninitialized); // no code page yields more than 2 units a byte
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* dst = reinterpret_cast<char*>(out.data());
  size_t dstLeft = out.size() * sizeof(QChar);
  iconv(c.toUnicode, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(c.toUnicode, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break; // cannot happen with the bound above
    // An undefined or incomplete byte: show it as the replacement character and go on.
    const char16_t replacement = 0xFFFD;
    memcpy(dst, &replacement, 2);
    dst += 2;
    dstLeft -= 2;
    ++in;
    --inLeft;
  }
  out.truncate((dst - reinterpret_cast<char*>(out.data())) / 2);
  return out;
}

QByteArray UnicodeToAnsi(QStringView text) {
  if (IsAscii(text)) {
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) out[i] = static_cast<char>(text[i].unicode());
    return out;
  }
  TConverter& c = Converter();
  std::lock_guard lock(c.mutex);
  EnsureOpen(c);
  QByteArray out(text.size() * 4 + 4, Qt::Uninitialized);
  char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
  size_t inLeft = text.size() * sizeof(QChar);
  char* dst = out.data();
  size_t dstLeft = out.size();
  iconv(c.fromUnicode, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(c.fromUnicode, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;
    // A character the code page lacks (or a lone surrogate): "?" in its place.
    const char16_t unit = *reinterpret_cast<const char16_t*>(in);
    const size_t skip = (QChar::isHighSurrogate(unit) && inLeft >= 4) ? 4 : 2;
    *dst++ = '?';
    --dstLeft;
    in += skip;
    inLeft -= skip;
  }
  out.truncate(dst - out.data());
  return out;
}

QString AnsiRoundTrip(QStringView text) {
  return AnsiToUnicode(UnicodeToAnsi(text));
}

} // namespace gs
