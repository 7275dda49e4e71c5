#include "ui/wave/SampleView2.h"

#include "sample/SampleDoc.h"
#include "ui/QtSurface.h"
#include "ui/wave/SampleFrame.h"
#include "ui/wave/SampleView1.h"

#include <QMouseEvent>
#include <QPainter>

CSampleView2::CSampleView2(CSampleFrame& frame, CSampleDoc& doc, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_doc(doc) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(10);
    m_doc.AddView(this);
    m_model.SetClientSize(width(), height());
    OnUpdate(nullptr, 0);
}

CSampleView2::~CSampleView2() {
    m_doc.RemoveView(this);
}

void CSampleView2::OnUpdate(CView*, long hint) {
    if (hint == CSampleDoc::kPitchChangedHint)
        return;
    m_model.Rescale(m_doc);
    update();
}

void CSampleView2::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_model.SetClientSize(width(), height());
    QtSurface surface(painter);
    surface.SetMapping(m_model.Mapping());
    const bool loopDisplay = m_frame.IsLoopDisplay();
    m_doc.DrawOverview(surface, m_model.Width(), m_model.Height(), m_model.SamplesPerPixel(),
                       m_model.AmpDivisor(), loopDisplay);
    if (auto edges = m_model.HighlightForPaint(m_doc, loopDisplay)) {
        surface.SetMapping(SurfaceMapping{});
        surface.InvertRect({edges->first, 0, edges->second, height()});
    }
}

void CSampleView2::resizeEvent(QResizeEvent* event) {
    m_model.SetClientSize(width(), height());
    QWidget::resizeEvent(event);
}

void CSampleView2::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Apply(m_model.LeftPress(event->position().toPoint().x(), m_frame.IsLoopDisplay()));
}

void CSampleView2::mouseMoveEvent(QMouseEvent* event) {
    Apply(m_model.Move(event->position().toPoint().x(), m_doc));
}

void CSampleView2::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Apply(m_model.LeftRelease(m_frame.IsLoopDisplay(), m_bHoldingMouse, m_doc));
}

void CSampleView2::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Apply(m_model.DoubleClick(m_frame.IsLoopDisplay(), m_doc));
}

void CSampleView2::Apply(const COverviewModel::Outcome& outcome) {
    if (outcome.capture)
        m_bHoldingMouse = true;
    if (outcome.release)
        m_bHoldingMouse = false;
    if (outcome.repaint)
        update();
    if (outcome.updateOthers)
        m_doc.UpdateAllViews(this, CSampleDoc::kDisplayHint);
    if (outcome.position)
        m_frame.SetPositionPane(*outcome.position, m_doc.m_nRate);
    if (outcome.activateWaveform)
        m_frame.WaveView()->setFocus(Qt::MouseFocusReason);
}
