#include "sample/PitchNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(PitchNames, KeyNames) {
    EXPECT_EQ(KeyName(60), "C 4");
    EXPECT_EQ(KeyName(61), "C#4");
    EXPECT_EQ(KeyName(69), "A 4");
    EXPECT_EQ(KeyName(127), "G 9");
    EXPECT_EQ(KeyName(0), "C /");
    EXPECT_EQ(KeyName(11), "B /");
    EXPECT_EQ(KeyName(-1), "***");
    EXPECT_EQ(KeyName(128), "***");
}

TEST(PitchNames, PitchTexts) {
    EXPECT_EQ(PitchText(440), "A 4 +0.00");
    EXPECT_EQ(PitchText(523), "C 5 -0.83");
    EXPECT_EQ(PitchText(261.6256), "C 4 +0.00");
    double c5 = 220 * std::pow(2.0, 0.25) * 2;
    EXPECT_EQ(PitchText(c5 * std::pow(2.0, -30 / 1200.0)), "C 5 -30.00");
    EXPECT_EQ(PitchText(c5 * std::pow(2.0, 30 / 1200.0)), "C 5 +30.00");
    EXPECT_EQ(PitchText(0), "");
    EXPECT_EQ(PitchText(0.5), "C 0 +0.00");
    EXPECT_EQ(PitchText(100000), "C 0 +0.00");
    // Octave -1 prints its sign; a wide cents value fills more than five places.
    EXPECT_EQ(PitchText(8.1758), "C -1 +0.00");
    // A hair under the note prints as exactly on it, never as -0.00.
    EXPECT_EQ(PitchText(261.6255653005986 * std::pow(2.0, -0.004 / 1200)), "C 4 +0.00");
    EXPECT_EQ(PitchText(261.6255653005986 * std::pow(2.0, -0.006 / 1200)), "C 4 -0.01");
    // Not a frequency at all: named like any pitch out of range, never read out of the table.
    EXPECT_EQ(PitchText(std::nan("")), "C 0 +0.00");
    EXPECT_EQ(PitchText(-std::numeric_limits<double>::infinity()), "C 0 +0.00");
}

TEST(PitchNames, SplitPitchRollsIntoTheNextOctave) {
    // B of octave 4 plus 60 cents is C of octave 5 minus 40.
    double b4 = 440 * std::pow(2.0, 2 / 12.0);
    PitchParts parts = SplitPitch(b4 * std::pow(2.0, 60 / 1200.0));
    EXPECT_EQ(parts.octave, 5);
    EXPECT_EQ(parts.note, 0);
    EXPECT_NEAR(parts.cents, -40, 1e-3);
    PitchParts a = SplitPitch(440);
    EXPECT_EQ(a.octave, 4);
    EXPECT_EQ(a.note, 9);
    EXPECT_NEAR(a.cents, 0, 1e-4);
    PitchParts none = SplitPitch(0.5);
    EXPECT_EQ(none.octave, 0);
    EXPECT_EQ(none.note, 0);
    EXPECT_EQ(none.cents, 0);
}

TEST(PitchNames, ParsePitchReadsThreeCharacters) {
    EXPECT_DOUBLE_EQ(ParsePitch("A 4 +3.00"), 440);
    EXPECT_DOUBLE_EQ(ParsePitch("a 4"), 440);
    EXPECT_NEAR(ParsePitch("C 4"), 261.63, 0.005);
    EXPECT_NEAR(ParsePitch("Bb3"), 233.08, 0.005);
    EXPECT_NEAR(ParsePitch("c#5"), 554.37, 0.005);
    EXPECT_EQ(ParsePitch("H 4"), 0);
    EXPECT_EQ(ParsePitch("A-4"), 0);
    EXPECT_EQ(ParsePitch("Ax4"), 0);
    EXPECT_EQ(ParsePitch("A "), 0);
    EXPECT_EQ(ParsePitch("AB4"), 0);
}

TEST(PitchNames, PitchFromParts) {
    EXPECT_DOUBLE_EQ(PitchFromParts(4, 9, 0), 440);
    EXPECT_NEAR(PitchFromParts(4, 0, 0), 261.6256, 1e-4);
    EXPECT_NEAR(PitchFromParts(5, 9, -50), 880 * std::pow(2.0, -0.5 / 12), 1e-9);
}

TEST(ParseNoteName, TakesNamesWithinTheOctaveAndRefusesTheRest) {
    const std::pair<const char*, int> names[] = {{"C", 0},  {" c# ", 1}, {"Db", 1}, {"E#", 5},
                                                 {"fb", 4}, {"Bb", 10},  {"B", 11}, {"A ", 9}};
    for (auto [text, note] : names)
        EXPECT_EQ(std::get<int>(ParseNoteName(text)), note) << text;
    for (const char* text : {"", "Cb", "B#", "H", "C##", "C4", "#"})
        EXPECT_TRUE(std::holds_alternative<std::string>(ParseNoteName(text))) << text;
}

TEST(PitchDialogRange, SpansWhatTheSlidersReach) {
    EXPECT_EQ(SplitPitch(PitchDialogRange::LowestHz() * 1.0001).octave, -1);
    const PitchParts top = SplitPitch(PitchDialogRange::HighestHz() * 0.9999);
    EXPECT_EQ(top.octave, 9);
    EXPECT_EQ(top.note, 11);
}
