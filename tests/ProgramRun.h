// Test support: runs the built program and collects what it printed.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace gs {

struct TRun {
  int status;
  QString out, err;
};

// Runs the program with its settings, session and databases in home.
inline TRun RunProgramIn(const QString& home, QStringList args) {
  args << QStringLiteral("--home") << home;
  QProcess p;
  // A relative path the program makes (a bare "--home" takes the next word) stays in home.
  p.setWorkingDirectory(home);
  p.start(QStringLiteral(GLOSSMITH_EXE), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Runs the program in a fresh home folder of its own.
inline TRun RunProgram(const QStringList& args) {
  QTemporaryDir home;
  return RunProgramIn(home.path(), args);
}

} // namespace gs
