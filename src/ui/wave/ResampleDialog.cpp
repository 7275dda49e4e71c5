#include "ui/wave/ResampleDialog.h"

#include "ui/wave/FieldCheck.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CResampleDialog::CResampleDialog(const ResampleValues& initial, QWidget* parent)
    : QDialog(parent), m_pRateMode(new QRadioButton("Change sampling rate to")),
      m_pPitchMode(new QRadioButton("Change pitch to")),
      m_pRate(new QLineEdit(QString::number(initial.rate))),
      m_pPitch(new QLineEdit(QString::fromStdString(initial.pitchText))),
      m_pMethodBox(new QGroupBox("Method")), m_pLinear(new QRadioButton("Linear interpolation")),
      m_pBandlimited(new QRadioButton("Bandlimited interpolation")),
      m_pDropHold(new QRadioButton("Drop/hold")), m_entered(initial) {
    setWindowTitle("Change Sample Rate/Pitch");

    (initial.mode == ResampleMode::Pitch ? m_pPitchMode : m_pRateMode)->setChecked(true);
    MethodButton(initial.method)->setChecked(true);
    m_pRate->installEventFilter(this);
    m_pPitch->installEventFilter(this);

    auto* modes = new QGridLayout;
    modes->addWidget(m_pRateMode, 0, 0);
    modes->addWidget(m_pRate, 0, 1);
    modes->addWidget(m_pPitchMode, 1, 0);
    modes->addWidget(m_pPitch, 1, 1);

    auto* methods = new QVBoxLayout(m_pMethodBox);
    methods->addWidget(m_pLinear);
    methods->addWidget(m_pBandlimited);
    methods->addWidget(m_pDropHold);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CResampleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CResampleDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(m_pMethodBox);
    layout->addWidget(buttons);
}

QRadioButton* CResampleDialog::MethodButton(ResampleMethod method) const {
    switch (method) {
    case ResampleMethod::Bandlimited:
        return m_pBandlimited;
    case ResampleMethod::DropHold:
        return m_pDropHold;
    case ResampleMethod::Linear:
        break;
    }
    return m_pLinear;
}

bool CResampleDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_pRate)
            m_pRateMode->setChecked(true);
        else if (watched == m_pPitch)
            m_pPitchMode->setChecked(true);
    }
    return QDialog::eventFilter(watched, event);
}

void CResampleDialog::accept() {
    std::optional<std::uint32_t> rate =
        CheckedField(m_pRate, ValidateSampleRate(m_pRate->text().toStdString()));
    if (!rate)
        return;
    m_entered.mode = m_pPitchMode->isChecked() ? ResampleMode::Pitch : ResampleMode::Rate;
    m_entered.rate = *rate;
    m_entered.pitchText = m_pPitch->text().toStdString();
    m_entered.method = m_pBandlimited->isChecked() ? ResampleMethod::Bandlimited
                       : m_pDropHold->isChecked()  ? ResampleMethod::DropHold
                                                   : ResampleMethod::Linear;
    QDialog::accept();
}
