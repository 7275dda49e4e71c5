#include "ui/wave/WaveArtwork.h"

#include "app/Artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace {
const QColor kStartGreen(0, 191, 0);
const QColor kStopRed(191, 0, 0);
const QColor kLoopGreen(0, 160, 0);
const QColor kLoopRed(220, 0, 0);

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    QPointF d = (to - from);
    double length = std::hypot(d.x(), d.y());
    if (length == 0)
        return;
    QPointF u = d / length, n(-u.y(), u.x());
    QPolygonF head{to, to - u * 3.5 + n * 2.5, to - u * 3.5 - n * 2.5};
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
}

// A marker: a vertical line with a flag pointing into the part it bounds.
void Marker(QPainter& p, QColor colour, bool dotted, bool flagRight, double x, double size) {
    QPen pen(colour, size / 16.0 * 1.6);
    pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    p.drawLine(QPointF(x, 1), QPointF(x, size - 1));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    double w = size * 0.4, h = size * 0.3;
    QPolygonF flag{{x, 1}, {x + (flagRight ? w : -w), 1 + h / 2}, {x, 1 + h}};
    p.drawPolygon(flag);
}

void Wave(QPainter& p, QRectF area) {
    QPainterPath path;
    for (int i = 0; i <= 24; ++i) {
        double t = i / 24.0;
        QPointF point(area.left() + t * area.width(),
                      area.center().y() - std::sin(t * 6.2832 * 1.5) * area.height() / 2);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

QPixmap ToolPixmap(Command command) {
    return DrawnPixmap(16, [command](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.4));
        switch (command) {
        case Command::Play:
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygonF{{4, 2}, {13, 8}, {4, 14}});
            break;
        case Command::LoopPlay:
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygonF{{2, 3}, {8, 7}, {2, 11}});
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(7, 4, 8, 9), 90 * 16, 270 * 16);
            Arrow(p, {11, 4.2}, {13.5, 4.2});
            break;
        case Command::Undo:
            // A hook bending back to the left.
            p.drawArc(QRectF(4, 4, 10, 9), -90 * 16, 180 * 16);
            p.drawLine(QPointF(9, 13), QPointF(5, 13));
            Arrow(p, {8.5, 4}, {2.5, 4});
            break;
        case Command::Redo:
            p.drawArc(QRectF(2, 4, 10, 9), 90 * 16, 180 * 16);
            p.drawLine(QPointF(7, 13), QPointF(11, 13));
            Arrow(p, {7.5, 4}, {13.5, 4});
            break;
        case Command::Stop:
            p.setBrush(Qt::black);
            p.drawRect(QRectF(3.5, 3.5, 9, 9));
            break;
        case Command::HorizontalZoom:
            Arrow(p, {8, 8}, {1.5, 8});
            Arrow(p, {8, 8}, {14.5, 8});
            break;
        case Command::HorizontalUnzoom:
            Arrow(p, {1, 8}, {6.5, 8});
            Arrow(p, {15, 8}, {9.5, 8});
            p.drawLine(QPointF(8, 3), QPointF(8, 13));
            break;
        case Command::VerticalZoom:
            Arrow(p, {8, 8}, {8, 1.5});
            Arrow(p, {8, 8}, {8, 14.5});
            break;
        case Command::VerticalUnzoom:
            Arrow(p, {8, 1}, {8, 6.5});
            Arrow(p, {8, 15}, {8, 9.5});
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
            break;
        case Command::SetStart:
            Marker(p, kStartGreen, false, true, 5, 16);
            break;
        case Command::SetStop:
            Marker(p, kStopRed, false, false, 11, 16);
            break;
        case Command::SetLoopStart:
            Marker(p, kLoopGreen, true, true, 5, 16);
            break;
        case Command::SetLoopEnd:
            Marker(p, kLoopRed, true, false, 11, 16);
            break;
        case Command::LoopDisplay:
            p.setPen(QPen(Qt::gray, 1));
            p.drawRect(QRectF(1.5, 2.5, 13, 11));
            p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
            p.setPen(QPen(Qt::black, 1.2));
            Wave(p, QRectF(2, 5, 12, 6));
            break;
        case Command::PitchDialog:
            p.setBrush(Qt::black);
            p.drawEllipse(QRectF(3, 10, 5, 4));
            p.drawLine(QPointF(7.6, 12), QPointF(7.6, 2));
            p.drawLine(QPointF(7.6, 2), QPointF(12, 5));
            break;
        default:
            break;
        }
    });
}
} // namespace

QIcon WaveToolIcon(Command command) {
    return QIcon(ToolPixmap(command));
}

QCursor MarkerCursor(CWaveViewModel::Cursor shape) {
    if (shape == CWaveViewModel::Cursor::Normal)
        return QCursor(Qt::ArrowCursor);
    const bool start = shape == CWaveViewModel::Cursor::Start || shape == CWaveViewModel::Cursor::LoopStart;
    const bool loop = shape == CWaveViewModel::Cursor::LoopStart || shape == CWaveViewModel::Cursor::LoopEnd;
    const QColor colour = start ? (loop ? kLoopGreen : kStartGreen) : (loop ? kLoopRed : kStopRed);
    QPixmap pixmap = DrawnPixmap(32, [&](QPainter& p) {
        // A white halo keeps the marker visible over the black wave.
        Marker(p, Qt::white, false, start, 16, 32);
        p.translate(0.5, 0.5);
        Marker(p, colour, loop, start, 16, 32);
    });
    return QCursor(pixmap, 16, 16);
}
