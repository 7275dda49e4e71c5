#include "ui/wave/SampleFramePanes.h"

#include <gtest/gtest.h>

using namespace SampleFramePanes;

TEST(SampleFramePanes, PointsAreSixDigitZeroPaddedFields) {
    EXPECT_EQ(PlayText(0, 44100), "Play: 000000  044100");
    EXPECT_EQ(LoopText(1234, 5678), "Loop: 001234  005678");
    EXPECT_EQ(PlayText(0, 1234567), "Play: 000000  1234567") << "wider numbers are not cut";
}

TEST(SampleFramePanes, PitchPositionAndTime) {
    EXPECT_EQ(PitchPaneText(440.0, "A 4 +0.00"), "Pitch: A 4 +0.00 (440.00 Hz)");
    EXPECT_EQ(PitchPaneText(261.6256, "C 4 +0.00"), "Pitch: C 4 +0.00 (261.63 Hz)");
    EXPECT_EQ(PositionText(22050), " 22050");
    EXPECT_EQ(PositionText(1234567), "1234567");
    EXPECT_EQ(TimeText(22050, 44100), "0.500");
    EXPECT_EQ(TimeText(441000, 44100), "10.000");
    EXPECT_EQ(TimeText(1, 3), "0.333");
}

TEST(SampleFramePanes, RowsSplitEightyFiveToFifteenWithTenPixelsAtLeast) {
    EXPECT_EQ(SplitRows(300), std::pair(255, 45));
    EXPECT_EQ(SplitRows(310), std::pair(263, 46));
    EXPECT_EQ(SplitRows(40), std::pair(34, 10)) << "15 % of 40 is 6";
    EXPECT_EQ(SplitRows(5), std::pair(10, 10));
}
