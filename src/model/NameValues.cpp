#include "model/NameValues.h"

#include "platform/Text.h"

namespace gs {

int TNameValues::IndexOfName(QStringView name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(m_entries[i].name, name)) return i;
  return -1;
}

QString TNameValues::Value(QStringView name) const {
  const int i = IndexOfName(name);
  return i < 0 ? QString() : m_entries[i].value;
}

void TNameValues::SetValue(const QString& name, const QString& value) {
  const int i = IndexOfName(name);
  if (i < 0) Append(name, value);
  else m_entries[i].value = value;
}

void TNameValues::Remove(QStringView name) {
  const int i = IndexOfName(name);
  if (i >= 0) m_entries.erase(m_entries.begin() + i);
}

} // namespace gs
