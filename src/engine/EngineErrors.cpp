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
  static const std::array<QString, 256> small = [] {
    std::array<QString, 256> texts;
    for (int i = 0; i < 256; ++i) texts[i] = QString::number(i);
    return texts;
  }();
  return value >= 0 && value < 256 ? small[value] : QString::number(value);
}

} // namespace gs
