#include "shell/Fields.h"

#include "platform/Text.h"
#include "shell/Recent.h"

namespace gs {

void TFields::SetCount(qint32 count) {
  if (count == m_count) return;
  m_count = count;
  if (m_recent) m_recent->AddNumber(QStringLiteral("GenCount"), count);
  if (OnChange) OnChange(*this);
}

void TFields::SetCountText(const QString& text) {
  if (const std::optional<qint32> n = StrToIntOpt(text.trimmed())) SetCount(*n);
}

} // namespace gs
