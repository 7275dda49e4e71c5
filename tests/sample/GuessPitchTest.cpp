#include "sample/SampleDoc.h"

#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// A document holding `seconds` of a mono sine at `hz`, or silence at 0 Hz.
void FillTone(CSampleDoc& doc, double hz, double seconds, std::uint32_t rate = 44100) {
    auto frames = static_cast<std::uint32_t>(seconds * rate);
    auto audio = std::make_unique<std::int16_t[]>(frames);
    for (std::uint32_t i = 0; i < frames; ++i)
        audio[i] = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * hz * i / rate));
    doc.ClearData();
    doc.SetData(std::move(audio), frames, rate);
    doc.m_dPitch = 440;
    doc.SetModifiedFlag(false);
}

double Cents(double a, double b) {
    return 1200 * std::log2(a / b);
}
} // namespace

TEST(GuessPitch, OffersTheEstimateAndStoresItOnYes) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CSampleDoc doc;
    FillTone(doc, 220, 0.5);
    ui.QueueAnswer(Answer::No);
    EXPECT_TRUE(doc.GuessPitch(0, 4410));
    EXPECT_EQ(doc.m_dPitch, 440);
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(ui.Questions().size(), 1u);
    EXPECT_EQ(ui.Questions()[0].rfind("The estimated pitch is A 3 ", 0), 0u) << ui.Questions()[0];
    EXPECT_NE(ui.Questions()[0].find(" Hz).  Change to this value?"), std::string::npos);

    ui.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(doc.GuessPitch(1000, 4410));
    EXPECT_LT(std::abs(Cents(doc.m_dPitch, 220)), 5);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST(GuessPitch, RefusesWhenItCannotGuess) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CSampleDoc doc;
    FillTone(doc, 220, 0.1); // 4410 frames
    EXPECT_FALSE(doc.GuessPitch(4410 - 2204, 1000));
    FillTone(doc, 0, 0.5);
    EXPECT_FALSE(doc.GuessPitch(0, 4410));
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"The selection range is too close to the end of the "
                                                       "sample (or the sample is too small to guess).",
                                                       "No pitch could be found in the marked range."}));
    EXPECT_EQ(doc.m_dPitch, 440);
}
