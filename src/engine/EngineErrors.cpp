#include "engine/EngineErrors.h"

#include "platform/Text.h"
#include "shell/LangFrm.h"

#include <array>

namespace gs {

EConvertError::EConvertError(const QString& text)
    : EEngineError(QStringLiteral("''%1'' is not a valid integer value").arg(text)) {}

ERecursionError::ERecursionError() : EEngineError(LangMessage(622)) {}

qint32 ToInteger(const QString& text) {
  const auto value = StrToIntOpt(text);
  if (!value) throw EConvertError(text);
  return *value;
}

namespace {

// The texts of 0..255, pointing at static characters: copies of them count no references.
struct TSmallIntegers {
  TSmallIntegers() {
    for (int i = 0; i < 256; ++i) {
      const QString digits = QString::number(i);
      std::copy_n(digits.utf16(), digits.size(), chars[i]);
      texts[i] = QString::fromRawData(reinterpret_cast<const QChar*>(chars[i]), digits.size());
    }
  }
  char16_t chars[256][4] = {};
  std::array<QString, 256> texts;
};
const TSmallIntegers g_smallIntegers;

} // namespace

QString IntegerText(qint32 value) {
  return value >= 0 && value < 256 ? g_smallIntegers.texts[value] : QString::number(value);
}

} // namespace gs
