#include "ui/patch/XfadePage.h"

#include "platform/DialogValidation.h"
#include "ui/patch/XfadePageModel.h"
#include "ui/wave/FieldCheck.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
void ReadUnsigned(QLineEdit* box, std::uint32_t& field) {
    if (std::optional<std::uint32_t> value = CheckedField(box, ValidateUnsigned(box->text().toStdString())))
        field = *value;
}
} // namespace

CXfadePage::CXfadePage(CXfadePageModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_pCenter(new QLineEdit), m_pWidth(new QLineEdit),
      m_pCurves(new QButtonGroup(this)) {
    setObjectName("Crossfade");
    m_pCenter->setObjectName("Center");
    m_pWidth->setObjectName("Width");
    auto* boxes = new QFormLayout;
    boxes->addRow("Center", m_pCenter);
    boxes->addRow("Width", m_pWidth);
    auto* group = new QGroupBox("Curve");
    auto* buttons = new QVBoxLayout(group);
    int id = 0;
    for (const char* name : {"Inverse square", "Exponential", "Linear"}) {
        auto* button = new QRadioButton(name);
        m_pCurves->addButton(button, id++);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(group);
    layout->addStretch();
    Load();
}

QRadioButton* CXfadePage::CurveButton(int curve) const {
    return static_cast<QRadioButton*>(m_pCurves->button(curve));
}

void CXfadePage::Load() {
    m_pCenter->setText(QString::number(m_model.m_nCenter));
    m_pWidth->setText(QString::number(m_model.m_nWidth));
    // A group that shows no curve first needs its exclusivity lifted to clear the checked one.
    m_pCurves->setExclusive(false);
    for (QAbstractButton* button : m_pCurves->buttons())
        button->setChecked(m_pCurves->id(button) == m_model.m_nCurve);
    m_pCurves->setExclusive(true);
    for (QWidget* control : std::initializer_list<QWidget*>{m_pCenter, m_pWidth, CurveButton(0)})
        control->setEnabled(m_model.ControlsEnabled());
}

void CXfadePage::Commit() {
    ReadUnsigned(m_pCenter, m_model.m_nCenter);
    ReadUnsigned(m_pWidth, m_model.m_nWidth);
    if (m_pCurves->checkedId() >= 0)
        m_model.m_nCurve = m_pCurves->checkedId();
}
