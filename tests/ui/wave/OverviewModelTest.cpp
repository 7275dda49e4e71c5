#include "ui/wave/OverviewModel.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

namespace {
class OverviewModel : public ::testing::Test {
protected:
    // A second of silence at 44100 Hz, shown on a strip one pixel a column.
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(44100), 44100, 44100);
        model.Rescale(doc);
        model.SetClientSize(model.Width(), 50);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    COverviewModel model;
};
} // namespace

TEST_F(OverviewModel, TheWholeSampleFitsIn1200ColumnsAtMost) {
    EXPECT_EQ(model.SamplesPerPixel(), 64);
    EXPECT_EQ(model.Width(), 689);
    doc.ClearData();
    model.Rescale(doc);
    EXPECT_EQ(model.SamplesPerPixel(), 1);
    EXPECT_EQ(model.Width(), 689) << "an empty sample keeps the width";
}

TEST_F(OverviewModel, ADragChoosesTheSpanAndTellsTheWaveformView) {
    EXPECT_TRUE(model.LeftPress(300, false).capture);
    EXPECT_EQ(model.Move(100, doc).position, 100 * 64);
    EXPECT_EQ(model.HighlightForPaint(doc, false), std::pair(100, 300))
        << "the highlight follows the pointer";
    COverviewModel::Outcome released = model.LeftRelease(false, true, doc);
    EXPECT_TRUE(released.updateOthers && released.activateWaveform && released.release);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(100u * 64, 200u * 64));
    EXPECT_EQ(model.HighlightForPaint(doc, false), std::pair(100, 300));
}

TEST_F(OverviewModel, EdgeToEdgeShowsAllTheColumnsAndADoubleClickTheWholeSample) {
    model.LeftPress(-20, false);
    model.Move(900, doc);
    model.LeftRelease(false, true, doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(0u, 689u * 64));
    doc.SetSelection(500, 600);
    COverviewModel::Outcome outcome = model.DoubleClick(false, doc);
    EXPECT_TRUE(outcome.updateOthers && outcome.activateWaveform);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(0u, 44100u));
}

TEST_F(OverviewModel, InTheLoopDisplayAClickOnlyHandsBackTheFocus) {
    doc.SetSelection(1000, 2000);
    COverviewModel::Outcome handBack;
    handBack.activateWaveform = true;
    EXPECT_EQ(model.LeftPress(10, true), handBack);
    model.Move(400, doc);
    EXPECT_EQ(model.LeftRelease(true, false, doc), COverviewModel::Outcome{});
    EXPECT_EQ(model.DoubleClick(true, doc), handBack);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(1000u, 2000u));
    EXPECT_FALSE(model.HighlightForPaint(doc, true));
}

TEST_F(OverviewModel, HoveringGivesTheFrameInTheWholeSampleScale) {
    EXPECT_EQ(model.Move(10, doc).position, 640);
    EXPECT_EQ(model.Move(5000, doc).position, 689 * 64) << "clamped to the width";
    EXPECT_FALSE(model.Move(5, doc).repaint) << "no drag, no highlight";
    model.SetClientSize(689 * 2, 50);
    EXPECT_EQ(model.Move(20, doc).position, 640) << "two pixels a column";
}

TEST_F(OverviewModel, TheHighlightIsTheDisplayedSpan) {
    doc.SetSelection(6400, 12800);
    EXPECT_EQ(model.HighlightForPaint(doc, false), std::pair(100, 300));
    doc.SetSelection(0, 0);
    EXPECT_FALSE(model.HighlightForPaint(doc, false));
}
