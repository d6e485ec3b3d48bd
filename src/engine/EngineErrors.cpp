#include "engine/EngineErrors.h"

#include "platform/Text.h"
#include "shell/LangFrm.h"

namespace gs {

EConvertError::EConvertError(const QString& text)
    : EEngineError(QStringLiteral("''%1'' is not a valid integer value").arg(text)) {}

ERecursionError::ERecursionError() : EEngineError(LangMessage(622)) {}

qint32 ToInteger(const QString& text) {
  const auto value = StrToIntOpt(text);
  if (!value) throw EConvertError(text);
  return *value;
}

} // namespace gs
