#include "ui/patch/BreakpointGraph.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

namespace {
using Model = CBreakpointGraphModel;

int CountPixels(const QImage& image, QRect area, bool (*test)(QColor)) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}
} // namespace

class BreakpointGraphTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QDialog> dialog;
    CBreakpointGraph* graph = nullptr;
    QStringList notices; // "kind:x,y" in the order received

    // A dialog whose 200 x 200 placeholder the graph replaces; 0..100 both ways, so logical
    // (x, y) sits at pixel (2x, 200 - 2y).
    void OpenDialog() {
        dialog = std::make_unique<QDialog>();
        dialog->resize(240, 240);
        auto* placeholder = new QFrame(dialog.get());
        placeholder->setObjectName("envelopeGraph");
        placeholder->setGeometry(20, 10, 200, 200);
        graph = new CBreakpointGraph;
        notices.clear();
        QVERIFY(graph->Attach(dialog.get(), "envelopeGraph", [this](int kind, std::uint32_t value) {
            notices << QStringLiteral("%1:%2,%3").arg(kind).arg(PackedX(value)).arg(PackedY(value));
        }));
        graph->SetXRange(0, 100, 0);
        graph->SetYRange(0, 100, 0);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    // Through the window, as the window system sends it: press, release, double click, release.
    void DoubleClick(QPoint pixel) {
        QWidget* window = graph->window();
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, graph->mapTo(window, pixel));
    }

private slots:
    void cleanup() { dialog.reset(); }

    void attachTakesThePlaceholdersNamePlaceAndLayoutSlot() {
        OpenDialog();
        QCOMPARE(dialog->findChild<QWidget*>("envelopeGraph"), graph);
        QCOMPARE(dialog->findChildren<QFrame*>().size(), 0);
        QCOMPARE(graph->geometry(), QRect(20, 10, 200, 200));
        QVERIFY(graph->isVisible());
        QCOMPARE(graph->cursor().shape(), Qt::CrossCursor);
        QVERIFY(!graph->Attach(dialog.get(), "noSuchItem", {}));

        QDialog owner;
        auto* layout = new QVBoxLayout(&owner);
        layout->addWidget(new QLabel("Level"));
        layout->addWidget(new QFrame);
        layout->itemAt(1)->widget()->setObjectName("curve");
        auto* curve = new CBreakpointGraph;
        QVERIFY(curve->Attach(&owner, "curve", {}));
        QCOMPARE(layout->indexOf(curve), 1);
        QCOMPARE(layout->count(), 2);
    }

    void clickAddsAPointAndDragMovesItUpToItsNeighbour() {
        OpenDialog();
        graph->SetPoint(0, 0, 50);
        graph->SetPoint(1, 60, 20);
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(81, 103));
        QCOMPARE(notices, QStringList{"1:40,49"}); // delivered before the press returns
        QTest::mouseMove(graph, QPoint(100, 60));
        QTest::mouseMove(graph, QPoint(190, 60));
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(190, 60));
        QCOMPARE(notices, (QStringList{"1:40,49", "1:50,70", "1:59,70", "0:0,0"}));
        QCOMPARE(graph->GetPointCount(), 3);
        QCOMPARE(graph->GetPointX(1), 59);
        QCOMPARE(graph->GetPointY(1), 70);
    }

    void rightButtonDragsOneUnitPerPixelAndEndsSilently() {
        OpenDialog();
        graph->SetXRange(0, 10000, 0);
        graph->SetPoint(0, 0, 0);
        graph->SetPoint(1, 5000, 50);
        QTest::mousePress(graph, Qt::RightButton, {}, QPoint(100, 100));
        QTest::mouseMove(graph, QPoint(104, 100));
        QTest::mouseRelease(graph, Qt::RightButton, {}, QPoint(104, 100));
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(graph, QPoint(104, 100));
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(104, 100));
        QCOMPARE(notices, (QStringList{"1:5000,50", "1:5004,50", "1:5004,50", "1:5200,50", "0:0,0"}));
    }

    void doubleClickRemovesAnyPointButTheFirst() {
        OpenDialog();
        graph->SetPoint(0, 0, 0);
        graph->SetPoint(1, 50, 50);
        DoubleClick(QPoint(0, 199));
        QCOMPARE(graph->GetPointCount(), 2);
        notices.clear();
        DoubleClick(QPoint(101, 101));
        QCOMPARE(graph->GetPointCount(), 1);
        // The first click picks the point up and puts it down; the second removes it.
        QCOMPARE(notices, (QStringList{"1:50,50", "0:0,0", "0:0,0"}));
    }

    void paintsTheOctaveLineTheHandleAndTheHoldLine() {
        OpenDialog();
        graph->SetXRange(0, 127, 12);
        graph->resize(120, 100);
        graph->SetPoint(0, 0, 50);
        QImage image = graph->grab().toImage();
        QCOMPARE(image.size(), QSize(120, 100));
        auto red = [](QColor c) { return c.red() > 200 && c.green() < 128; };
        auto dark = [](QColor c) { return c.value() < 100; };
        auto green = [](QColor c) { return c.green() > 100 && c.red() < 80; };
        // Middle C falls in column 56 or 57 of a 120-pixel key graph.
        QVERIFY(CountPixels(image, QRect(54, 0, 6, 100), red) >= 80);
        QCOMPARE(CountPixels(image, QRect(0, 0, 50, 100), red), 0);
        QVERIFY(CountPixels(image, QRect(0, 46, 4, 9), dark) > 0);
        // Dotted: some pixels along mid-height are green, not all.
        int dots = CountPixels(image, QRect(10, 50, 40, 1), green);
        QVERIFY2(dots >= 10 && dots < 40, qPrintable(QString::number(dots)));
    }
};

QTEST_MAIN(BreakpointGraphTest)
#include "BreakpointGraphTest.moc"
