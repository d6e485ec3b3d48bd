#include "documents/ZStream.h"

#include "formats/Exceptions.h"

#include <QtEndian>
#include <cstring>
#include <zlib.h>

namespace gs {
namespace {

constexpr int kChunk = 64 * 1024;

} // namespace

struct TDeflateWriter::TState {
  z_stream z{};
  char buffer[kChunk];
};

TDeflateWriter::TDeflateWriter(QIODevice& out, int level) : m_state(std::make_unique<TState>()), m_out(out) {
  if (deflateInit(&m_state->z, level) != Z_OK) throw EFileAccess(QString(), true);
}

TDeflateWriter::~TDeflateWriter() {
  deflateEnd(&m_state->z);
}

void TDeflateWriter::Pump(int flush) {
  z_stream& z = m_state->z;
  int result = Z_OK;
  do {
    z.next_out = reinterpret_cast<Bytef*>(m_state->buffer);
    z.avail_out = kChunk;
    result = deflate(&z, flush);
    const qint64 produced = kChunk - z.avail_out;
    if (produced > 0 && m_out.write(m_state->buffer, produced) != produced) throw EFileAccess(QString(), true);
  } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
}

void TDeflateWriter::Write(QByteArrayView bytes) {
  const char* data = bytes.data();
  qint64 left = bytes.size();
  while (left > 0) {
    const uInt part = uInt(std::min<qint64>(left, 1 << 30));
    m_state->z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    m_state->z.avail_in = part;
    Pump(Z_NO_FLUSH);
    data += part;
    left -= part;
  }
}

void TDeflateWriter::WriteU32(quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  Write(QByteArrayView(bytes, 4));
}

void TDeflateWriter::WriteDouble(double value) {
  quint64 bits;
  std::memcpy(&bits, &value, 8);
  char bytes[8];
  qToLittleEndian(bits, bytes);
  Write(QByteArrayView(bytes, 8));
}

void TDeflateWriter::WriteWideText(QStringView text) {
  WriteU32(quint32(text.size()));
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);
  qToLittleEndian<quint16>(text.utf16(), text.size(), bytes.data());
  Write(bytes);
}

void TDeflateWriter::Finish() {
  m_state->z.next_in = nullptr;
  m_state->z.avail_in = 0;
  Pump(Z_FINISH);
}

struct TInflateReader::TState {
  z_stream z{};
  qint64 position;
  qint64 size;
  bool ended = false;
};

TInflateReader::TInflateReader(QByteArrayView compressed, qint64 position) : m_state(std::make_unique<TState>()) {
  m_state->position = position;
  m_state->size = compressed.size();
  z_stream& z = m_state->z;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  z.avail_in = uInt(std::min<qint64>(compressed.size(), UINT32_MAX));
  if (inflateInit(&z) != Z_OK) Fail();
}

TInflateReader::~TInflateReader() {
  inflateEnd(&m_state->z);
}

void TInflateReader::Fail() const {
  throw EWrongStructure(m_state->position + qint64(m_state->z.total_in));
}

bool TInflateReader::AtEnd() const { return m_state->ended; }

qint64 TInflateReader::Read(char* out, qint64 max) {
  z_stream& z = m_state->z;
  qint64 done = 0;
  while (done < max && !m_state->ended) {
    z.next_out = reinterpret_cast<Bytef*>(out + done);
    z.avail_out = uInt(std::min<qint64>(max - done, 1 << 30));
    const uInt before = z.avail_out;
    const int result = inflate(&z, Z_NO_FLUSH);
    done += before - z.avail_out;
    if (result == Z_STREAM_END) m_state->ended = true;
    else if (result == Z_BUF_ERROR && z.avail_in == 0) m_state->ended = true;  // the file ends early
    else if (result != Z_OK) Fail();
  }
  return done;
}

void TInflateReader::ReadExact(char* out, qint64 count) {
  if (Read(out, count) != count) Fail();
}

quint32 TInflateReader::ReadU32() {
  char bytes[4];
  ReadExact(bytes, 4);
  return qFromLittleEndian<quint32>(bytes);
}

double TInflateReader::ReadDouble() {
  char bytes[8];
  ReadExact(bytes, 8);
  const quint64 bits = qFromLittleEndian<quint64>(bytes);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}

QString TInflateReader::ReadWideText(qint32 maxUnits) {
  const qint32 units = qint32(ReadU32());
  if (units < 0 || units > maxUnits) Fail();
  QByteArray bytes(qsizetype(units) * 2, Qt::Uninitialized);
  ReadExact(bytes.data(), bytes.size());
  QString text(units, Qt::Uninitialized);
  qFromLittleEndian<quint16>(bytes.constData(), units, text.data());
  return text;
}

bool TInflateReader::Skip(qint64 count) {
  char buffer[kChunk];
  while (count > 0) {
    const qint64 got = Read(buffer, std::min<qint64>(count, kChunk));
    if (got == 0) return false;
    count -= got;
  }
  return true;
}

} // namespace gs
