// Every byte of a valid record replaced by telling values: the readers end in their own
// exceptions, never in anything else.
#include "formats/Info.h"
#include "model/EO.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

// Runs read over every single-byte corruption of bytes; only the file exceptions may leave it.
void ExpectOnlyFileExceptions(const QByteArray& bytes, const std::function<void(TStreamReader&)>& read) {
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    for (unsigned char value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
      QByteArray corrupt = bytes;
      corrupt[i] = char(value);
      TStreamReader r(corrupt);
      try {
        read(r);
      } catch (const EWrongStructure& e) {
        EXPECT_GE(e.Position(), 0);
        EXPECT_LE(e.Position(), corrupt.size());
      } catch (const EWrongFormat&) {
      } catch (const std::exception& e) {
        ADD_FAILURE() << "byte " << i << " = " << int(value) << ": " << e.what();
      }
    }
  }
}

} // namespace

TEST(Malformed, HeadersOfEveryFormatVersion) {
  TInfo info;
  info.Title().SetEnglishText("Title");
  info.Title().SetText(1049, "Other");
  info.Hint().SetEnglishText("Hint");
  info.SetIcon("/a/icon.ico");
  info.SetAuthor("Author");
  info.SetURL("http://x");
  TStreamWriter w;
  info.WriteToStream(w, "/a/");
  ExpectOnlyFileExceptions(w.Bytes(), [](TStreamReader& r) { TInfo(true).ReadFromStream(r, "/a/"); });
  ExpectOnlyFileExceptions(w.Bytes(), [](TStreamReader& r) { TInfo(false).ReadFromStream(r, "/a/"); });
}

TEST(Malformed, OptionsRecords) {
  TEditorOptions file(esFileName);
  file.SetFileFilter(u"Texts|*.txt");
  file.PickList().SetItems({"a.txt", "b.txt"});
  TEditorOptions fixed(esString);
  fixed.PickList().SetItems({"x", "y"});
  fixed.SetFixed(true);
  fixed.AliasList().SetEnglishText("X\r\nY");
  for (const TEditorOptions* o : {&file, &fixed, StdOptions().eoInteger.get()}) {
    TStreamWriter w;
    o->WriteTo(w);
    for (quint8 fv : {0, 1, 2})
      ExpectOnlyFileExceptions(w.Bytes(), [fv](TStreamReader& r) { TEditorOptions().ReadFrom(r, fv, {2, 3}); });
  }
}
