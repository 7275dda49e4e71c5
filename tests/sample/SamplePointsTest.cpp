#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {
using Strings = std::vector<std::string>;
using Rule = PointResult (CSampleDoc::*)(std::uint32_t);

// 1000 frames; sample 100..900, loop 300..600.
class SamplePoints : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(1000), 1000, 44100);
        Points(100, 800, 300, 300);
    }
    void Points(std::uint32_t start, std::uint32_t length, std::uint32_t loopStart,
                std::uint32_t loopLength) {
        doc.m_nStart = start;
        doc.m_nLength = length;
        doc.m_nLoopStart = loopStart;
        doc.m_nLoopLength = loopLength;
        doc.SetModifiedFlag(false);
    }
    std::vector<std::uint32_t> State() const {
        return {doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength};
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(SamplePoints, RulesRefuseWithTheirMessageAndChangeNothing) {
    const struct {
        Rule rule;
        std::uint32_t p;
        const char* message;
    } cases[] = {
        {&CSampleDoc::SetSampleStart, 900, "Can't set sample start after sample stop"},
        {&CSampleDoc::SetSampleStart, 600, "Can't set sample start after loop end"},
        {&CSampleDoc::SetSampleStart, 301, "Can't set sample start inside the loop"},
        {&CSampleDoc::SetSampleStop, 100, "Can't set sample stop before sample start"},
        {&CSampleDoc::SetSampleStop, 300, "Can't set sample stop before loop start"},
        {&CSampleDoc::SetSampleStop, 599, "Can't set sample stop inside the loop"},
        {&CSampleDoc::SetLoopStart, 99, "Can't set loop start before sample start"},
        {&CSampleDoc::SetLoopStart, 901, "Can't set loop start after sample stop"},
        {&CSampleDoc::SetLoopStart, 600, "Can't set loop start after loop end"},
        {&CSampleDoc::SetLoopEnd, 300, "Can't set loop end before loop start"},
        {&CSampleDoc::SetLoopEnd, 901, "Can't set loop end after sample stop"},
    };
    std::vector<std::uint32_t> before = State();
    for (const auto& c : cases) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_EQ((doc.*c.rule)(c.p), PointResult::Refused) << c.message;
        EXPECT_EQ(caseUi.Messages(), Strings{c.message});
        EXPECT_EQ(State(), before) << c.message;
        EXPECT_FALSE(doc.IsModified()) << c.message;
    }
}

TEST_F(SamplePoints, RulesAcceptTheEdgesAndMarkTheDocumentModified) {
    const struct {
        Rule rule;
        std::uint32_t p;
        std::vector<std::uint32_t> after; // start, length, loop start, loop length
    } cases[] = {
        {&CSampleDoc::SetSampleStop, 600, {100, 500, 300, 300}}, // exactly at the loop end
        {&CSampleDoc::SetLoopEnd, 900, {100, 800, 300, 600}},    // exactly at the stop
        {&CSampleDoc::SetSampleStart, 300, {300, 600, 300, 300}},
        {&CSampleDoc::SetSampleStart, 0, {0, 900, 300, 300}},
        {&CSampleDoc::SetLoopStart, 100, {100, 800, 100, 500}},
        {&CSampleDoc::SetLoopStart, 599, {100, 800, 599, 1}},
    };
    for (const auto& c : cases) {
        Points(100, 800, 300, 300);
        EXPECT_EQ((doc.*c.rule)(c.p), PointResult::Changed);
        EXPECT_EQ(State(), c.after) << c.p;
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SamplePoints, WithoutALoopOrAStopPoint) {
    Points(100, 800, 0, 0);
    EXPECT_EQ(doc.SetLoopStart(250), PointResult::Changed);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 800, 250, 650})) << "a loop from p to the stop";

    // A new loop made from its end starts no earlier than the sample.
    Points(100, 800, 0, 0);
    EXPECT_EQ(doc.SetLoopEnd(500), PointResult::Changed);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 800, 100, 400}));

    // No stop point: the sample runs to the end of the audio.
    Points(100, 0, 0, 0);
    EXPECT_EQ(doc.SetSampleStart(500), PointResult::Changed);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{500, 500, 0, 0}));
    Points(100, 0, 0, 0);
    EXPECT_EQ(doc.SetSampleStart(50), PointResult::Changed);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{50, 950, 0, 0}));
    Points(100, 0, 0, 0);
    EXPECT_EQ(doc.SetLoopStart(700), PointResult::Changed);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 0, 700, 300}));
    Points(100, 0, 300, 100);
    EXPECT_EQ(doc.SetSampleStart(350), PointResult::Refused);
    EXPECT_EQ(ui.Messages(), Strings{"Can't set sample start inside the loop"});
}

