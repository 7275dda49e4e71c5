#include "PerTestUi.h"
#include "WaveWindowHelpers.h"

#include "platform/ScriptedUi.h"

#include <QImage>

namespace {
// Counts the pixels of one colour in a widget's picture.
int PixelsOf(QWidget& widget, QColor colour) {
    QImage picture = widget.grab().toImage();
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelColor(x, y) == colour;
    return count;
}
} // namespace

class OverviewStripTest : public QObject {
    Q_OBJECT

    PerTestUi m_ui;

private slots:
    void init() { m_ui.Install(); }
    void cleanup() { m_ui.Remove(); }

    void aSecondIsDrawnAtSixtyFourFramesAColumn() {
        auto frame = ShowFrame(MakeSample(44100, 44100, true));
        QCOMPARE(frame->Strip()->Model().SamplesPerPixel(), 64);
        QCOMPARE(frame->Strip()->Model().Width(), 689);
    }

    void aDragChoosesTheSpanOfTheWaveformView() {
        auto frame = ShowFrame(MakeSample(44100, 44100, true));
        CSampleView2& strip = *frame->Strip();
        CSampleDoc& doc = frame->SampleDoc();
        QTest::mousePress(&strip, Qt::LeftButton, {}, StripPoint(strip, 300));
        QTest::mouseMove(&strip, StripPoint(strip, 200));
        QTest::mouseMove(&strip, StripPoint(strip, 100));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, StripPoint(strip, 100));
        QCOMPARE(doc.m_nSelStart, 6400u);
        QCOMPARE(doc.m_nSelLength, 12800u);
        QCOMPARE(frame->WaveView()->Model().SamplesPerPixel(), 16);
        QCOMPARE(frame->WaveView()->Model().Width(), 800);
        QVERIFY(frame->WaveView()->hasFocus());

        // A double click ends with the button going up.
        QTest::mouseDClick(&strip, Qt::LeftButton, {}, StripPoint(strip, 50));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, StripPoint(strip, 50));
        QCOMPARE(doc.m_nSelStart, 0u);
        QCOMPARE(doc.m_nSelLength, 44100u);
        QCOMPARE(frame->WaveView()->Model().SamplesPerPixel(), 64);
        QVERIFY(!doc.IsModified());

        // From beyond one edge to beyond the other: every column.
        QTest::mousePress(&strip, Qt::LeftButton, {}, QPoint(-5, 10));
        QTest::mouseMove(&strip, QPoint(strip.width() + 20, 10));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, QPoint(strip.width() + 20, 10));
        QCOMPARE(doc.m_nSelStart, 0u);
        QCOMPARE(doc.m_nSelLength, 689u * 64);
    }

    void hoveringShowsTheFrameOfTheWholeSample() {
        auto frame = ShowFrame(MakeSample(44100));
        // A move to where the pointer already is goes unreported: come from elsewhere.
        QTest::mouseMove(frame->Strip(), StripPoint(*frame->Strip(), 10));
        QTest::mouseMove(frame->Strip(), StripPoint(*frame->Strip(), 100));
        QCOMPARE(frame->PaneText(4), QString("  6400"));
        QCOMPARE(frame->PaneText(5), QString("0.145"));
    }

    void inTheLoopDisplayTheStripIsGreyAndADragChangesNothing() {
        auto frame = ShowFrame(MakeSample(44100, 44100, true));
        CSampleView2& strip = *frame->Strip();
        CSampleDoc& doc = frame->SampleDoc();
        doc.SetLoopRange(10000, 5000);
        doc.SetSelection(1000, 2000);
        doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        const QColor grey(127, 127, 127);
        QVERIFY(PixelsOf(strip, Qt::black) > 100);
        frame->OnCommand(Command::LoopDisplay);
        QVERIFY(PixelsOf(strip, grey) > 100);
        QCOMPARE(PixelsOf(strip, Qt::black), 0);

        QTest::mousePress(&strip, Qt::LeftButton, {}, StripPoint(strip, 300));
        QTest::mouseMove(&strip, StripPoint(strip, 100));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, StripPoint(strip, 100));
        QTest::mouseDClick(&strip, Qt::LeftButton, {}, StripPoint(strip, 100));
        QTest::mouseRelease(&strip, Qt::LeftButton, {}, StripPoint(strip, 100));
        QCOMPARE(doc.m_nSelStart, 1000u);
        QCOMPARE(doc.m_nSelLength, 2000u);
        QVERIFY(frame->WaveView()->hasFocus());
    }
};

QTEST_MAIN(OverviewStripTest)
#include "OverviewStripTest.moc"
