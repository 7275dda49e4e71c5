#include "app/Artwork.h"

#include "app/ProgramEmblem.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
QColor FromRgb(unsigned rgb) {
    return QColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xff),
                  static_cast<int>(rgb & 0xff));
}

// A decaying tone: what the program edits.
void DrawWave(QPainter& painter, const QRectF& area, const QColor& colour, double width) {
    QPainterPath path;
    for (const ProgramEmblem::Point& point :
         ProgramEmblem::Tone(area.left(), area.top(), area.width(), area.height())) {
        if (path.elementCount() == 0)
            path.moveTo(point.x, point.y);
        else
            path.lineTo(point.x, point.y);
    }
    painter.setPen(QPen(colour, width));
    painter.drawPath(path);
}
} // namespace

QPixmap SplashBitmap() {
    QPixmap pixmap(420, 240);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(18, 32, 64));
    sky.setColorAt(1, QColor(40, 86, 140));
    painter.fillRect(pixmap.rect(), sky);
    DrawWave(painter, QRectF(20, 110, 380, 100), QColor(120, 220, 160), 2.0);
    painter.setPen(QPen(QColor(255, 200, 80), 1.5, Qt::DashLine));
    painter.drawLine(QPointF(250, 112), QPointF(250, 208));
    painter.drawLine(QPointF(360, 112), QPointF(360, 208));
    QFont title = painter.font();
    title.setPixelSize(30);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 22, 420, 40), Qt::AlignCenter, "Wavelith");
    QFont subtitle = painter.font();
    subtitle.setPixelSize(16);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 62, 420, 24), Qt::AlignCenter, "Object Editor");
    painter.setPen(QColor(180, 200, 230));
    QFont small = subtitle;
    small.setPixelSize(11);
    painter.setFont(small);
    painter.drawText(QRect(0, 216, 410, 18), Qt::AlignRight | Qt::AlignVCenter, "Version 1.0 beta 6");
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return pixmap;
}

QImage ProgramIconImage(int size) {
    using namespace ProgramEmblem;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kSize, size / kSize);
    painter.setBrush(FromRgb(kTileColour));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(kTileInset, kTileInset, kSize - 2 * kTileInset, kSize - 2 * kTileInset),
                            kTileRadius, kTileRadius);
    DrawWave(painter, QRectF(kWaveLeft, kWaveTop, kWaveWidth, kWaveHeight), FromRgb(kWaveColour),
             kWaveStroke);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    return icon;
}

QPixmap DrawnPixmap(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}