TEST_F(SamplePoints, APositionBeyondTheSampleOnlyBeeps) {
    for (Rule rule : {&CSampleDoc::SetSampleStart, &CSampleDoc::SetSampleStop, &CSampleDoc::SetLoopStart,
                      &CSampleDoc::SetLoopEnd}) {
        EXPECT_EQ((doc.*rule)(1000), PointResult::Beyond);
        EXPECT_EQ((doc.*rule)(0xFFFFFFFF), PointResult::Beyond);
    }
    EXPECT_EQ(ui.Beeps(), 8);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 800, 300, 300}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SamplePoints, RangeSettersClampToTheSampleAndHoldTheLoop) {
    doc.SetSampleRange(400, 100);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{300, 300, 300, 300})) << "widened to hold the loop";
    EXPECT_TRUE(doc.IsModified());

    Points(100, 800, 0, 0);
    doc.SetSampleRange(200, 50);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{200, 50, 0, 0})) << "no loop to hold";

    Points(100, 800, 300, 300);
    doc.SetLoopRange(990, 50);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 900, 990, 10}));
    // The start moves back to the loop; the length is kept.
    doc.SetLoopRange(50, 100);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{50, 900, 50, 100}));

    // a + n past 4 G must not wrap around.
    doc.SetSelection(10, 0xFFFFFFFF);
    EXPECT_EQ(doc.m_nSelStart, 10u);
    EXPECT_EQ(doc.m_nSelLength, 990u);
    doc.SetSelection(5000, 10);
    EXPECT_EQ(doc.m_nSelStart, 998u);
    EXPECT_EQ(doc.m_nSelLength, 2u);

    doc.SetSelection(0, 100);
    doc.ShiftSelection(-50, -200);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 2u);
    doc.ShiftSelection(5000, 98);
    EXPECT_EQ(doc.m_nSelStart, 900u);
    EXPECT_EQ(doc.m_nSelLength, 100u);

    Points(100, 800, 300, 300);
    doc.ShiftLoop(800, 0);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{100, 900, 998, 2}));
    doc.ShiftLoop(-2000, -10);
    EXPECT_EQ(State(), (std::vector<std::uint32_t>{0, 900, 0, 2}));
}

TEST_F(SamplePoints, TinySamplesKeepEveryPointInside) {
    for (std::uint32_t frames : {0u, 1u, 2u}) {
        doc.SetData(std::make_unique<std::int16_t[]>(frames), frames, 8000);
        doc.SetSampleRange(5, 5);
        doc.SetLoopRange(7, 3);
        doc.SetSelection(9, 9);
        doc.ShiftSelection(4, -10);
        doc.ShiftLoop(6, 6);
        for (std::uint64_t end : {std::uint64_t{doc.m_nStart} + doc.m_nLength,
                                  std::uint64_t{doc.m_nLoopStart} + doc.m_nLoopLength})
            EXPECT_LE(end, frames) << frames;
        EXPECT_LE(doc.m_nSelStart, frames);
        EXPECT_LE(doc.m_nLoopStart + 0ull, frames);
    }
}

TEST_F(SamplePoints, LoopPitchOffsetIsTruncatedCentsWithinTwoHundred) {
    Points(0, 1000, 0, 100); // the loop repeats at 441 Hz
    const struct {
        double pitch;
        bool found;
        int cents;
    } cases[] = {
        {441.0, true, 0},
        {441.0 / std::pow(2.0, 150.5 / 1200), true, 150},
        {441.0 * std::pow(2.0, 150.5 / 1200), true, -150},
        {441.0 / std::pow(2.0, 200.5 / 1200), true, 200},
        {441.0 / std::pow(2.0, 201.0 / 1200), false, 0},
        {441.0 / 2.1, false, 0},
        {0.0, false, 0},
    };
    for (const auto& c : cases) {
        doc.m_dPitch = c.pitch;
        doc.m_dLoopPitch = 330.0;
        int cents = 12345;
        EXPECT_EQ(doc.LoopPitchOffset(&cents), c.found) << c.pitch;
        EXPECT_EQ(cents, c.found ? c.cents : 12345) << c.pitch;
        EXPECT_EQ(doc.m_dLoopPitch, c.found ? 330.0 : 0.0);
    }
    doc.m_nLoopLength = 0;
    doc.m_dPitch = 441.0;
    EXPECT_FALSE(doc.LoopPitchOffset());
}
