// Test support: whole files written and read in one call.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace gs {

inline void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
  f.write(bytes);
}

inline QByteArray ReadFile(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace gs
