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

TEST_F(WaveViewModel, ZoomShowsTheMarkedRangeOrHalfTheSpan) {
    model.SetMark(12000, 3000);
    model.ZoomIn(doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(12000u, 3000u));
    EXPECT_EQ(model.MarkLength(), 0u) << "the mark is used up";
    model.ZoomIn(doc);
    EXPECT_EQ(std::pair(doc.m_nSelStart, doc.m_nSelLength), std::pair(12000u, 1500u));
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

TEST_F(WaveViewModel, GuessPitchNeedsTwoPeriodsOf4000HzInTheNormalDisplay) {
    model.SetMark(20000, 21);
    EXPECT_FALSE(model.CanGuessPitch(doc, false));
    model.SetMark(20000, 22);
    EXPECT_TRUE(model.CanGuessPitch(doc, false));
    EXPECT_FALSE(model.CanGuessPitch(doc, true));
    doc.m_nRate = 8000;
    model.SetMark(20000, 4);
    EXPECT_TRUE(model.CanGuessPitch(doc, false));
}

TEST_F(WaveViewModel, ALeftDragMarksTheColumnsItCrossed) {
    MouseOutcome press = model.LeftPress(300, false, doc);
    EXPECT_TRUE(press.capture);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kMarking);
    EXPECT_EQ(model.MarkStart(), 10000u + 300 * 8);
    MouseOutcome move = model.Move(120, false, doc);
    EXPECT_TRUE(move.repaint);
    EXPECT_EQ(move.position, 10000 + 120 * 8);
    EXPECT_EQ(model.HighlightForPaint(doc, false), std::pair(120, 300));
    MouseOutcome release = model.LeftRelease(120, false, doc);
    EXPECT_TRUE(release.release);
    EXPECT_EQ(release.views, Views::None);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
    EXPECT_EQ(std::pair(model.MarkStart(), model.MarkLength()), std::pair(10000u + 120 * 8, 180u * 8));
    // The marked range moves with the span.
    doc.SetSelection(10000 + 100 * 8, 8000);
    EXPECT_EQ(model.HighlightForPaint(doc, false), std::pair(20, 200));
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

TEST_F(WaveViewModel, ARightDragPullsTheSpanAlong) {
    EXPECT_TRUE(model.RightPress(500, false).capture);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kDraggingSpan);
    MouseOutcome move = model.Move(400, false, doc);
    EXPECT_TRUE(move.rescale);
    EXPECT_EQ(doc.m_nSelStart, 10000u + 100 * 8) << "dragging left shows later frames";
    model.Move(450, false, doc);
    EXPECT_EQ(doc.m_nSelStart, 10000u + 50 * 8);
    EXPECT_FALSE(doc.IsModified()) << "the span is not part of the sample";
    EXPECT_EQ(model.RightRelease(true).views, Views::Others);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
}

TEST_F(WaveViewModel, AnArmedMarkerIsPlacedByTheNextLeftRelease) {
    model.Arm(CWaveViewModel::kArmedStop);
    EXPECT_EQ(model.CursorShape(), CWaveViewModel::Cursor::Stop);
    EXPECT_EQ(model.LeftPress(250, false, doc), MouseOutcome{}) << "the press is ignored";
    MouseOutcome release = model.LeftRelease(250, false, doc);
    EXPECT_EQ(release.views, Views::All);
    EXPECT_EQ(doc.StopPoint(), 10000u + 250 * 8);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
    EXPECT_EQ(model.CursorShape(), CWaveViewModel::Cursor::Normal);

    model.Arm(CWaveViewModel::kArmedLoopStart);
    model.LeftRelease(100, false, doc);
    model.Arm(CWaveViewModel::kArmedLoopEnd);
    model.LeftRelease(200, false, doc);
    EXPECT_EQ(std::pair(doc.m_nLoopStart, doc.m_nLoopLength), std::pair(10800u, 800u));
    model.Arm(CWaveViewModel::kArmedStart);
    model.LeftRelease(50, false, doc);
    EXPECT_EQ(doc.m_nStart, 10400u);
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

TEST_F(WaveViewModel, ARightReleaseDropsAnArmedMarker) {
    model.Arm(CWaveViewModel::kArmedLoopEnd);
    model.RightPress(100, false);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kArmedLoopEnd) << "still armed while the button is down";
    model.RightRelease(true);
    EXPECT_EQ(model.Mode(), CWaveViewModel::kIdle);
    EXPECT_EQ(doc.m_nLoopLength, 0u);
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

TEST_F(WaveViewModel, EachArmedModeHasItsCursor) {
    const std::pair<CWaveViewModel::MouseMode, CWaveViewModel::Cursor> cursors[] = {
        {CWaveViewModel::kArmedStart, CWaveViewModel::Cursor::Start},
        {CWaveViewModel::kArmedStop, CWaveViewModel::Cursor::Stop},
        {CWaveViewModel::kArmedLoopStart, CWaveViewModel::Cursor::LoopStart},
        {CWaveViewModel::kArmedLoopEnd, CWaveViewModel::Cursor::LoopEnd},
        {CWaveViewModel::kDraggingSpan, CWaveViewModel::Cursor::Normal},
    };
    for (auto [mode, cursor] : cursors) {
        model.Arm(mode);
        EXPECT_EQ(model.CursorShape(), cursor);
        EXPECT_TRUE(model.IsArmed(mode));
    }
}
