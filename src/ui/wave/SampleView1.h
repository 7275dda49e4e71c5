#pragma once

#include "app/Commands.h"
#include "docview/Document.h"
#include "ui/wave/WaveViewModel.h"

#include <QWidget>

class CSampleDoc;
class CSampleFrame;

// The waveform view: the displayed span of the sample with its markers, or the loop splice in
// the loop display; marking, dragging and marker placement with the mouse; the play, zoom,
// marker and pitch commands.
class CSampleView1 : public QWidget, public CView {
    Q_OBJECT
public:
    CSampleView1(CSampleFrame& frame, CSampleDoc& doc, QWidget* parent = nullptr);
    ~CSampleView1() override;

    void OnUpdate(CView* sender, long hint) override;

    // True when the command is the view's.
    bool OnCommand(Command command);
    bool HandlesCommand(Command command) const;
    bool IsCommandEnabled(Command command) const;
    bool IsCommandChecked(Command command) const;

    const CWaveViewModel& Model() const { return m_model; }
    CWaveViewModel& Model() { return m_model; }

    QSize sizeHint() const override { return {700, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Play();
    void EditMarkAndPoints();
    void Apply(const MouseOutcome& outcome);
    void UpdateCursor();

    CSampleFrame& m_frame;
    CSampleDoc& m_doc;
    CWaveViewModel m_model;
    bool m_bHoldingMouse = false;
    CWaveViewModel::Cursor m_cursor = CWaveViewModel::Cursor::Normal;
};
