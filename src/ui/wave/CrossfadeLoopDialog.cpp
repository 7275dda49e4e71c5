#include "ui/wave/CrossfadeLoopDialog.h"

#include "platform/DialogValidation.h"
#include "platform/Ui.h"
#include "ui/wave/FieldCheck.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
// An unsigned field within [low, high], with the dialog framework's messages.
std::optional<std::uint32_t> ReadField(QLineEdit* field, std::uint32_t low, std::uint32_t high) {
    std::string text = field->text().toStdString();
    auto whole = ValidateUnsigned(text);
    std::optional<std::string> message;
    if (auto* problem = std::get_if<std::string>(&whole)) {
        message = *problem;
    } else {
        auto ranged = ValidateInteger(text, low, high);
        if (auto* outside = std::get_if<std::string>(&ranged))
            message = *outside;
    }
    if (message) {
        RefuseField(field, *message);
        return std::nullopt;
    }
    return std::get<std::uint32_t>(whole);
}
} // namespace

CCrossfadeLoopDialog::CCrossfadeLoopDialog(const CrossfadeValues& initial, QWidget* parent)
    : QDialog(parent), m_pRadius(new QLineEdit(QString::number(initial.radiusMs))),
      m_pContour(new QLineEdit(QString::number(initial.contour))), m_values(initial) {
    setWindowTitle("Crossfade Loop");
    auto* form = new QFormLayout;
    form->addRow("Radius (msec)", m_pRadius);
    form->addRow("Contour", m_pContour);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCrossfadeLoopDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCrossfadeLoopDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel("Contour: 0 = linear, 100 = equal squares"));
    layout->addWidget(buttons);
}

void CCrossfadeLoopDialog::accept() {
    std::optional<std::uint32_t> radius =
        ReadField(m_pRadius, CrossfadeValues::kRadiusLowest, CrossfadeValues::kRadiusHighest);
    if (!radius)
        return;
    std::optional<std::uint32_t> contour =
        ReadField(m_pContour, CrossfadeValues::kContourLowest, CrossfadeValues::kContourHighest);
    if (!contour)
        return;
    m_values = {*radius, *contour};
    QDialog::accept();
}
