#include "ui/wave/WaveViewModel.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

namespace {
using Views = MouseOutcome::Views;

class WaveViewModel : public ::testing::Test {
protected:
    // 100000 frames at 44100 Hz; the view shows 8000 of them from frame 10000, at 8 frames a
    // column over 1000 columns, one pixel a column.
    void SetUp() override {
        doc.SetData(std::make_unique<std::int16_t[]>(100000), 100000, 44100);
        doc.m_nLength = 100000;
        doc.SetSelection(10000, 8000);
        doc.SetModifiedFlag(false);
        Rescale();
    }
    void Rescale() {
        model.Rescale(doc);
        model.SetClientSize(model.Width(), 300);
    }

    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
    CWaveViewModel model;
};
} // namespace

TEST(WaveViewScale, AtMost1200ColumnsAtAPowerOfTwoFramesEach) {
    EXPECT_EQ(FramesPerColumnFor(0), 1);
    EXPECT_EQ(FramesPerColumnFor(1200), 1);
    EXPECT_EQ(FramesPerColumnFor(1201), 2);
    EXPECT_EQ(FramesPerColumnFor(2402), 4);
    EXPECT_EQ(FramesPerColumnFor(44100), 64);
    EXPECT_EQ(FramesPerColumnFor(0xFFFFFFFFu), 4194304);
}

TEST(WaveViewScale, TheLogicalAreaIsStretchedOverTheClientArea) {
    StretchedArea area{800, 1024, 400, 256};
    EXPECT_EQ(area.ColumnAt(200), 400);
    EXPECT_EQ(area.ColumnAt(399), 798);
    EXPECT_EQ(area.PixelAt(400), 200);
    EXPECT_EQ(area.PixelAt(-10), -5);
    EXPECT_EQ(area.Mapping().windowExt, (SurfacePoint{800, 1024}));
    EXPECT_EQ(area.Mapping().viewportExt, (SurfacePoint{400, 256}));
}

TEST_F(WaveViewModel, TheSpanSetsTheScale) {
    EXPECT_EQ(std::pair(model.SamplesPerPixel(), model.Width()), std::pair(8, 1000));
    doc.SetSelection(0, 1200);
    Rescale();
    EXPECT_EQ(std::pair(model.SamplesPerPixel(), model.Width()), std::pair(1, 1200));
    doc.SetSelection(0, 1201);
    Rescale();
    EXPECT_EQ(std::pair(model.SamplesPerPixel(), model.Width()), std::pair(2, 600));
    doc.SetSelection(5, 0);
    Rescale();
    EXPECT_EQ(std::pair(model.SamplesPerPixel(), model.Width()), std::pair(1, 600))
        << "no span keeps the width";
}

TEST_F(WaveViewModel, UnzoomDoublesTheSpanAroundItsMiddle) {
    model.ZoomOut(doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(6000u, 16000u));
    doc.SetSelection(3000, 8000);
    model.ZoomOut(doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(0u, 16000u)) << "not before the start";
    doc.SetSelection(60000, 40000);
    model.ZoomOut(doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(40000u, 60000u))
        << "held in the sample";
}

TEST_F(WaveViewModel, HomeAndEndMoveTheSpanToAnEdgeKeepingItsLength) {
    model.ShowEnd(doc);
    EXPECT_EQ(doc.m_nSelStart, 92000u);
    EXPECT_EQ(doc.m_nSelLength, 8000u);
    model.ShowStart(doc);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 8000u);
    // The whole sample shown: nowhere to go.
    doc.SetSelection(0, 100000);
    model.ShowEnd(doc);
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 100000u);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(WaveViewModel, VerticalZoomRunsBetweenDivisorsOneAndSixtyFour) {
    int steps = 0;
    while (model.VerticalZoomIn())
        ++steps;
    EXPECT_EQ(steps, 6);
    EXPECT_EQ(model.AmpDivisor(), 1);
    steps = 0;
    while (model.VerticalZoomOut())
        ++steps;
    EXPECT_EQ(steps, 6);
    EXPECT_EQ(model.AmpDivisor(), 64);
}

