// TFields: the generation count, remembered in the recent list "GenCount".
#pragma once

#include <QString>
#include <functional>

namespace gs {

class TRecent;

class TFields {
public:
  explicit TFields(TRecent* recent) : m_recent(recent) {}

  qint32 Count() const { return m_count; }
  // Nothing happens when the value is unchanged.
  void SetCount(qint32 count);
  // Text that is no integer is ignored.
  void SetCountText(const QString& text);

  std::function<void(TFields&)> OnChange;

private:
  TRecent* m_recent;
  qint32 m_count = 25;
};

} // namespace gs
