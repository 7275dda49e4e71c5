#include "ui/wave/AdjustGainDialog.h"

#include "platform/Ui.h"
#include "ui/wave/LevelControl.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CAdjustGainDialog::CAdjustGainDialog(const GainValues& initial, QWidget* parent)
    : QDialog(parent), m_pBeginLeft(new CLevelControl("Left", initial.beginLeft)),
      m_pBeginRight(new CLevelControl("Right", initial.beginRight)),
      m_pEndLeft(new CLevelControl("Left", initial.endLeft)),
      m_pEndRight(new CLevelControl("Right", initial.endRight)), m_values(initial) {
    setWindowTitle("Adjust Gain");
    m_pBeginRight->setEnabled(initial.stereo);
    m_pEndRight->setEnabled(initial.stereo);

    auto* groups = new QHBoxLayout;
    groups->addWidget(LevelGroup("Begin", m_pBeginLeft, m_pBeginRight));
    groups->addWidget(LevelGroup("End", m_pEndLeft, m_pEndRight));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAdjustGainDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAdjustGainDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);

    for (CLevelControl* control : {m_pBeginLeft, m_pBeginRight, m_pEndLeft, m_pEndRight}) {
        connect(control, &CLevelControl::SliderMoved, this, [this] { m_bEditPending = false; });
        connect(control, &CLevelControl::Typed, this, [this] { m_bEditPending = true; });
    }
    auto beginAll = [this](int dB) {
        for (CLevelControl* other : {m_pBeginRight, m_pEndLeft, m_pEndRight})
            other->SetLevel(dB);
    };
    connect(m_pBeginLeft, &CLevelControl::SliderMoved, this, beginAll);
    connect(m_pBeginLeft, &CLevelControl::Left, this, beginAll);
    connect(m_pEndLeft, &CLevelControl::SliderMoved, m_pEndRight, &CLevelControl::SetLevel);
    connect(m_pEndLeft, &CLevelControl::Left, m_pEndRight, &CLevelControl::SetLevel);
}

void CAdjustGainDialog::accept() {
    if (m_bEditPending) {
        m_bEditPending = false;
        GetUi().Beep();
        return;
    }
    GainValues entered = m_values;
    if (!ReadLevels({{m_pBeginLeft, &entered.beginLeft},
                     {m_pBeginRight, &entered.beginRight},
                     {m_pEndLeft, &entered.endLeft},
                     {m_pEndRight, &entered.endRight}},
                    GainValues::kLowest, GainValues::kHighest))
        return;
    m_values = entered;
    QDialog::accept();
}
