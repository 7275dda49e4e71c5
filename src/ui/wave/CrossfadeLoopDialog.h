#pragma once

#include "sample/CrossfadeDialog.h"

#include <QDialog>

class QLineEdit;

// "Crossfade Loop": the radius in milliseconds and the contour of the fade. The radius starts at
// 0, which OK refuses, so the user must type one.
class CCrossfadeLoopDialog : public QDialog {
    Q_OBJECT
public:
    CCrossfadeLoopDialog(const CrossfadeValues& initial, QWidget* parent = nullptr);

    CrossfadeValues Values() const { return m_values; }
    QLineEdit* RadiusField() const { return m_pRadius; }
    QLineEdit* ContourField() const { return m_pContour; }

public slots:
    void accept() override;

private:
    QLineEdit* m_pRadius;
    QLineEdit* m_pContour;
    CrossfadeValues m_values;
};
