#include "platform/Guid.h"

#include <QUuid>

namespace gs {

namespace {

TGuid FromUuid(const QUuid& id) {
  TGuid g{};
  for (int i = 0; i < 4; ++i) g[i] = std::uint8_t(id.data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) g[4 + i] = std::uint8_t(id.data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) g[6 + i] = std::uint8_t(id.data3 >> (8 * i));
  for (int i = 0; i < 8; ++i) g[8 + i] = id.data4[i];
  return g;
}

} // namespace

TGuid NewGuid() {
  return FromUuid(QUuid::createUuid());
}

QString GuidToString(const TGuid& g) {
  const auto hex = [&](int from, int to, bool reversed) {
    QString out;
    for (int i = 0; i < to - from; ++i) {
      const int k = reversed ? to - 1 - i : from + i;
      out += QStringLiteral("%1").arg(g[k], 2, 16, QChar(u'0'));
    }
    return out;
  };
  const QString s = u'{' + hex(0, 4, true) + u'-' + hex(4, 6, true) + u'-' + hex(6, 8, true) +
                    u'-' + hex(8, 10, false) + u'-' + hex(10, 16, false) + u'}';
  return s.toUpper();
}

bool GuidFromString(QStringView text, TGuid& guid) {
  QString t = text.toString().trimmed();
  if (!t.startsWith(u'{')) t = u'{' + t + u'}';
  const QUuid id = QUuid::fromString(t);
  if (id.isNull() && t.compare(QStringLiteral("{00000000-0000-0000-0000-000000000000}")) != 0) return false;
  guid = FromUuid(id);
  return true;
}

bool IsNullGuid(const TGuid& guid) {
  for (auto b : guid)
    if (b) return false;
  return true;
}

} // namespace gs
