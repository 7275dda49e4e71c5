#include "ui/patch/BreakpointGraph.h"

#include "ui/QtSurface.h"

#include <QLayout>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <utility>

CBreakpointGraph::CBreakpointGraph(QWidget* parent) : QWidget(parent) {
    // Every paint fills the whole client area, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void CBreakpointGraph::ShareModel(CBreakpointGraphModel& model) {
    m_pModel = &model;
    update();
}

void CBreakpointGraph::Attach(QWidget* placeholder, NotifyFunction notify) {
    if (placeholder != nullptr && placeholder != this) {
        QWidget* owner = placeholder->parentWidget();
        bool visible = !placeholder->isHidden();
        setParent(owner);
        setObjectName(placeholder->objectName());
        setGeometry(placeholder->geometry());
        setSizePolicy(placeholder->sizePolicy());
        setMinimumSize(placeholder->minimumSize());
        setMaximumSize(placeholder->maximumSize());
        if (owner != nullptr && owner->layout() != nullptr)
            delete owner->layout()->replaceWidget(placeholder, this);
        stackUnder(placeholder);
        delete placeholder;
        setVisible(visible);
    }
    m_pModel->SetOwner(std::move(notify));
}

bool CBreakpointGraph::Attach(QWidget* owner, const QString& itemName, NotifyFunction notify) {
    QWidget* placeholder = owner == nullptr ? nullptr : owner->findChild<QWidget*>(itemName);
    if (placeholder == nullptr)
        return false;
    Attach(placeholder, std::move(notify));
    return true;
}

void CBreakpointGraph::SetXRange(std::int32_t low, std::int32_t high, std::int32_t step) {
    m_pModel->SetXRange(low, high, step);
    update();
}

void CBreakpointGraph::SetYRange(std::int32_t low, std::int32_t high, std::int32_t step) {
    m_pModel->SetYRange(low, high, step);
    update();
}

void CBreakpointGraph::SetPointCount(int count) {
    m_pModel->SetPointCount(count);
    update();
}

void CBreakpointGraph::SetPoint(int index, std::int32_t x, std::int32_t y) {
    m_pModel->SetPoint(index, x, y);
    update();
}

void CBreakpointGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtSurface surface(painter);
    m_pModel->SetClientSize(width(), height());
    m_pModel->Paint(surface);
}

SurfacePoint CBreakpointGraph::PixelOf(const QMouseEvent* event) {
    // The model converts with the current client size; keep it in step before every event.
    m_pModel->SetClientSize(width(), height());
    QPointF position = event->position();
    return {static_cast<std::int32_t>(std::floor(position.x())),
            static_cast<std::int32_t>(std::floor(position.y()))};
}

void CBreakpointGraph::RepaintIf(bool needed) {
    if (needed)
        update();
}

void CBreakpointGraph::mousePressEvent(QMouseEvent* event) {
    SurfacePoint pixel = PixelOf(event);
    if (event->button() == Qt::LeftButton)
        RepaintIf(m_pModel->OnLeftButtonDown(pixel));
    else if (event->button() == Qt::RightButton)
        RepaintIf(m_pModel->OnRightButtonDown(pixel));
    event->accept();
}

void CBreakpointGraph::mouseMoveEvent(QMouseEvent* event) {
    RepaintIf(m_pModel->OnPointerMove(PixelOf(event)));
    event->accept();
}

void CBreakpointGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        RepaintIf(m_pModel->OnLeftButtonUp());
    else if (event->button() == Qt::RightButton)
        RepaintIf(m_pModel->OnRightButtonUp());
    event->accept();
}

void CBreakpointGraph::mouseDoubleClickEvent(QMouseEvent* event) {
    SurfacePoint pixel = PixelOf(event);
    if (event->button() == Qt::LeftButton)
        RepaintIf(m_pModel->OnLeftDoubleClick(pixel));
    else if (event->button() == Qt::RightButton)
        // A quick second right press is still a press: it starts a fine drag like the first.
        RepaintIf(m_pModel->OnRightButtonDown(pixel));
    event->accept();
}
