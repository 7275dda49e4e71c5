#include "sample/PointsDialog.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

namespace {
using Strings = std::vector<std::string>;
using Points = std::vector<std::uint32_t>; // start, length, loop start, loop length

// 1000 frames at 1000 Hz; sample 100..900, loop 300..600, marked 10..20.
class EditPointsTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(1000), 1000, 1000);
        doc.m_nStart = 100;
        doc.m_nLength = 800;
        doc.m_nLoopStart = 300;
        doc.m_nLoopLength = 300;
        doc.SetModifiedFlag(false);
    }
    Points State() const { return {doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength}; }
    // The dialog's answer: the points as they stand, changed by `edit`.
    template <class Edit> bool Run(Edit edit) {
        PointsValues typed = PointsDialogValues(doc, markStart, markLength);
        edit(typed);
        ui.QueueDialog<PointsValues>(typed);
        return EditPoints(doc, markStart, markLength);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    std::uint32_t markStart = 10;
    std::uint32_t markLength = 10;
};
} // namespace

TEST_F(EditPointsTest, OpensWithThePointsAndTheMark) {
    ui.QueueDialog<PointsValues>(std::nullopt);
    EXPECT_FALSE(EditPoints(doc, markStart, markLength));
    ASSERT_NE(ui.LastDialogRequest<PointsValues>(), nullptr);
    PointsValues shown = *ui.LastDialogRequest<PointsValues>();
    EXPECT_EQ((Points{shown.sampleStart, shown.sampleStop, shown.loopStart, shown.loopEnd, shown.markStart,
                      shown.markEnd, shown.frames, shown.rate}),
              (Points{100, 900, 300, 600, 10, 20, 1000, 1000}));
    EXPECT_TRUE(shown.loop);
    EXPECT_EQ(State(), (Points{100, 800, 300, 300}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditPointsTest, AMovedSetIsAcceptedWhateverTheOldOrder) {
    // Every new point lies beyond the old stop: one rule at a time over the old points would refuse.
    doc.SetData(std::make_unique<std::int16_t[]>(2000), 2000, 1000);
    doc.m_nStart = 0;
    doc.m_nLength = 500;
    doc.m_nLoopStart = 100;
    doc.m_nLoopLength = 100;
    ASSERT_TRUE(Run([](PointsValues& v) {
        v.sampleStart = 1000;
        v.sampleStop = 1800;
        v.loopStart = 1200;
        v.loopEnd = 1500;
        v.markStart = 0;
        v.markEnd = 2000;
    }));
    EXPECT_EQ(State(), (Points{1000, 800, 1200, 300}));
    EXPECT_EQ(markStart, 0u);
    EXPECT_EQ(markLength, 2000u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(EditPointsTest, EmptyLoopAndStopAtTheEndAreAccepted) {
    ASSERT_TRUE(Run([](PointsValues& v) {
        v.loop = false;
        v.sampleStop = 1000;
    }));
    EXPECT_EQ(State(), (Points{100, 900, 0, 0}));
    ASSERT_TRUE(Run([](PointsValues& v) {
        v.loop = true;
        v.loopStart = 500;
        v.loopEnd = 1000;
    }));
    EXPECT_EQ(State(), (Points{100, 900, 500, 500}));
}

TEST_F(EditPointsTest, RefusalsGiveTheRuleMessageAndChangeNothing) {
    struct Case {
        void (*edit)(PointsValues&);
        const char* message;
    };
    const Case cases[] = {
        {[](PointsValues& v) { v.sampleStop = 50; }, "Can't set sample stop before sample start"},
        {[](PointsValues& v) { v.loopStart = 50; }, "Can't set loop start before sample start"},
        {[](PointsValues& v) { v.loopStart = 950; }, "Can't set loop start after sample stop"},
        {[](PointsValues& v) { v.loopEnd = 950; }, "Can't set loop end after sample stop"},
        {[](PointsValues& v) { v.loopEnd = 200; }, "Can't set loop end before loop start"},
        {[](PointsValues& v) { v.sampleStart = 1000; },
         "Can't set the sample start at the end of the sample"},
        {[](PointsValues& v) { v.loopEnd = 1001; }, "Can't set a point beyond the end of the sample"},
        {[](PointsValues& v) { v.markEnd = 5; }, "Can't set the mark end before the mark start"},
    };
    for (const Case& c : cases) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        PointsValues typed = PointsDialogValues(doc, markStart, markLength);
        c.edit(typed);
        caseUi.QueueDialog<PointsValues>(typed);
        caseUi.QueueDialog<PointsValues>(std::nullopt); // asked again with the refused values: cancel
        EXPECT_FALSE(EditPoints(doc, markStart, markLength)) << c.message;
        ASSERT_NE(caseUi.LastDialogRequest<PointsValues>(), nullptr);
        EXPECT_EQ(caseUi.LastDialogRequest<PointsValues>()->markEnd, typed.markEnd) << c.message;
        EXPECT_EQ(caseUi.LastDialogRequest<PointsValues>()->loopEnd, typed.loopEnd) << c.message;
        EXPECT_EQ(caseUi.Messages(), Strings{c.message});
        EXPECT_EQ(State(), (Points{100, 800, 300, 300})) << c.message;
        EXPECT_EQ(markStart, 10u);
        EXPECT_EQ(markLength, 10u);
        EXPECT_FALSE(doc.IsModified()) << c.message;
    }
}

TEST_F(EditPointsTest, ARefusedSetCanBeMendedInTheSecondAsking) {
    PointsValues typed = PointsDialogValues(doc, markStart, markLength);
    typed.loopStart = 950;
    ui.QueueDialog<PointsValues>(typed);
    typed.loopStart = 400;
    ui.QueueDialog<PointsValues>(typed);
    EXPECT_TRUE(EditPoints(doc, markStart, markLength));
    EXPECT_EQ(ui.Messages(), Strings{"Can't set loop start after sample stop"});
    EXPECT_EQ(State(), (Points{100, 800, 400, 200}));
}

TEST_F(EditPointsTest, UnchangedPointsLeaveTheDocumentUnmodified) {
    doc.m_nLength = 0; // no stop point
    ASSERT_TRUE(Run([](PointsValues& v) { v.markStart = v.markEnd = 30; }));
    EXPECT_EQ(State(), (Points{100, 0, 300, 300}));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(markStart, 30u);
    EXPECT_EQ(markLength, 0u);
}

TEST(PointText, SecondsRoundTripEveryFrameAndRoundTypedOnes) {
    for (std::uint32_t rate : {8000u, 44100u, 96000u})
        for (std::uint32_t frame : {0u, 1u, 44099u, 44101u, 1234567u}) {
            auto back = ParsePointText(PointText(frame, true, rate), true, rate, 2000000);
            ASSERT_TRUE(std::holds_alternative<std::uint32_t>(back));
            EXPECT_EQ(std::get<std::uint32_t>(back), frame) << rate;
        }
    EXPECT_EQ(PointText(22050, true, 44100), "0.500000");
    EXPECT_EQ(PointText(22050, false, 44100), "22050");
    EXPECT_EQ(std::get<std::uint32_t>(ParsePointText("0.5000001", true, 44100, 44100)), 22050u);
    EXPECT_EQ(std::get<std::string>(ParsePointText("1.5", true, 1000, 1000)),
              "Please enter a number between 0 and 1.");
    EXPECT_EQ(std::get<std::string>(ParsePointText("1001", false, 1000, 1000)),
              "Please enter an integer between 0 and 1000.");
    EXPECT_EQ(std::get<std::string>(ParsePointText("x", false, 1000, 1000)),
              "Please enter a positive integer.");
}
