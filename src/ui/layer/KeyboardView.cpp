#include "ui/layer/KeyboardView.h"

#include "ui/QtSurface.h"
#include "ui/layer/KeyboardLayout.h"
#include "ui/layer/LayerFormModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

CKeyboardView::CKeyboardView(CLayerFormModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setMouseTracking(true);
    setFixedSize(sizeHint());
}

QSize CKeyboardView::sizeHint() const {
    return {kKeyboardWidth, kKeyboardHeight};
}

void CKeyboardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The labels sit on the menu colour, as the dialogs do.
    painter.fillRect(rect(), QApplication::palette("QMenu").color(QPalette::Window));
    QtSurface surface(painter);
    DrawKeyboard(surface, m_model.WorkingCopy());
}

void CKeyboardView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_model.LeftButtonDown(at.x(), at.y())) {
        // The name under the pointer follows the new mapping without waiting for a move.
        m_model.MouseMove(at.x(), at.y());
        update();
        emit Changed();
    } else if (event->button() == Qt::RightButton) {
        m_model.RightButtonDown(at.x(), at.y());
        emit Changed();
    }
}

void CKeyboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        m_model.RightButtonUp();
}

void CKeyboardView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_model.LeftDoubleClick(at.x(), at.y())) {
        m_model.MouseMove(at.x(), at.y());
        update();
        emit Changed();
    } else if (event->button() == Qt::RightButton) {
        // The second press of a quick pair is still a press.
        m_model.RightButtonDown(at.x(), at.y());
        emit Changed();
    }
}

void CKeyboardView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_model.MouseMove(at.x(), at.y()))
        emit Changed();
}
