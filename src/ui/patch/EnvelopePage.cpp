#include "ui/patch/EnvelopePage.h"

#include "platform/DialogValidation.h"
#include "ui/patch/BreakpointGraph.h"
#include "ui/patch/EnvelopePageModel.h"
#include "ui/patch/GraphPageLayout.h"
#include "ui/wave/FieldCheck.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {
void ReadInteger(QLineEdit* box, std::int32_t& field) {
    std::optional<long long> value =
        CheckedField(box, ValidateInteger(box->text().toStdString(), std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max()));
    if (value)
        field = static_cast<std::int32_t>(*value);
}
} // namespace

CEnvelopePage::CEnvelopePage(CEnvelopePageModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_pLevel(new QLineEdit), m_pRelease(new QLineEdit),
      m_pLinear(new QCheckBox("Linear first stage")) {
    setObjectName("Amplitude Envelope");
    m_parts = MakeGraphPageParts(this, m_model, [this] { ShowZoom(); });
    m_parts.yHigh->setText("+10 dB");
    m_parts.yMiddle->setText("0 dB");
    m_parts.yLow->setText("-60 dB");
    m_parts.xLow->setText("0");
    m_pLevel->setObjectName("Level");
    m_pRelease->setObjectName("Release");

    auto* boxes = new QFormLayout;
    boxes->addRow("Level (dB)", m_pLevel);
    boxes->addRow("Release (ms)", m_pRelease);
    boxes->addRow(m_pLinear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_parts.layout, 1);
    layout->addLayout(boxes);
    Load();
}

void CEnvelopePage::ShowZoom() {
    m_parts.xHigh->setText(QString::fromStdString(m_model.SpanLabel()));
    m_parts.graph->update();
}

void CEnvelopePage::Load() {
    m_pLevel->setText(QString::number(m_model.m_nLevel));
    m_pRelease->setText(QString::number(m_model.m_nRelease));
    m_pLinear->setChecked(m_model.m_bLinearFirstStage);
    for (QWidget* control : std::initializer_list<QWidget*>{m_pLevel, m_pRelease, m_pLinear})
        control->setEnabled(m_model.ControlsEnabled());
    m_parts.readOut->clear();
    ShowZoom();
}

void CEnvelopePage::Commit() {
    ReadInteger(m_pLevel, m_model.m_nLevel);
    ReadInteger(m_pRelease, m_model.m_nRelease);
    m_model.m_bLinearFirstStage = m_pLinear->isChecked();
}
