#include "formats/Stream.h"

#include "platform/CodePage.h"
#include "platform/Text.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace gs {

TStreamReader::TStreamReader(const char* data, qint64 size, qint64 base)
    : m_data(reinterpret_cast<const unsigned char*>(data)), m_size(size), m_base(base) {}

void TStreamReader::Fail() const {
  throw EWrongStructure(Position());
}

void TStreamReader::FailAt(qint64 position) const {
  throw EWrongStructure(position);
}

void TStreamReader::Seek(qint64 offset) {
  if (offset < 0 || offset > m_size) Fail();
  m_pos = offset;
}

quint32 TStreamReader::ReadU32() {
  const unsigned char* p = Take(4);
  return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

quint64 TStreamReader::ReadU64() {
  const quint64 low = ReadU32();
  return low | (quint64(ReadU32()) << 32);
}

double TStreamReader::ReadDouble() {
  const quint64 bits = ReadU64();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

QByteArrayView TStreamReader::ReadBytes(qint64 count) {
  const unsigned char* p = Take(count);
  return QByteArrayView(reinterpret_cast<const char*>(p), count);
}

QString TStreamReader::ReadShortAnsi() {
  const quint8 count = ReadU8();
  return AnsiToUnicode(ReadBytes(count));
}

QString TStreamReader::ReadWideText() {
  const qint64 start = Position();
  const qint32 count = ReadI32();
  if (count < 0 || qint64(count) * 2 > Remaining()) FailAt(start);
  const unsigned char* p = Take(qint64(count) * 2);
  if (count == 0) return {};
  QString text(count, Qt::Uninitialized);
  qFromLittleEndian<quint16>(p, count, text.data());
  return text;
}

qint64 TStreamReader::CheckCount(qint64 count, qint64 minBytes) {
  if (count < 0 || (minBytes > 0 && count > Remaining() / minBytes)) Fail();
  return count;
}

TStreamWriter::~TStreamWriter() {
  if (!m_device) return;
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; the owner that commits the file sees the short write.
  }
}

const QByteArray& TStreamWriter::Bytes() const {
  m_buffer.truncate(Used());
  m_end = m_next;
  return m_buffer;
}

void TStreamWriter::MakeRoom(qsizetype count) {
  qsizetype used = Used();
  if (m_device) {
    Flush();
    used = 0;
  }
  // A memory writer doubles its capacity; a device writer keeps one chunk unless a single
  // field needs more.
  const qsizetype capacity = m_device ? std::max(kChunk, count) : std::max({qsizetype(256), 2 * used, used + count});
  if (m_buffer.size() < capacity) m_buffer.resize(capacity);
  char* data = m_buffer.data();  // detaches a buffer that Bytes() handed out
  m_next = data + used;
  m_end = data + m_buffer.size();
}

void TStreamWriter::Flush() {
  const qsizetype used = Used();
  if (!m_device || used == 0) return;
  m_next = m_buffer.data();
  const qint64 written = m_device->write(m_buffer.constData(), used);
  if (written != used) throw EFileAccess(QString(), true);
  m_flushed += written;
}

void TStreamWriter::WriteDouble(double value) {
  quint64 bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteU64(bits);
}

void TStreamWriter::WriteBytes(QByteArrayView bytes) {
  if (!bytes.isEmpty()) std::memcpy(Room(bytes.size()), bytes.data(), size_t(bytes.size()));
}

QByteArray ShortAnsiBytes(QStringView text) {
  text = UpToNul(text);
  QByteArray bytes = UnicodeToAnsi(text);
  // Cut a text too long for the field at a character boundary of the code page.
  for (qsizetype chars = text.size(); bytes.size() > 255 && chars > 0;) {
    chars = std::min(chars - 1, qsizetype(255));
    if (chars > 0 && text[chars - 1].isHighSurrogate()) --chars;
    bytes = UnicodeToAnsi(text.first(chars));
  }
  return bytes;
}

void TStreamWriter::WriteShortAnsi(QStringView text) {
  text = UpToNul(text);
  if (text.size() <= 255 && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
    // ASCII is the same in every code page: no conversion, no intermediate buffer.
    char* out = Room(1 + text.size());
    *out++ = char(text.size());
    for (QChar c : text) *out++ = char(c.unicode());
    return;
  }
  const QByteArray bytes = ShortAnsiBytes(text);
  WriteU8(quint8(bytes.size()));
  WriteBytes(bytes);
}

void TStreamWriter::WriteWideText(QStringView text) {
  text = UpToNul(text);
  WriteI32(qint32(text.size()));
  if (text.isEmpty()) return;  // an empty view may have no data at all
  qToLittleEndian<quint16>(text.utf16(), text.size(), Room(text.size() * 2));
}

} // namespace gs
