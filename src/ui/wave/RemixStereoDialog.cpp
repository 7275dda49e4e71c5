#include "ui/wave/RemixStereoDialog.h"

#include "ui/wave/LevelControl.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CRemixStereoDialog::CRemixStereoDialog(const RemixValues& initial, QWidget* parent)
    : QDialog(parent), m_pLeftFromLeft(new CLevelControl("Left In", initial.leftFromLeft)),
      m_pLeftFromRight(new CLevelControl("Right In", initial.leftFromRight)),
      m_pRightFromLeft(new CLevelControl("Left In", initial.rightFromLeft)),
      m_pRightFromRight(new CLevelControl("Right In", initial.rightFromRight)), m_values(initial) {
    setWindowTitle("Remix Stereo");
    auto* groups = new QHBoxLayout;
    groups->addWidget(LevelGroup("Left Out", m_pLeftFromLeft, m_pLeftFromRight));
    groups->addWidget(LevelGroup("Right Out", m_pRightFromLeft, m_pRightFromRight));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRemixStereoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRemixStereoDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

void CRemixStereoDialog::accept() {
    RemixValues entered = m_values;
    if (!ReadLevels({{m_pLeftFromLeft, &entered.leftFromLeft},
                     {m_pLeftFromRight, &entered.leftFromRight},
                     {m_pRightFromLeft, &entered.rightFromLeft},
                     {m_pRightFromRight, &entered.rightFromRight}},
                    RemixValues::kLowest, RemixValues::kHighest))
        return;
    m_values = entered;
    QDialog::accept();
}
