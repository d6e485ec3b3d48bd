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

QString IntegerText(qint32 value) {
  // The small ones point at static characters: copies of them count no references.
  static const auto small = [] {
    struct TTable {
      char16_t chars[256][4] = {};
      std::array<QString, 256> texts;
    };
    static TTable table;
    for (int i = 0; i < 256; ++i) {
      const QString digits = QString::number(i);
      std::copy_n(digits.utf16(), digits.size(), table.chars[i]);
      table.texts[i] = QString::fromRawData(reinterpret_cast<const QChar*>(table.chars[i]), digits.size());
    }
    return &table.texts;
  }();
  return value >= 0 && value < 256 ? (*small)[value] : QString::number(value);
}

} // namespace gs
