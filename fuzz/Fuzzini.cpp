#include "FuzzSupport.h"
#include "shell/IniFilesEx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gs::FuzzSetUp();
  gs::TIniFileEx ini(QString(), gs::TTextEncoding::Utf8, true, false);
  ini.LoadFromText(gs::DecodeText(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size))).text);
  for (const QString& section : ini.Sections())
    for (const QString& key : ini.SectionKeys(section)) (void)ini.ReadInteger(section, key, 0);
  (void)ini.ToText();
  return 0;
}