TEST_F(WaveViewModel, AMarkStopsAtTheEdgesOfTheArea) {
    model.LeftPress(900, false, doc);
    model.Move(1500, false, doc);
    model.LeftRelease(1500, false, doc);
    EXPECT_EQ(std::pair(model.MarkStart(), model.MarkLength()), std::pair(10000u + 900 * 8, 100u * 8));
    model.LeftPress(700, false, doc);
    EXPECT_EQ(model.MarkLength(), 0u) << "a new press drops the old mark";
    model.LeftRelease(700, false, doc);
    EXPECT_EQ(model.MarkLength(), 0u) << "a click marks nothing";
    EXPECT_FALSE(model.HighlightForPaint(doc, false));
}

TEST_F(WaveViewModel, ASampleWithoutAudioHasNothingToMarkAndNoPosition) {
    doc.SetData(std::make_unique<std::int16_t[]>(0), 0, 44100);
    Rescale();
    EXPECT_FALSE(model.LeftPress(437, false, doc).capture);
    MouseOutcome moved = model.Move(437, false, doc);
    EXPECT_FALSE(moved.position);
    model.LeftRelease(437, false, doc);
    EXPECT_EQ(std::pair(model.MarkStart(), model.MarkLength()), std::pair(0u, 0u));
}

TEST_F(WaveViewModel, TheDocumentsRefusalEndsTheArmedMode) {
    doc.SetLoopRange(12000, 2000);
    model.Arm(CWaveViewModel::kArmedStart);
    model.LeftRelease(300, false, doc); // frame 12400, inside the loop
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages().back(), "Can't set sample start inside the loop");
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);

    doc.SetSelection(99000, 1000);
    Rescale();
    model.Arm(CWaveViewModel::kArmedStop);
    model.LeftRelease(model.Width(), false, doc); // frame 100000, beyond the last
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
}

TEST_F(WaveViewModel, LoopDisplayDragsMoveTheLoopEndTheLoopStartOrTheWholeLoop) {
    doc.SetLoopRange(20000, 4000);
    doc.SetModifiedFlag(false);
    // Left half: the loop end follows the wave.
    model.LeftPress(100, true, doc);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kDraggingLoopEnd);
    EXPECT_TRUE(model.Move(110, true, doc).rescale);
    EXPECT_EQ(std::pair(doc.m_nLoopStart, doc.m_nLoopLength), std::pair(20000u, 4000u - 80));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(model.LeftRelease(110, true, doc).views, Views::All);
    // Right half: the loop start.
    model.LeftPress(600, true, doc);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kDraggingLoopStart);
    model.Move(590, true, doc);
    EXPECT_EQ(std::pair(doc.m_nLoopStart, doc.m_nLoopLength), std::pair(20080u, 3840u));
    model.LeftRelease(590, true, doc);
    // Right button: the whole loop slides.
    model.RightPress(500, true);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kSlidingLoop);
    model.Move(480, true, doc);
    EXPECT_EQ(std::pair(doc.m_nLoopStart, doc.m_nLoopLength), std::pair(20240u, 3840u));
    EXPECT_EQ(model.RightRelease(true).views, Views::All);
}

TEST_F(WaveViewModel, LoopDisplayPositionsCountFromTheSplice) {
    doc.SetLoopRange(20000, 4000);
    EXPECT_EQ(model.Move(500, true, doc).position, 20000);
    EXPECT_EQ(model.Move(510, true, doc).position, 20080);
    EXPECT_EQ(model.Move(490, true, doc).position, 24000 - 80);
    doc.SetLoopRange(0, 100);
    EXPECT_EQ(model.Move(0, true, doc).position, 0) << "not below the first frame";
}

TEST_F(WaveViewModel, ALeftReleaseInTheLoopDisplayDropsAnArmedMarker) {
    model.Arm(CWaveViewModel::kArmedStart);
    EXPECT_EQ(model.LeftRelease(300, true, doc).views, Views::All);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
    EXPECT_EQ(doc.m_nStart, 0u);
    EXPECT_TRUE(ui.Messages().empty());
}
