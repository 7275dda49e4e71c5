#pragma once

#include "docview/Document.h"
#include "ui/wave/OverviewModel.h"

#include <QWidget>

class CSampleDoc;
class CSampleFrame;

// The overview strip: the whole sample with its markers and the waveform view's span
// highlighted; a drag chooses a new span, a double-click the whole sample.
class CSampleView2 : public QWidget, public CView {
    Q_OBJECT
public:
    CSampleView2(CSampleFrame& frame, CSampleDoc& doc, QWidget* parent = nullptr);
    ~CSampleView2() override;

    void OnUpdate(CView* sender, long hint) override;
    const COverviewModel& Model() const { return m_model; }

    QSize sizeHint() const override { return {700, 50}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Apply(const COverviewModel::Outcome& outcome);

    CSampleFrame& m_frame;
    CSampleDoc& m_doc;
    COverviewModel m_model;
    bool m_bHoldingMouse = false;
};
