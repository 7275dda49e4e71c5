#include "ui/layer/SampleItemDialog.h"

#include "platform/DialogValidation.h"
#include "ui/layer/SampleItemBrowse.h"
#include "ui/wave/FieldCheck.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CSampleItemDialog::CSampleItemDialog(const SampleItemValues& initial, QWidget* parent)
    : QDialog(parent), m_pFixedPitch(new QCheckBox("Fixed pitch")), m_pName(new QLineEdit),
      m_pPath(new QLineEdit), m_pBrowse(new QPushButton("Browse")), m_pLevel(new QLineEdit),
      m_pIgnoreKeyUp(new QCheckBox("Ignore Key-up")), m_values(initial) {
    setWindowTitle("Edit Sample List Item");
    m_pBrowse->setAutoDefault(false);
    m_pPath->setMinimumWidth(320);
    m_pLevel->setMaximumWidth(60);
    connect(m_pBrowse, &QPushButton::clicked, this, &CSampleItemDialog::Browse);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Name"), 0, 0);
    fields->addWidget(m_pName, 0, 1, 1, 2);
    fields->addWidget(new QLabel("Path"), 1, 0);
    fields->addWidget(m_pPath, 1, 1);
    fields->addWidget(m_pBrowse, 1, 2);
    auto* level = new QHBoxLayout;
    level->addWidget(m_pLevel);
    level->addWidget(new QLabel("dB"));
    level->addStretch(1);
    fields->addWidget(new QLabel("Level"), 2, 0);
    fields->addLayout(level, 2, 1, 1, 2);
    fields->addWidget(m_pFixedPitch, 3, 1, 1, 2);
    fields->addWidget(m_pIgnoreKeyUp, 4, 1, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSampleItemDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSampleItemDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    ShowValues();
    m_pLevel->setText(QString::number(initial.level));
}

void CSampleItemDialog::ShowValues() {
    m_pFixedPitch->setChecked(m_values.fixedPitch);
    m_pName->setText(QString::fromStdString(m_values.name));
    m_pPath->setText(QString::fromStdString(m_values.path));
    m_pIgnoreKeyUp->setChecked(m_values.ignoreKeyUp);
}

void CSampleItemDialog::TakeControls() {
    m_values.fixedPitch = m_pFixedPitch->isChecked();
    m_values.name = m_pName->text().toStdString();
    m_values.path = m_pPath->text().toStdString();
    m_values.ignoreKeyUp = m_pIgnoreKeyUp->isChecked();
}

void CSampleItemDialog::Browse() {
    TakeControls();
    if (!BrowseForSoundFile(m_values))
        return;
    ShowValues();
    m_pName->setFocus(Qt::OtherFocusReason);
}

void CSampleItemDialog::accept() {
    std::optional<long long> level =
        CheckedField(m_pLevel, ValidateInteger(m_pLevel->text().toStdString(), SampleItemValues::kLowestLevel,
                                               SampleItemValues::kHighestLevel));
    if (!level)
        return;
    TakeControls();
    m_values.level = static_cast<std::int32_t>(*level);
    QDialog::accept();
}
