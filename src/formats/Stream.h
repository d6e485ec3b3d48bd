// The one funnel through which every binary format is read and written. All integers are
// little-endian and decoded byte by byte. A read past the end, a count that cannot fit in the
// bytes left, or a negative length raises EWrongStructure with the position of the read.
#pragma once

#include "formats/Exceptions.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtEndian>
#include <cstring>

namespace gs {

class TStreamReader {
public:
  // Reads bytes[0, size); positions are reported as base + offset. The bytes are not owned.
  TStreamReader(const char* data, qint64 size, qint64 base = 0);
  explicit TStreamReader(QByteArrayView bytes) : TStreamReader(bytes.data(), bytes.size()) {}
  explicit TStreamReader(const QByteArray& bytes) : TStreamReader(bytes.data(), bytes.size()) {}
  // The reader does not own its bytes: a temporary would be gone before the first read.
  explicit TStreamReader(QByteArray&&) = delete;

  qint64 Position() const { return m_base + m_pos; }
  qint64 Size() const { return m_size; }
  qint64 Remaining() const { return m_size - m_pos; }
  bool AtEnd() const { return m_pos >= m_size; }
  void Seek(qint64 offset);  // offset from the start of the bytes

  quint8 ReadU8() { return *Take(1); }
  quint16 ReadU16() {
    const unsigned char* p = Take(2);
    return quint16(p[0] | (p[1] << 8));
  }
  qint16 ReadI16() { return qint16(ReadU16()); }
  quint32 ReadU32();
  qint32 ReadI32() { return qint32(ReadU32()); }
  quint64 ReadU64();
  qint64 ReadI64() { return qint64(ReadU64()); }
  double ReadDouble();
  bool ReadBool() { return ReadU8() != 0; }
  QByteArrayView ReadBytes(qint64 count);
  void ReadInto(void* out, qint64 count) { std::memcpy(out, Take(count), size_t(count)); }
  void Skip(qint64 count) { ReadBytes(count); }

  // A 1-byte count and that many bytes in the ANSI code page.
  QString ReadShortAnsi();
  // A signed 4-byte count of UTF-16 code units, then UTF-16LE.
  QString ReadWideText();

  // Checks a count read from the file: count elements of at least minBytes each must fit in
  // the bytes left. Returns the count.
  qint64 CheckCount(qint64 count, qint64 minBytes);

  // Raises EWrongStructure at the given position (default: the current one).
  [[noreturn]] void Fail() const;
  [[noreturn]] void FailAt(qint64 position) const;

private:
  const unsigned char* Take(qint64 count) {
    if (count < 0 || count > m_size - m_pos) Fail();
    const unsigned char* p = m_data + m_pos;
    m_pos += count;
    return p;
  }

  const unsigned char* m_data;
  qint64 m_size;
  qint64 m_pos = 0;
  qint64 m_base;
};

// Writes to a device through a buffer, or into memory when no device is given. Call Flush
// (or let the destructor do it) before the device is closed; a device write that fails
// raises EFileAccess at Flush.
class TStreamWriter {
public:
  TStreamWriter() = default;
  explicit TStreamWriter(QIODevice* device) : m_device(device) {}  // not owned
  ~TStreamWriter();
  TStreamWriter(const TStreamWriter&) = delete;
  TStreamWriter& operator=(const TStreamWriter&) = delete;

  qint64 Position() const { return m_flushed + Used(); }
  // Written bytes of a memory writer.
  const QByteArray& Bytes() const;

  void WriteU8(quint8 value) { *Room(1) = char(value); }
  void WriteU16(quint16 value) { qToLittleEndian(value, Room(2)); }
  void WriteI16(qint16 value) { WriteU16(quint16(value)); }
  void WriteU32(quint32 value) { qToLittleEndian(value, Room(4)); }
  void WriteI32(qint32 value) { WriteU32(quint32(value)); }
  void WriteU64(quint64 value) { qToLittleEndian(value, Room(8)); }
  void WriteI64(qint64 value) { WriteU64(quint64(value)); }
  void WriteDouble(double value);
  void WriteBool(bool value) { WriteU8(value ? 1 : 0); }
  void WriteBytes(QByteArrayView bytes);

  // Both measure the text up to its first NUL. A ShortAnsi longer than 255 bytes is cut at
  // the last whole character that fits.
  void WriteShortAnsi(QStringView text);
  void WriteWideText(QStringView text);

  void Flush();

private:
  // count bytes to write into: the fields are stored straight into the buffer, which a
  // device writer empties in chunks and a memory writer grows.
  char* Room(qsizetype count) {
    if (m_end - m_next < count) MakeRoom(count);
    char* at = m_next;
    m_next += count;
    return at;
  }
  void MakeRoom(qsizetype count);
  qsizetype Used() const { return m_next ? m_next - m_buffer.constData() : 0; }
  static constexpr qsizetype kChunk = 1 << 16;

  QIODevice* m_device = nullptr;
  // m_buffer's size is its capacity; [data, m_next) is written, [m_next, m_end) free. Bytes()
  // cuts it to the written part and leaves no room, so the next write detaches it anew.
  mutable QByteArray m_buffer;
  char* m_next = nullptr;
  mutable char* m_end = nullptr;
  qint64 m_flushed = 0;
};

// The bytes of a ShortAnsi field for the text: encoded in the code page, at most 255 bytes.
QByteArray ShortAnsiBytes(QStringView text);

} // namespace gs
