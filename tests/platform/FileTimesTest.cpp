#include "platform/FileTimes.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace gs;

TEST(FileTimes, NowIsTheLocalWallClock) {
  const TDateTime reference = DateTimeFromQt(QDateTime::currentDateTime());
  const TDateTime now = Now();
  EXPECT_NEAR(now, reference, 2.0 / 86400);  // within two seconds
  EXPECT_LE(Now() - now, 1.0 / 86400);       // and it moves forward, not by the zone offset
  EXPECT_GE(Now(), now);
}
