// Test support: runs the built program and collects what it printed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace gs {

struct TRun {
  int status;
  QString out, err;
};

inline TRun RunProgram(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(GLOSSMITH_EXE), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace gs
