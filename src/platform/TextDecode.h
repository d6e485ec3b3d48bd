// Decoding of text files. A byte-order mark (UTF-8, UTF-16LE, UTF-16BE) decides; without
// one the bytes are UTF-8 when they are valid UTF-8, otherwise text in the ANSI code page.
#pragma once

#include <QByteArray>
#include <QString>

namespace gs {

enum class TTextEncoding { Utf8, Utf16LE, Utf16BE, Ansi };

struct TDecodedText {
  QString text;
  TTextEncoding encoding = TTextEncoding::Utf8;
  bool hadMark = false;
};

TDecodedText DecodeText(QByteArrayView bytes);

// Encodes the text with the byte-order mark of the encoding (none for Ansi).
QByteArray EncodeText(QStringView text, TTextEncoding encoding);

} // namespace gs
