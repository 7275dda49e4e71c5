#pragma once

#include "sample/LevelDialogs.h"

#include <QDialog>

class CLevelControl;

// "Adjust Gain": the Begin and End levels of a gain ramp, each for Left and Right. The Begin Left
// slider moves all four levels, the End Left slider both End levels. After typing, the first OK
// (or Enter) only beeps, so that a typed level is not taken by accident; the next one closes.
class CAdjustGainDialog : public QDialog {
    Q_OBJECT
public:
    CAdjustGainDialog(const GainValues& initial, QWidget* parent = nullptr);

    GainValues Values() const { return m_values; }
    CLevelControl* BeginLeft() const { return m_pBeginLeft; }
    CLevelControl* BeginRight() const { return m_pBeginRight; }
    CLevelControl* EndLeft() const { return m_pEndLeft; }
    CLevelControl* EndRight() const { return m_pEndRight; }
    bool EditPending() const { return m_bEditPending; }

public slots:
    void accept() override;

private:
    CLevelControl* m_pBeginLeft;
    CLevelControl* m_pBeginRight;
    CLevelControl* m_pEndLeft;
    CLevelControl* m_pEndRight;
    GainValues m_values;
    bool m_bEditPending = false;
};
