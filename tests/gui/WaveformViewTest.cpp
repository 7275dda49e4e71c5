#include "PerTestUi.h"
#include "WaveWindowHelpers.h"

#include "platform/ScriptedUi.h"
#include "testing/FakeAudioDevice.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>

namespace {
// Client pixels of the view, as painted.
QImage Picture(QWidget& widget) {
    return widget.grab().toImage();
}
} // namespace

class WaveformViewTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

    // A left drag across the view from one column to another.
    static void Mark(CSampleView1& view, int from, int to) {
        QTest::mousePress(&view, Qt::LeftButton, {}, ViewPoint(view, from));
        QTest::mouseMove(&view, ViewPoint(view, (from + to) / 2));
        QTest::mouseMove(&view, ViewPoint(view, to));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, ViewPoint(view, to));
    }

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void zoomShowsTheMarkedRangeOrHalvesTheSpan() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleView1& view = *frame->WaveView();
        CSampleDoc& doc = frame->SampleDoc();
        QCOMPARE(view.Model().SamplesPerPixel(), 8);
        Mark(view, 100, 300);
        QCOMPARE(view.Model().MarkStart(), 800u);
        QCOMPARE(view.Model().MarkLength(), 1600u);
        frame->OnCommand(Command::HorizontalZoom);
        QCOMPARE(doc.m_nSelStart, 800u);
        QCOMPARE(doc.m_nSelLength, 1600u);
        QCOMPARE(view.Model().MarkLength(), 0u);
        QCOMPARE(view.Model().SamplesPerPixel(), 2);
        QCOMPARE(frame->Strip()->Model().SpanStart(), 0u); // the strip only reads the selection
        frame->OnCommand(Command::HorizontalZoom);
        QCOMPARE(doc.m_nSelStart, 800u);
        QCOMPARE(doc.m_nSelLength, 800u);
        frame->OnCommand(Command::HorizontalUnzoom);
        QCOMPARE(doc.m_nSelStart, 400u);
        QCOMPARE(doc.m_nSelLength, 1600u);
        QVERIFY(!doc.IsModified());
    }

    void aSteadyToneAtFullViewIsOneBandWithoutGaps() {
        auto frame = ShowFrame(MakeSample(441000, 44100, true));
        CSampleView1& view = *frame->WaveView();
        QVERIFY(view.Model().Width() < view.width()); // the logical area is stretched over the window
        QImage picture = Picture(view);
        // A row the sine crosses in every column: 12000 of 32768 reaches well past a sixth of the half.
        const int row = view.height() / 2 - view.height() / 12;
        const int first = ViewPoint(view, 2).x();
        const int last = ViewPoint(view, view.Model().Width() - 2).x();
        int gaps = 0;
        for (int x = first; x <= last; ++x)
            gaps += qGray(picture.pixel(x, row)) > 64;
        QCOMPARE(gaps, 0);
    }

    void theWaveLabelIsNeverBelowTheDesktopsSmallestFont() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleView1& view = *frame->WaveView();
        QImage picture = Picture(view);
        // The label's dark rows, near the top left, above the silent wave's centre line.
        int top = -1;
        int bottom = -1;
        for (int y = 0; y < view.height() / 2 - 2; ++y)
            for (int x = 0; x < 200 && x < view.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 64) {
                    top = top < 0 ? y : top;
                    bottom = y;
                }
        QVERIFY(top >= 0);
        const int legible =
            QFontInfo(QFontDatabase::systemFont(QFontDatabase::SmallestReadableFont)).pixelSize();
        QVERIFY2(bottom - top + 1 >= legible * 6 / 10,
                 qPrintable(QString("%1 rows, legible %2 px").arg(bottom - top + 1).arg(legible)));
    }

    void theMarkedRangeIsShownInverted() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleView1& view = *frame->WaveView();
        Mark(view, 200, 400);
        QImage picture = Picture(view);
        const int top = 2; // above the silent wave and its centre line
        QCOMPARE(picture.pixelColor(ViewPoint(view, 300).x(), top), QColor(Qt::black));
        QCOMPARE(picture.pixelColor(ViewPoint(view, 100).x(), top), QColor(Qt::white));
        QCOMPARE(picture.pixelColor(ViewPoint(view, 500).x(), top), QColor(Qt::white));
    }

    void aRightDragPullsTheSpanAndTheStripFollowsOnRelease() {
        auto frame = ShowFrame(MakeSample(100000));
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetSelection(10000, 8000);
        doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        CSampleView1& view = *frame->WaveView();
        QTest::mousePress(&view, Qt::RightButton, {}, ViewPoint(view, 500));
        QTest::mouseMove(&view, ViewPoint(view, 400));
        QCOMPARE(doc.m_nSelStart, 10800u);
        QTest::mouseRelease(&view, Qt::RightButton, {}, ViewPoint(view, 400));
        QCOMPARE(view.Model().Mode(), 0);
    }

    void armedMarkersAreSetByAClickOrRefused() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleView1& view = *frame->WaveView();
        CSampleDoc& doc = frame->SampleDoc();
        QVERIFY(frame->IsCommandEnabled(Command::SetLoopStart));
        frame->OnCommand(Command::SetLoopStart);
        QVERIFY(!frame->IsCommandEnabled(Command::SetLoopStart));
        QVERIFY(frame->IsCommandEnabled(Command::SetLoopEnd));
        QCOMPARE(view.cursor().shape(), Qt::BitmapCursor);
        QTest::mouseClick(&view, Qt::LeftButton, {}, ViewPoint(view, 250));
        QCOMPARE(doc.m_nLoopStart, 2000u);
        QCOMPARE(doc.m_nLoopLength, 6000u);
        QCOMPARE(view.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(doc.IsModified());

        frame->OnCommand(Command::SetStart);
        QTest::mouseClick(&view, Qt::LeftButton, {}, ViewPoint(view, 500));
        QCOMPARE(m_ui->Messages(), std::vector<std::string>{"Can't set sample start inside the loop"});
        QCOMPARE(doc.m_nStart, 0u);
        QVERIFY(frame->IsCommandEnabled(Command::SetStart));

        frame->OnCommand(Command::SetStop);
        QTest::mouseClick(&view, Qt::RightButton, {}, ViewPoint(view, 900));
        QCOMPARE(view.Model().Mode(), 0);
        QCOMPARE(doc.StopPoint(), 8000u);
    }

    void verticalZoomAndThePitchGrid() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleView1& view = *frame->WaveView();
        frame->OnCommand(Command::VerticalZoom);
        QCOMPARE(view.Model().AmpDivisor(), 32);
        frame->OnCommand(Command::VerticalUnzoom);
        frame->OnCommand(Command::VerticalUnzoom);
        QCOMPARE(view.Model().AmpDivisor(), 64);
        QVERIFY(!frame->IsCommandChecked(Command::ViewPitchGrid));
        frame->OnCommand(Command::ViewPitchGrid);
        QVERIFY(frame->IsCommandChecked(Command::ViewPitchGrid));
    }

    void guessPitchIsEnabledFromTwentyTwoFramesAt44100Hz() {
        auto frame = ShowFrame(MakeSample(20000, 44100, true));
        CSampleView1& view = *frame->WaveView();
        view.Model().SetMark(1000, 21);
        QVERIFY(!frame->IsCommandEnabled(Command::GuessPitch));
        view.Model().SetMark(1000, 22);
        QVERIFY(frame->IsCommandEnabled(Command::GuessPitch));
        frame->SampleDoc().SetLoopRange(100, 1000);
        frame->OnCommand(Command::LoopDisplay);
        QVERIFY(!frame->IsCommandEnabled(Command::GuessPitch));
        frame->OnCommand(Command::LoopDisplay);

        view.Model().SetMark(1000, 4410);
        m_ui->QueueAnswer(Answer::Yes);
        frame->OnCommand(Command::GuessPitch);
        QCOMPARE(m_ui->Questions().size(), std::size_t{1});
        QVERIFY(std::abs(frame->SampleDoc().m_dPitch - 441.0) < 0.5);
        view.repaint();
        QVERIFY(frame->PaneText(3).startsWith("Pitch: A 4 +3."));
    }

    void loopDisplayDragsMoveTheLoop() {
        auto frame = ShowFrame(MakeSample(100000));
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetSelection(10000, 8000);
        doc.SetLoopRange(20000, 4000);
        doc.SetModifiedFlag(false);
        doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        frame->OnCommand(Command::LoopDisplay);
        CSampleView1& view = *frame->WaveView();
        QCOMPARE(view.Model().SamplesPerPixel(), 8);
        QTest::mousePress(&view, Qt::LeftButton, {}, ViewPoint(view, 100));
        QTest::mouseMove(&view, ViewPoint(view, 110));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, ViewPoint(view, 110));
        QCOMPARE(doc.m_nLoopLength, 4000u - 80);
        QVERIFY(doc.IsModified());
        QCOMPARE(view.Model().MarkLength(), 0u);
        // 390 columns left of the splice: 3120 frames before the loop end, now at 23920.
        QCOMPARE(frame->PaneText(4), QString(" 20800"));
    }

    void playSendsTheSampleOrTheMarkedRange() {
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        auto frame = ShowFrame(MakeSample(8000, 44100, true));
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetSampleRange(1000, 5000);
        const std::int16_t* audio = doc.m_pData.get();
        QVERIFY(frame->IsCommandEnabled(Command::Play));

        frame->OnCommand(Command::Play);
        QCOMPARE(device.WrittenHistory().size(), std::size_t{1});
        QCOMPARE(device.WrittenHistory()[0].pData, static_cast<const void*>(audio + 1000));
        QCOMPARE(device.WrittenHistory()[0].nBytes, std::size_t{5000 * 2});

        CSampleView1& view = *frame->WaveView();
        Mark(view, 100, 200); // 8 frames a column
        frame->OnCommand(Command::Play);
        QCOMPARE(device.WrittenHistory().size(), std::size_t{2});
        QCOMPARE(device.WrittenHistory()[1].pData, static_cast<const void*>(audio + 800));
        QCOMPARE(device.WrittenHistory()[1].nBytes, std::size_t{800 * 2});
        QCOMPARE(device.Opens(), 2);

        frame->OnCommand(Command::Stop);
        QVERIFY(!device.IsOpen());
        doc.SetLoopRange(2000, 1000);
        frame->OnCommand(Command::LoopPlay);
        QVERIFY(device.IsOpen());
        QCOMPARE(device.WrittenHistory().size(), std::size_t{4}); // the start, then the loop
        QCOMPARE(device.WrittenHistory()[2].pData, static_cast<const void*>(audio + 1000));
        QCOMPARE(device.WrittenHistory()[3].pData, static_cast<const void*>(audio + 2000));
        QVERIFY(device.CompleteOldest() && device.CompleteOldest());
        // Each finished buffer brings the loop back.
        QVERIFY(device.WrittenHistory().size() > 4);
        for (std::size_t i = 3; i < device.WrittenHistory().size(); ++i)
            QCOMPARE(device.WrittenHistory()[i].pData, static_cast<const void*>(audio + 2000));
        frame->OnCommand(Command::Truncate);
        QVERIFY(!device.IsOpen()); // nothing plays from audio that is being replaced
        frame->OnCommand(Command::LoopPlay);
        QVERIFY(device.IsOpen());
        frame.reset();
        QVERIFY(!device.IsOpen()); // closing the window stops the loop
        QCOMPARE(device.Misuses(), 0);
    }

    void aMarkBeyondTheAudioPlaysOnlyWhatIsLeft() {
        FakeAudioDevice device;
        ScopedAudioDevice deviceScope(device);
        auto frame = ShowFrame(MakeSample(8000));
        CSampleDoc& doc = frame->SampleDoc();
        frame->WaveView()->Model().SetMark(3000, 4000);
        doc.SetSampleRange(0, 5000);
        frame->OnCommand(Command::Truncate);
        frame->OnCommand(Command::Play);
        QCOMPARE(device.WrittenHistory().back().nBytes, std::size_t{2000 * 2});
        frame->WaveView()->Model().SetMark(6000, 100);
        frame->OnCommand(Command::Play);
        QCOMPARE(device.WrittenHistory().size(), std::size_t{1});
    }

    void aPitchChangeOnlyRefreshesThePitchPane() {
        auto frame = ShowFrame(MakeSample(8000));
        CSampleDoc& doc = frame->SampleDoc();
        doc.m_dPitch = 261.6256;
        doc.UpdateAllViews(nullptr, CSampleDoc::kPitchChangedHint);
        QCOMPARE(frame->PaneText(3), QString("Pitch: C 4 +0.00 (261.63 Hz)"));
    }
};

QTEST_MAIN(WaveformViewTest)
#include "WaveformViewTest.moc"
