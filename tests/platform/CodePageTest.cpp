#include "platform/CodePage.h"
#include "platform/TextDecode.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

// Restores the default code page after a test that changes it.
struct CodePageGuard {
  ~CodePageGuard() { SetAnsiCodePage(DefaultAnsiCodePage); }
};

} // namespace

TEST(CodePage, Windows1252ByDefault) {
  EXPECT_EQ(AnsiCodePage(), 1252);
  EXPECT_EQ(AnsiToUnicode("caf\xE9 \x80"), QString::fromUtf8("café €"));
  EXPECT_EQ(UnicodeToAnsi(QString::fromUtf8("café €")), QByteArray("caf\xE9 \x80"));
}

TEST(CodePage, MissingCharactersBecomeQuestionMarks) {
  // Cyrillic, a CJK character and a character outside the BMP are not in Windows-1252.
  EXPECT_EQ(UnicodeToAnsi(QString::fromUtf8("aЖ中😀b")), QByteArray("a???b"));
  EXPECT_EQ(AnsiRoundTrip(QString::fromUtf8("Жé")), QString::fromUtf8("?é"));
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharacters) {
  const QString text = AnsiToUnicode("a\x81z");
  ASSERT_EQ(text.size(), 3);
  EXPECT_EQ(text[0], u'a');
  EXPECT_EQ(text[1], QChar(0xFFFD));
  EXPECT_EQ(text[2], u'z');
}

TEST(CodePage, OtherCodePageIsUsedAfterSwitching) {
  CodePageGuard guard;
  ASSERT_TRUE(SetAnsiCodePage(1251));
  EXPECT_EQ(AnsiCodePage(), 1251);
  EXPECT_EQ(AnsiToUnicode("\xC6"), QString::fromUtf8("Ж"));
  EXPECT_EQ(UnicodeToAnsi(QString::fromUtf8("Жé")), QByteArray("\xC6?"));
}

TEST(CodePage, UnknownCodePageIsRefused) {
  EXPECT_FALSE(SetAnsiCodePage(424242));
  EXPECT_FALSE(SetAnsiCodePage(-1));
  EXPECT_EQ(AnsiCodePage(), 1252);
}

TEST(TextDecode, MarksAndFallbacks) {
  struct Case {
    QByteArray bytes;
    QString text;
    TTextEncoding encoding;
    bool mark;
  };
  const Case cases[] = {
      {QByteArray("\xEF\xBB\xBFh\xC3\xA9"), QString::fromUtf8("hé"), TTextEncoding::Utf8, true},
      {QByteArray("\xFF\xFEh\0\xE9\0", 6), QString::fromUtf8("hé"), TTextEncoding::Utf16LE, true},
      {QByteArray("\xFE\xFF\0h\0\xE9", 6), QString::fromUtf8("hé"), TTextEncoding::Utf16BE, true},
      {QByteArray("h\xC3\xA9"), QString::fromUtf8("hé"), TTextEncoding::Utf8, false},
      {QByteArray("h\xE9"), QString::fromUtf8("hé"), TTextEncoding::Ansi, false},
      {QByteArray(), QString(), TTextEncoding::Utf8, false},
  };
  for (const Case& c : cases) {
    const TDecodedText d = DecodeText(c.bytes);
    EXPECT_EQ(d.text, c.text) << c.bytes.toHex().constData();
    EXPECT_EQ(d.encoding, c.encoding) << c.bytes.toHex().constData();
    EXPECT_EQ(d.hadMark, c.mark) << c.bytes.toHex().constData();
  }
}

TEST(TextDecode, EncodeWritesTheMark) {
  EXPECT_EQ(EncodeText(u"é", TTextEncoding::Utf8), QByteArray("\xEF\xBB\xBF\xC3\xA9"));
  EXPECT_EQ(EncodeText(u"é", TTextEncoding::Utf16LE), QByteArray("\xFF\xFE\xE9\0", 4));
  EXPECT_EQ(EncodeText(u"é", TTextEncoding::Ansi), QByteArray("\xE9"));
  for (TTextEncoding e : {TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE})
    EXPECT_EQ(DecodeText(EncodeText(u"a\r\nЖ", e)).text, QString::fromUtf8("a\r\nЖ"));
}
