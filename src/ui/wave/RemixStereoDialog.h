#pragma once

#include "sample/LevelDialogs.h"

#include <QDialog>

class CLevelControl;

// "Remix Stereo": each output channel as levels of the left and right inputs, -96 … 96 dB each.
class CRemixStereoDialog : public QDialog {
    Q_OBJECT
public:
    CRemixStereoDialog(const RemixValues& initial, QWidget* parent = nullptr);

    RemixValues Values() const { return m_values; }
    CLevelControl* LeftFromLeft() const { return m_pLeftFromLeft; }
    CLevelControl* LeftFromRight() const { return m_pLeftFromRight; }
    CLevelControl* RightFromLeft() const { return m_pRightFromLeft; }
    CLevelControl* RightFromRight() const { return m_pRightFromRight; }

public slots:
    void accept() override;

private:
    CLevelControl* m_pLeftFromLeft;
    CLevelControl* m_pLeftFromRight;
    CLevelControl* m_pRightFromLeft;
    CLevelControl* m_pRightFromRight;
    RemixValues m_values;
};
