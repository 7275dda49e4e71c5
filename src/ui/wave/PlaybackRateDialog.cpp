#include "ui/wave/PlaybackRateDialog.h"

#include "ui/wave/FieldCheck.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CPlaybackRateDialog::CPlaybackRateDialog(const PlaybackRateValues& initial, QWidget* parent)
    : QDialog(parent), m_pRate(new QLineEdit(QString::number(initial.rate))), m_entered(initial) {
    setWindowTitle("Change Sample Rate");
    auto* form = new QFormLayout;
    form->addRow("New Rate", m_pRate);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPlaybackRateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPlaybackRateDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CPlaybackRateDialog::accept() {
    std::optional<std::uint32_t> rate =
        CheckedField(m_pRate, ValidateSampleRate(m_pRate->text().toStdString()));
    if (!rate)
        return;
    m_entered.rate = *rate;
    QDialog::accept();
}
