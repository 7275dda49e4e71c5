#pragma once

#include "sample/PointsDialog.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

// "Points": the sample start and stop, the loop and the marked range, typed as frames or seconds.
// Switching the unit rewrites the boxes; OK refuses the first box that is no point of the sample.
class CPointsDialog : public QDialog {
    Q_OBJECT
public:
    enum Field { SampleStart, SampleStop, LoopStart, LoopEnd, MarkStart, MarkEnd, kFieldCount };

    CPointsDialog(const PointsValues& initial, QWidget* parent = nullptr);

    PointsValues Values() const { return m_values; }
    QLineEdit* FieldBox(Field field) const { return m_pFields[field]; }
    QRadioButton* SecondsButton() const { return m_pSeconds; }

public slots:
    void accept() override;

private:
    void SwitchUnit(bool inSeconds);

    QLineEdit* m_pFields[kFieldCount] = {};
    QRadioButton* m_pFrames;
    QRadioButton* m_pSeconds;
    PointsValues m_values;
};
