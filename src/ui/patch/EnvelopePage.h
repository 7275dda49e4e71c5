#pragma once

#include "ui/patch/GraphPageLayout.h"

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

    CBreakpointGraph* Graph() const { return m_parts.graph; }
    QLineEdit* LevelBox() const { return m_pLevel; }
    QLineEdit* ReleaseBox() const { return m_pRelease; }
    QCheckBox* LinearBox() const { return m_pLinear; }
    QLabel* SpanLabel() const { return m_parts.xHigh; }
    QLabel* ReadOut() const { return m_parts.readOut; }
    QToolButton* ZoomButton() const { return m_parts.zoom; }
    QToolButton* UnzoomButton() const { return m_parts.unzoom; }

private:
    void ShowZoom();

    CEnvelopePageModel& m_model;
    GraphPageParts m_parts{};
    QLineEdit* m_pLevel;
    QLineEdit* m_pRelease;
    QCheckBox* m_pLinear;
};
