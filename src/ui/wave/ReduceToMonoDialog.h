#pragma once

#include "sample/LevelDialogs.h"

#include <QDialog>

class CLevelControl;

// "Reduce To Mono": the levels at which the left and right inputs enter the mono sum.
class CReduceToMonoDialog : public QDialog {
    Q_OBJECT
public:
    CReduceToMonoDialog(const MonoValues& initial, QWidget* parent = nullptr);

    MonoValues Values() const { return m_values; }
    CLevelControl* LeftIn() const { return m_pLeft; }
    CLevelControl* RightIn() const { return m_pRight; }

public slots:
    void accept() override;

private:
    CLevelControl* m_pLeft;
    CLevelControl* m_pRight;
    MonoValues m_values;
};
