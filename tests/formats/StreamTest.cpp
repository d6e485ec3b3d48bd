#include "formats/Stream.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace gs;

namespace {

qint64 StructurePosition(const std::function<void()>& read) {
  try {
    read();
  } catch (const EWrongStructure& e) {
    return e.Position();
  }
  return -1;
}

} // namespace

TEST(Stream, LittleEndianRoundTrip) {
  TStreamWriter w;
  w.WriteU8(0xAB);
  w.WriteU16(0x1234);
  w.WriteI32(-2);
  w.WriteU64(0x0102030405060708ULL);
  w.WriteDouble(3.25);
  w.WriteShortAnsi(QString::fromUtf8("café"));
  w.WriteWideText(QString::fromUtf8("Жук 😀"));
  EXPECT_EQ(w.Bytes().left(7), QByteArray("\xAB\x34\x12\xFE\xFF\xFF\xFF", 7));

  TStreamReader r(w.Bytes());
  EXPECT_EQ(r.ReadU8(), 0xAB);
  EXPECT_EQ(r.ReadU16(), 0x1234);
  EXPECT_EQ(r.ReadI32(), -2);
  EXPECT_EQ(r.ReadU64(), 0x0102030405060708ULL);
  EXPECT_EQ(r.ReadDouble(), 3.25);
  EXPECT_EQ(r.ReadShortAnsi(), QString::fromUtf8("café"));
  EXPECT_EQ(r.ReadWideText(), QString::fromUtf8("Жук 😀"));
  EXPECT_TRUE(r.AtEnd());
}

TEST(Stream, StringsStopAtNulAndEmptyIsACountOnly) {
  TStreamWriter w;
  w.WriteWideText(QString::fromUtf16(u"ab\0cd", 5));
  w.WriteShortAnsi(QString::fromUtf16(u"x\0y", 3));
  w.WriteWideText(QString());
  w.WriteShortAnsi(QString());
  EXPECT_EQ(w.Bytes(), QByteArray("\x02\0\0\0a\0b\0\x01x\0\0\0\0\0", 15));
}

TEST(Stream, ShortAnsiIsCutAt255Bytes) {
  TStreamWriter w;
  w.WriteShortAnsi(QString(300, u'u'));
  ASSERT_EQ(w.Bytes().size(), 256);
  EXPECT_EQ(quint8(w.Bytes()[0]), 255);
  TStreamReader r(w.Bytes());
  EXPECT_EQ(r.ReadShortAnsi(), QString(255, u'u'));
}

TEST(Stream, ReadsPastTheEndRaiseWithThePosition) {
  const QByteArray bytes("\x01\x02\x03", 3);
  struct Case {
    const char* what;
    std::function<void(TStreamReader&)> read;
    qint64 position;
  };
  const Case cases[] = {
      {"u32", [](TStreamReader& r) { r.ReadU32(); }, 0},
      {"u16 after u16", [](TStreamReader& r) { r.ReadU16(); r.ReadU16(); }, 2},
      {"bytes", [](TStreamReader& r) { r.ReadBytes(4); }, 0},
      {"negative bytes", [](TStreamReader& r) { r.ReadBytes(-1); }, 0},
      {"short ansi", [](TStreamReader& r) { r.ReadU8(); r.ReadShortAnsi(); }, 2},
      {"seek", [](TStreamReader& r) { r.Seek(4); }, 0},
  };
  for (const Case& c : cases) {
    TStreamReader r(bytes);
    EXPECT_EQ(StructurePosition([&] { c.read(r); }), c.position) << c.what;
  }
}

TEST(Stream, ImpossibleCountsRaiseBeforeAllocating) {
  struct Case {
    QByteArray bytes;
    qint64 position;
  };
  const Case cases[] = {
      {QByteArray("\xFF\xFF\xFF\x7F", 4), 0},          // two thousand million units
      {QByteArray("\xFF\xFF\xFF\xFF", 4), 0},          // negative
      {QByteArray("\x02\0\0\0a\0", 6), 0},             // one unit short
  };
  for (const Case& c : cases) {
    TStreamReader r(c.bytes);
    EXPECT_EQ(StructurePosition([&] { r.ReadWideText(); }), c.position);
  }
  TStreamReader r("\0\0\0\0\0\0\0\0", 8, 100);
  EXPECT_EQ(r.CheckCount(2, 4), 2);
  EXPECT_EQ(StructurePosition([&] { r.CheckCount(3, 4); }), 100);
  EXPECT_EQ(StructurePosition([&] { r.CheckCount(-1, 1); }), 100);
}

TEST(Stream, WriterFlushesToItsDeviceInChunks) {
  QByteArray target;
  QBuffer buffer(&target);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
  {
    TStreamWriter w(&buffer);
    for (int i = 0; i < 100000; ++i) w.WriteU32(quint32(i));
    EXPECT_EQ(w.Position(), 400000);
  }
  ASSERT_EQ(target.size(), 400000);
  TStreamReader r(target);
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(r.ReadU32(), quint32(i));
}

TEST(Stream, WriterTakesFieldsLargerThanItsChunk) {
  const QString big(100000, u'x');
  QByteArray target;
  QBuffer buffer(&target);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
  {
    TStreamWriter w(&buffer);
    w.WriteU8(7);
    w.WriteWideText(big);
    w.WriteU16(0xBEEF);
    EXPECT_EQ(w.Position(), 1 + 4 + 200000 + 2);
  }
  TStreamReader r(target);
  EXPECT_EQ(r.ReadU8(), 7);
  EXPECT_EQ(r.ReadWideText(), big);
  EXPECT_EQ(r.ReadU16(), 0xBEEF);
  EXPECT_TRUE(r.AtEnd());
}

// A memory writer's bytes handed out stay as they were when more is written.
TEST(Stream, BytesHandedOutAreNotChangedByLaterWrites) {
  TStreamWriter w;
  w.WriteU32(1);
  const QByteArray first = w.Bytes();
  for (int i = 0; i < 1000; ++i) w.WriteU32(0xFFFFFFFF);
  EXPECT_EQ(first, QByteArray("\x01\0\0\0", 4));
  EXPECT_EQ(w.Bytes().size(), 4004);
  EXPECT_EQ(w.Position(), 4004);
  EXPECT_EQ(w.Bytes().left(4), first);
}

TEST(Stream, FailedDeviceWriteIsReported) {
  QByteArray target;
  QBuffer buffer(&target);
  ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));  // writes fail
  TStreamWriter w(&buffer);
  w.WriteU32(1);
  EXPECT_THROW(w.Flush(), EFileAccess);
}
