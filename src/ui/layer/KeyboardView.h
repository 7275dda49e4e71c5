#pragma once

#include <QWidget>

class CLayerFormModel;

// The drawn keyboard of the layer form: paints the working copy's keys and hands the mouse to the
// form's model.
class CKeyboardView : public QWidget {
    Q_OBJECT
public:
    explicit CKeyboardView(CLayerFormModel& model, QWidget* parent = nullptr);

    QSize sizeHint() const override;

signals:
    // The keys' mapping or the name under the pointer changed.
    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // A press of either button; `second` when it is the second of a double-click.
    void Press(QMouseEvent* event, bool second);

    CLayerFormModel& m_model;
};
