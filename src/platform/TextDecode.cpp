#include "platform/TextDecode.h"

#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace gs {
namespace {

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian) {
  QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                         QStringConverter::Flag::Stateless);
  return decoder(bytes);
}

} // namespace

TDecodedText DecodeText(QByteArrayView bytes) {
  TDecodedText result;
  const auto starts = [&](std::initializer_list<unsigned char> mark) {
    if (bytes.size() < qsizetype(mark.size())) return false;
    qsizetype i = 0;
    for (unsigned char b : mark)
      if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
  };
  if (starts({0xEF, 0xBB, 0xBF})) {
    result.hadMark = true;
    result.text = QString::fromUtf8(bytes.sliced(3));
    return result;
  }
  if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF})) {
    const bool big = starts({0xFE, 0xFF});
    result.hadMark = true;
    result.encoding = big ? TTextEncoding::Utf16BE : TTextEncoding::Utf16LE;
    result.text = DecodeUtf16(bytes.sliced(2), big);
    return result;
  }
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8(bytes);
  if (!utf8.hasError()) {
    result.text = std::move(text);
    return result;
  }
  result.encoding = TTextEncoding::Ansi;
  result.text = AnsiToUnicode(bytes);
  return result;
}

QByteArray EncodeText(QStringView text, TTextEncoding encoding) {
  switch (encoding) {
  case TTextEncoding::Ansi:
    return UnicodeToAnsi(text);
  case TTextEncoding::Utf8:
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
  case TTextEncoding::Utf16LE:
  case TTextEncoding::Utf16BE: {
    const bool big = encoding == TTextEncoding::Utf16BE;
    QStringEncoder encoder(big ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::WriteBom);
    return encoder(text);
  }
  }
  return {};
}

} // namespace gs
