#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
using Strings = std::vector<std::string>;
using Points = std::vector<std::uint32_t>; // start, length, loop start, loop length
using Rule = PointResult (CSampleDoc::*)(std::uint32_t);

// 1000 frames; by default sample 100..900 and loop 300..600.
class SamplePoints : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(1000), 1000, 44100);
        Set({100, 800, 300, 300});
    }
    void Set(const Points& p) {
        doc.m_nStart = p[0];
        doc.m_nLength = p[1];
        doc.m_nLoopStart = p[2];
        doc.m_nLoopLength = p[3];
        doc.SetModifiedFlag(false);
    }
    Points State() const { return {doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength}; }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(SamplePoints, RulesRefuseWithTheirMessageAndChangeNothing) {
    const std::tuple<Rule, std::uint32_t, const char*> cases[] = {
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
    for (const auto& [rule, p, message] : cases) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_EQ((doc.*rule)(p), PointResult::Refused) << message;
        EXPECT_EQ(caseUi.Messages(), Strings{message});
        EXPECT_EQ(State(), (Points{100, 800, 300, 300})) << message;
        EXPECT_FALSE(doc.IsModified()) << message;
    }
}

TEST_F(SamplePoints, RulesAcceptTheEdgesAndMarkTheDocumentModified) {
    const std::tuple<Points, Rule, std::uint32_t, Points> cases[] = {
        {{100, 800, 300, 300}, &CSampleDoc::SetSampleStop, 600, {100, 500, 300, 300}}, // at the loop end
        {{100, 800, 300, 300}, &CSampleDoc::SetLoopEnd, 900, {100, 800, 300, 600}},    // at the stop
        {{100, 800, 300, 300}, &CSampleDoc::SetSampleStart, 300, {300, 600, 300, 300}},
        {{100, 800, 300, 300}, &CSampleDoc::SetLoopStart, 599, {100, 800, 599, 1}},
        // With no loop, a loop start makes a loop to the stop.
        {{100, 800, 0, 0}, &CSampleDoc::SetLoopStart, 250, {100, 800, 250, 650}},
        // A loop made from its end starts no earlier than the sample.
        {{100, 800, 0, 0}, &CSampleDoc::SetLoopEnd, 500, {100, 800, 100, 400}},
        // With no stop point the sample runs to the end of the audio.
        {{100, 0, 0, 0}, &CSampleDoc::SetSampleStart, 500, {500, 500, 0, 0}},
        {{100, 0, 0, 0}, &CSampleDoc::SetSampleStart, 50, {50, 950, 0, 0}},
        {{100, 0, 0, 0}, &CSampleDoc::SetLoopStart, 700, {100, 0, 700, 300}},
    };
    for (const auto& [before, rule, p, after] : cases) {
        Set(before);
        EXPECT_EQ((doc.*rule)(p), PointResult::Changed) << p;
        EXPECT_EQ(State(), after) << p;
        EXPECT_TRUE(doc.IsModified());
    }
    Set({100, 0, 300, 100});
    EXPECT_EQ(doc.SetSampleStart(350), PointResult::Refused) << "a loop still holds without a stop point";
    EXPECT_EQ(ui.Messages(), Strings{"Can't set sample start inside the loop"});
}

TEST_F(SamplePoints, APositionBeyondTheSampleOnlyBeeps) {
    for (Rule rule : {&CSampleDoc::SetSampleStart, &CSampleDoc::SetSampleStop, &CSampleDoc::SetLoopStart,
                      &CSampleDoc::SetLoopEnd})
        for (std::uint32_t p : {1000u, 0xFFFFFFFFu})
            EXPECT_EQ((doc.*rule)(p), PointResult::Beyond);
    EXPECT_EQ(ui.Beeps(), 8);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(State(), (Points{100, 800, 300, 300}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(SamplePoints, RangeSettersClampToTheSampleAndHoldTheLoop) {
    doc.SetSampleRange(400, 100);
    EXPECT_EQ(State(), (Points{300, 300, 300, 300})) << "widened to hold the loop";
    EXPECT_TRUE(doc.IsModified());
    Set({100, 800, 0, 0});
    doc.SetSampleRange(200, 50);
    EXPECT_EQ(State(), (Points{200, 50, 0, 0})) << "no loop to hold";
    doc.SetLoopRange(990, 50);
    EXPECT_EQ(State(), (Points{200, 800, 990, 10}));
    doc.SetLoopRange(50, 100);
    EXPECT_EQ(State(), (Points{50, 800, 50, 100})) << "the start moves back; the length is kept";

    doc.SetSelection(10, 0xFFFFFFFF); // a + n past 4 G must not wrap around
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(10u, 990u));
    doc.SetSelection(5000, 10);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(998u, 2u));
    doc.ShiftSelection(-5000, -200);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(0u, 2u));
    doc.ShiftSelection(5000, 98);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(900u, 100u));

    Set({100, 800, 300, 300});
    doc.ShiftLoop(800, 0);
    EXPECT_EQ(State(), (Points{100, 900, 998, 2}));
    doc.ShiftLoop(-2000, -10);
    EXPECT_EQ(State(), (Points{0, 900, 0, 2}));
}

TEST_F(SamplePoints, SamplesOfFewerThanTwoFramesKeepEveryPointInside) {
    for (std::uint32_t frames : {0u, 1u, 2u}) {
        doc.SetData(std::make_unique<std::int16_t[]>(frames), frames, 8000);
        doc.SetSampleRange(5, 5);
        doc.SetLoopRange(7, 3);
        doc.SetSelection(9, 9);
        doc.ShiftSelection(4, -10);
        doc.ShiftLoop(6, 6);
        EXPECT_LE(std::uint64_t{doc.m_nStart} + doc.m_nLength, frames);
        EXPECT_LE(std::uint64_t{doc.m_nLoopStart} + doc.m_nLoopLength, frames);
        EXPECT_LE(doc.m_nSelStart, frames);
    }
}

TEST_F(SamplePoints, LoopPitchOffsetIsTruncatedCentsWithinTwoHundred) {
    Set({0, 1000, 0, 100}); // the loop repeats at 441 Hz
    for (const auto& [pitch, cents] :
         std::vector<std::pair<double, int>>{{441.0, 0},
                                             {441.0 / std::pow(2.0, 150.5 / 1200), 150},
                                             {441.0 * std::pow(2.0, 150.5 / 1200), -150},
                                             {441.0 / std::pow(2.0, 200.5 / 1200), 200},
                                             {441.0 / std::pow(2.0, 201.0 / 1200), 0},
                                             {441.0 / 2.1, 0},
                                             {0.0, 0}}) {
        bool found = cents != 0 || pitch == 441.0;
        doc.m_dPitch = pitch;
        doc.m_dLoopPitch = 330.0;
        int result = 12345;
        EXPECT_EQ(doc.LoopPitchOffset(&result), found) << pitch;
        EXPECT_EQ(result, found ? cents : 12345) << pitch;
        EXPECT_EQ(doc.m_dLoopPitch, found ? 330.0 : 0.0) << "a failure clears the loop pitch";
    }
    doc.m_nLoopLength = 0;
    doc.m_dPitch = 441.0;
    EXPECT_FALSE(doc.LoopPitchOffset());
}
