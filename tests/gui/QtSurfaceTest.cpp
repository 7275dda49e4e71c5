#include "ui/QtSurface.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {
int DarkPixels(const QImage& image, QRect area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++count;
    return count;
}
} // namespace

class QtSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void thinLinesSurviveAStretchedMapping() {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QtSurface surface(painter);
            // 20000 logical columns over 200 pixels: a one-unit line is far thinner than a pixel.
            surface.SetMapping({{0, 0}, {20000, 1024}, {0, 0}, {200, 100}});
            surface.Line({10000, 0}, {10000, 1024});
        }
        QVERIFY(DarkPixels(image, QRect(98, 0, 5, 100)) >= 90);
    }

    void invertingTwiceRestores() {
        QImage image(50, 50, QImage::Format_RGB32);
        image.fill(QColor(10, 200, 30));
        QImage before = image.copy();
        {
            QPainter painter(&image);
            QtSurface surface(painter);
            surface.InvertRect({5, 5, 20, 20});
        }
        QCOMPARE(image.pixelColor(10, 10), QColor(245, 55, 225));
        QCOMPARE(image.pixelColor(30, 30), QColor(10, 200, 30));
        {
            QPainter painter(&image);
            QtSurface surface(painter);
            surface.InvertRect({5, 5, 20, 20});
        }
        QCOMPARE(image, before);
    }

    void textIsDrawn() {
        QImage image(200, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QtSurface surface(painter);
            surface.SetMapping({{0, 0}, {100, 1024}, {0, 0}, {200, 60}});
            surface.SelectFont({"Sans", 300, 400});
            surface.Text({2, 10}, "44100 Hz stereo");
        }
        QVERIFY(DarkPixels(image, image.rect()) > 20);
    }

    void clipStopsDrawingOutsideTheRectangle() {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QtSurface surface(painter);
            surface.ClipTo({0, 0, 50, 100});
            // Set after the clip: the clip stays where it was in pixels.
            surface.SetMapping({{0, 0}, {10, 10}, {0, 0}, {100, 100}});
            surface.ClipTo({0, 0, 10, 5});
            surface.FillRect({0, 0, 10, 10}, {0, 0, 0});
        }
        QCOMPARE(DarkPixels(image, QRect(0, 0, 50, 50)), 50 * 50);
        QCOMPARE(DarkPixels(image, QRect(50, 0, 50, 100)), 0);
        QCOMPARE(DarkPixels(image, QRect(0, 50, 50, 50)), 0);
    }
};

QTEST_MAIN(QtSurfaceTest)
#include "QtSurfaceTest.moc"
