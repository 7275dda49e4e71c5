#include "ui/wave/PlaybackRateDialog.h"

#include "platform/Ui.h"

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
    std::variant<std::uint32_t, std::string> rate = ValidateSampleRate(m_pRate->text().toStdString());
    if (auto* message = std::get_if<std::string>(&rate)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        m_pRate->setFocus();
        m_pRate->selectAll();
        return;
    }
    m_entered.rate = std::get<std::uint32_t>(rate);
    QDialog::accept();
}
