#include "engine/progress.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(ProgressTest, RemainingTimeShowsWholeHoursMinutesAndSeconds) {
  EXPECT_EQ(remainingTimeText(1.0 - 1e-6), "0:00:01");  // rounded to the millisecond
  EXPECT_EQ(remainingTimeText(0.9994), "0:00:00");
  EXPECT_EQ(remainingTimeText(3725.7), "1:02:05");
  EXPECT_EQ(remainingTimeText(90000.0), "25:00:00");  // past a day, not 1:00:00
  EXPECT_EQ(remainingTimeText(-3.0), "0:00:00");
}

TEST(ProgressTest, EstimateScalesElapsedTimeToTheWholeFile) {
  EXPECT_DOUBLE_EQ(remainingSeconds(10.0, 400, 100), 31.0);  // 40 total - 10 + 1
  EXPECT_DOUBLE_EQ(remainingSeconds(2.5, 4194304, 4194304), 1.0);
  // 64-bit sizes: a 40 GiB file a quarter read after an hour.
  EXPECT_DOUBLE_EQ(remainingSeconds(3600.0, 42949672960, 10737418240), 10801.0);
}

TEST(ProgressTest, ProgressTextNamesTheModeTheFileAndWholeMebibytes) {
  EXPECT_EQ(progressText(false, "/discs/HVDVD_TS/FEATURE_1.EVO", 4194304, 10485759, "0:00:06"),
            "Reading FEATURE_1.EVO 4/9 Mbytes, Remaining time: 0:00:06");
  EXPECT_EQ(progressText(true, "FEATURE_2.EVO", 8589934592, 17179869184, "1:00:00"),
            "Demuxing FEATURE_2.EVO 8192/16384 Mbytes, Remaining time: 1:00:00");
}

}  // namespace
}  // namespace tessaly
