#include "app/SingleInstance.h"
#include "ProgramRun.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

using namespace gs;

TEST(SingleInstance, MessagesSurviveSplitsAndStrangers) {
  QByteArray stream = EncodeArgument(QStringLiteral("first.qcu")) + EncodeArgument(QString()) + EncodeArgument(QString::fromUtf8("ünï.qdx"));
  QByteArray buffer = stream.left(7);
  EXPECT_TRUE(TakeArguments(buffer).isEmpty());  // incomplete: kept for later
  buffer += stream.mid(7);
  EXPECT_EQ(TakeArguments(buffer), (QStringList{"first.qcu", "", QString::fromUtf8("ünï.qdx")}));
  EXPECT_TRUE(buffer.isEmpty());
  QByteArray hostile("\xFF\xFF\xFF\x7F" "abcd", 8);
  EXPECT_TRUE(TakeArguments(hostile).isEmpty());
  EXPECT_TRUE(hostile.isEmpty());  // an impossible length drops the rest
}

TEST(SingleInstance, ASecondStartHandsOverItsArguments) {
  QTemporaryDir home;
  TSingleInstance first(home.path());
  EXPECT_FALSE(first.ForwardToRunning({QStringLiteral("x")}, 200));  // nobody runs yet
  ASSERT_TRUE(first.Listen());

  // Another process of the same program folder passes its arguments and ends.
  const TRun second = RunProgramIn(home.path(), {QStringLiteral("a.qcu"), QStringLiteral("--select")});
  EXPECT_EQ(second.status, 0) << second.err.toStdString();
  const QDeadlineTimer deadline(5000);
  while (first.Pending().size() < 2 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(first.Pending(), (QStringList{"a.qcu", "--select"}));  // recorded until windows exist

  QStringList received;
  first.SetReceiver([&](const QString& arg) { received << arg; });
  EXPECT_EQ(received, (QStringList{"a.qcu", "--select"}));
  EXPECT_TRUE(first.Pending().isEmpty());

  // Another program folder is another instance.
  QTemporaryDir other;
  TSingleInstance stranger(other.path());
  EXPECT_FALSE(stranger.ForwardToRunning({QStringLiteral("y")}, 200));
}
