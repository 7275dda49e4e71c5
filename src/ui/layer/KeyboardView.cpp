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

void CKeyboardView::Press(QMouseEvent* event, bool second) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // The second press of a quick pair is a press too.
        m_model.RightButtonDown(at.x(), at.y());
        emit Changed();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (second ? m_model.LeftDoubleClick(at.x(), at.y()) : m_model.LeftButtonDown(at.x(), at.y())) {
        // The name under the pointer follows the new mapping without waiting for a move.
        m_model.MouseMove(at.x(), at.y());
        update();
        emit Changed();
    }
}

void CKeyboardView::mousePressEvent(QMouseEvent* event) {
    Press(event, false);
}

void CKeyboardView::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event, true);
}

void CKeyboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        m_model.RightButtonUp();
}

void CKeyboardView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_model.MouseMove(at.x(), at.y()))
        emit Changed();
}
