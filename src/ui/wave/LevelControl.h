#pragma once

#include <QWidget>

#include <initializer_list>
#include <utility>

class QGroupBox;
class QLineEdit;
class QSlider;

// One level of the level dialogs: a caption, an edit box for whole decibels labelled "dB", and
// a vertical slider from +12 dB (top) to -96 dB (bottom). Moving the slider writes its level into
// the box; typing in the box drops the slider to the bottom until the box is left, when the
// slider moves to the typed level.
class CLevelControl : public QWidget {
    Q_OBJECT
public:
    CLevelControl(const QString& caption, int dB, QWidget* parent = nullptr);

    QLineEdit* Edit() const { return m_pEdit; }
    QSlider* Slider() const { return m_pSlider; }
    // Shows `dB` in the box and on the slider, as the dialog does; no signal is sent.
    void SetLevel(int dB);
    // The text of the box; the dialog checks it on OK.
    QString Text() const;

signals:
    // The user moved the slider to `dB`.
    void SliderMoved(int dB);
    // The user typed in the box.
    void Typed();
    // The user left the box after typing a whole number in it.
    void Left(int dB);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceSlider(int dB);

    QLineEdit* m_pEdit;
    QSlider* m_pSlider;
    bool m_bPlacing = false;
    bool m_bTyped = false;
};

// A titled group of two levels side by side.
QGroupBox* LevelGroup(const char* title, CLevelControl* left, CLevelControl* right);

// Reads each level's box into its field, checked against [low, high] as the dialog framework
// checks on OK; the first that fails shows its message, gets the focus and ends the reading.
bool ReadLevels(std::initializer_list<std::pair<CLevelControl*, int*>> fields, long long low, long long high);
