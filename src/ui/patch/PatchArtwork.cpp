#include "ui/patch/PatchArtwork.h"

#include "app/Artwork.h"
#include "ui/patch/PatchTreeModel.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor kPatchBlue(30, 80, 170);
const QColor kLayerGreen(20, 130, 60);
const QColor kMissingRed(200, 30, 30);
const QColor kSampleGrey(70, 70, 70);

// A patch: a small keyboard under a lid.
void Patch(QPainter& p, double s) {
    p.setPen(QPen(kPatchBlue, s / 12));
    p.setBrush(QColor(220, 230, 250));
    p.drawRect(QRectF(s * 0.08, s * 0.25, s * 0.84, s * 0.55));
    p.setPen(QPen(Qt::black, s / 16));
    for (int i = 1; i < 5; ++i)
        p.drawLine(QPointF(s * (0.08 + 0.168 * i), s * 0.45), QPointF(s * (0.08 + 0.168 * i), s * 0.8));
    p.setBrush(Qt::black);
    for (double x : {0.2, 0.37, 0.62})
        p.drawRect(QRectF(s * x, s * 0.45, s * 0.1, s * 0.18));
}

// A layer: two stacked sheets.
void Layer(QPainter& p, double s, const QColor& colour) {
    p.setPen(QPen(colour, s / 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.3, s * 0.1, s * 0.6, s * 0.55));
    p.setBrush(colour.lighter(170));
    p.drawRect(QRectF(s * 0.1, s * 0.3, s * 0.6, s * 0.55));
}

// A sample: one cycle of a wave.
void Sample(QPainter& p, double s) {
    QPainterPath path;
    path.moveTo(s * 0.1, s * 0.5);
    path.cubicTo(s * 0.3, s * -0.05, s * 0.4, s * -0.05, s * 0.5, s * 0.5);
    path.cubicTo(s * 0.6, s * 1.05, s * 0.7, s * 1.05, s * 0.9, s * 0.5);
    p.setPen(QPen(kSampleGrey, s / 9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void Cross(QPainter& p, QRectF box, const QColor& colour) {
    p.setPen(QPen(colour, box.width() / 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void Plus(QPainter& p, QPointF centre, double half, const QColor& colour) {
    p.setPen(QPen(colour, half / 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre - QPointF(half, 0), centre + QPointF(half, 0));
    p.drawLine(centre - QPointF(0, half), centre + QPointF(0, half));
}
} // namespace

QIcon PatchToolIcon(Command command) {
    return QIcon(DrawnPixmap(16, [command](QPainter& p) {
        switch (command) {
        case Command::NewPatch:
            Patch(p, 16);
            Plus(p, {12.5, 3.5}, 3, kLayerGreen);
            break;
        case Command::AddLayer:
            Layer(p, 16, kLayerGreen);
            Plus(p, {12.5, 12.5}, 3, kPatchBlue);
            break;
        case Command::DeleteObject:
            Cross(p, QRectF(3, 3, 10, 10), kMissingRed);
            break;
        case Command::ReplaceLayer:
            Layer(p, 16, kLayerGreen);
            p.setPen(QPen(kPatchBlue, 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(7, 7, 8, 8), 90 * 16, 270 * 16);
            p.setBrush(kPatchBlue);
            p.drawPolygon(QPolygonF{{11, 5}, {14, 7}, {11, 9}});
            break;
        default:
            break;
        }
    }));
}

QPixmap PatchTreeImage(int image) {
    return DrawnPixmap(15, [image](QPainter& p) {
        switch (image) {
        case PatchTreeItem::kPatch:
            Patch(p, 15);
            break;
        case PatchTreeItem::kLayer:
            Layer(p, 15, kLayerGreen);
            break;
        case PatchTreeItem::kMissingLayer:
            Layer(p, 15, QColor(150, 150, 150));
            Cross(p, QRectF(8, 8, 5.5, 5.5), kMissingRed);
            break;
        case PatchTreeItem::kSample:
            Sample(p, 15);
            break;
        default:
            break;
        }
    });
}

QIcon ZoomIcon(bool zoomIn) {
    // A magnifying glass with a plus (narrower span) or a minus (wider); grey when disabled.
    auto glass = [zoomIn](const QColor& ink) {
        return DrawnPixmap(16, [zoomIn, ink](QPainter& p) {
            p.setPen(QPen(ink, 1.6));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
            p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
            p.setPen(QPen(ink, 1.4));
            p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
            if (zoomIn)
                p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
        });
    };
    QIcon icon(glass(Qt::black));
    icon.addPixmap(glass(QColor(160, 160, 160)), QIcon::Disabled);
    return icon;
}
