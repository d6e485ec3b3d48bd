// zlib streams in chunks: a writer that compresses into a device, and a reader that
// decompresses bytes held in memory (a mapped file). Neither holds more than a chunk.
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <memory>

namespace gs {

class TDeflateWriter {
public:
  TDeflateWriter(QIODevice& out, int level);
  ~TDeflateWriter();
  TDeflateWriter(const TDeflateWriter&) = delete;
  TDeflateWriter& operator=(const TDeflateWriter&) = delete;

  void Write(QByteArrayView bytes);
  void WriteU32(quint32 value);
  void WriteDouble(double value);
  void WriteWideText(QStringView text);
  // Ends the zlib stream. Raises EFileAccess when the device refuses the bytes.
  void Finish();

private:
  void Pump(int flush);
  struct TState;
  std::unique_ptr<TState> m_state;
  QIODevice& m_out;
};

class TInflateReader {
public:
  // position: where the compressed bytes begin in the file (for error positions).
  TInflateReader(QByteArrayView compressed, qint64 position);
  ~TInflateReader();
  TInflateReader(const TInflateReader&) = delete;
  TInflateReader& operator=(const TInflateReader&) = delete;

  // Up to max bytes; fewer only at the end of the stream. Raises EWrongStructure for damaged
  // data.
  qint64 Read(char* out, qint64 max);
  // Exactly count bytes, else EWrongStructure.
  void ReadExact(char* out, qint64 count);
  quint32 ReadU32();
  double ReadDouble();
  // A 4-byte count of UTF-16 code units, at most maxUnits, then the units.
  QString ReadWideText(qint32 maxUnits);
  // Skips up to count bytes; false when the stream ended first.
  bool Skip(qint64 count);
  bool AtEnd() const;
  // Raises EWrongStructure at the current position of the compressed bytes.
  [[noreturn]] void Fail() const;

private:
  struct TState;
  std::unique_ptr<TState> m_state;
};

} // namespace gs
