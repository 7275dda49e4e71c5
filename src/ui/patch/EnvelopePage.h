#pragma once

#include <QWidget>

class CBreakpointGraph;
class CEnvelopePageModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

// "Amplitude Envelope": the envelope's graph over -60..10 dB with its time span, the layer's
// level, the release and the linear first stage.
class CEnvelopePage : public QWidget {
    Q_OBJECT
public:
    explicit CEnvelopePage(CEnvelopePageModel& model, QWidget* parent = nullptr);

    // Shows the model's working copy.
    void Load();
    // The boxes into the model; a box without an integer is refused and keeps the old value.
    void Commit();

    CBreakpointGraph* Graph() const { return m_pGraph; }
    QLineEdit* LevelBox() const { return m_pLevel; }
    QLineEdit* ReleaseBox() const { return m_pRelease; }
    QCheckBox* LinearBox() const { return m_pLinear; }
    QLabel* SpanLabel() const { return m_pSpan; }
    QLabel* ReadOut() const { return m_pReadOut; }
    QToolButton* ZoomButton() const { return m_pZoom; }
    QToolButton* UnzoomButton() const { return m_pUnzoom; }

private:
    void ShowZoom();

    CEnvelopePageModel& m_model;
    CBreakpointGraph* m_pGraph;
    QLineEdit* m_pLevel;
    QLineEdit* m_pRelease;
    QCheckBox* m_pLinear;
    QLabel* m_pSpan;
    QLabel* m_pReadOut;
    QToolButton* m_pZoom;
    QToolButton* m_pUnzoom;
};
