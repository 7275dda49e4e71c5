#include "ui/wave/ReduceToMonoDialog.h"

#include "ui/wave/LevelControl.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CReduceToMonoDialog::CReduceToMonoDialog(const MonoValues& initial, QWidget* parent)
    : QDialog(parent), m_pLeft(new CLevelControl("Left In", initial.left)),
      m_pRight(new CLevelControl("Right In", initial.right)), m_values(initial) {
    setWindowTitle("Reduce To Mono");
    auto* levels = new QHBoxLayout;
    levels->addWidget(m_pLeft);
    levels->addWidget(m_pRight);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CReduceToMonoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CReduceToMonoDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(levels);
    layout->addWidget(buttons);
}

void CReduceToMonoDialog::accept() {
    MonoValues entered = m_values;
    if (!ReadLevels({{m_pLeft, &entered.left}, {m_pRight, &entered.right}}, MonoValues::kLowest,
                    MonoValues::kHighest))
        return;
    m_values = entered;
    QDialog::accept();
}
