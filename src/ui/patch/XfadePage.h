#pragma once

#include <QWidget>

class CXfadePageModel;
class QButtonGroup;
class QLineEdit;
class QRadioButton;

// "Crossfade": the velocity at the middle of the fade, its width and its curve.
class CXfadePage : public QWidget {
    Q_OBJECT
public:
    explicit CXfadePage(CXfadePageModel& model, QWidget* parent = nullptr);

    void Load();
    // The boxes into the model; a box without an unsigned number is refused and keeps the old
    // value. With no curve button checked the curve stays as it was.
    void Commit();

    QLineEdit* CenterBox() const { return m_pCenter; }
    QLineEdit* WidthBox() const { return m_pWidth; }
    QRadioButton* CurveButton(int curve) const;

private:
    CXfadePageModel& m_model;
    QLineEdit* m_pCenter;
    QLineEdit* m_pWidth;
    QButtonGroup* m_pCurves;
};
