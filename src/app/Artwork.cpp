#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
// A decaying tone with a loop bracket: what the program edits.
void DrawWave(QPainter& painter, const QRectF& area, const QColor& colour, double width) {
    QPainterPath path;
    const int steps = 400;
    for (int i = 0; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        double envelope = std::exp(-2.2 * t) * (0.25 + 0.75 * std::min(1.0, t * 12));
        double y = envelope * std::sin(t * 2 * M_PI * 11) * (0.8 + 0.2 * std::sin(t * 2 * M_PI * 33));
        QPointF point(area.left() + t * area.width(), area.center().y() - y * area.height() / 2);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
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

QIcon ProgramIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(30, 60, 110));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    DrawWave(painter, QRectF(8, 12, 48, 40), QColor(120, 220, 160), 3.0);
    return QIcon(pixmap);
}

QPixmap DrawnPixmap(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}
