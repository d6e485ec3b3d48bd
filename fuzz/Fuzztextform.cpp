#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    gs::TDicFile dic;
    gs::BuildDictionary(gs::ParseJson(text), QStringLiteral("/f/"), dic);
    (void)gs::DumpDictionary(dic, QStringLiteral("/f/"));
  } catch (const gs::EJsonSyntax&) {
  } catch (const gs::ETextForm&) {
  } catch (const gs::EWrongStructure&) {
  }
  return 0;
}
