#include "ui/patch/PatchFormView.h"

#include "patch/PatchDoc.h"
#include "platform/DialogValidation.h"
#include "ui/patch/PatchFormModel.h"
#include "ui/patch/PatchPropertySheet.h"
#include "ui/wave/FieldCheck.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <limits>

namespace {
using Action = CPatchFormModel::SliderAction;

Action ActionOf(int sliderAction) {
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepAdd:
        return Action::LineUp;
    case QAbstractSlider::SliderSingleStepSub:
        return Action::LineDown;
    case QAbstractSlider::SliderPageStepAdd:
        return Action::PageUp;
    case QAbstractSlider::SliderPageStepSub:
        return Action::PageDown;
    case QAbstractSlider::SliderMove:
        return Action::Thumb;
    default:
        return Action::Other;
    }
}

QSlider* AuditionSlider(const char* name, int page) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(name);
    slider->setRange(CPatchFormModel::kLowestValue, CPatchFormModel::kHighestValue);
    slider->setPageStep(page);
    return slider;
}

QLineEdit* ReadOnlyBox(const char* name, int width) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFixedWidth(width);
    return box;
}
} // namespace

CPatchFormView::CPatchFormView(CPatchFormModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_pNumber(new QLineEdit), m_pName(new QLineEdit),
      m_pLevel(new QLineEdit), m_pApply(new QPushButton("Apply")),
      m_pPitch(AuditionSlider("Pitch", CPatchFormModel::kPitchPage)),
      m_pVelocity(AuditionSlider("Velocity", CPatchFormModel::kVelocityPage)),
      m_pPitchText(ReadOnlyBox("PitchText", 70)), m_pVelocityText(ReadOnlyBox("VelocityText", 40)),
      m_pPlay(new QPushButton("Play")), m_pSheet(new CPatchPropertySheet(model.Sheet())),
      m_pSheetApply(new QPushButton("Apply")), m_pSheetReset(new QPushButton("Reset")),
      m_pLayerText(ReadOnlyBox("LayerText", 260)) {
    m_pNumber->setObjectName("Number");
    m_pName->setObjectName("Name");
    m_pLevel->setObjectName("Level");
    m_pApply->setObjectName("Apply");
    m_pSheetApply->setObjectName("SheetApply");
    m_pSheetReset->setObjectName("SheetReset");
    m_pNumber->setFixedWidth(50);
    m_pLevel->setFixedWidth(50);

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(new QLabel("Number"));
    boxes->addWidget(m_pNumber);
    boxes->addWidget(new QLabel("Name"));
    boxes->addWidget(m_pName, 1);
    boxes->addWidget(new QLabel("Level"));
    boxes->addWidget(m_pLevel);
    boxes->addWidget(new QLabel("dB"));
    boxes->addWidget(m_pApply);

    auto* audition = new QGroupBox("Audition");
    auto* grid = new QGridLayout(audition);
    grid->addWidget(new QLabel("Pitch"), 0, 0);
    grid->addWidget(m_pPitch, 0, 1);
    grid->addWidget(m_pPitchText, 0, 2);
    grid->addWidget(new QLabel("Velocity"), 1, 0);
    grid->addWidget(m_pVelocity, 1, 1);
    grid->addWidget(m_pVelocityText, 1, 2);
    grid->addWidget(m_pPlay, 0, 3, 2, 1);

    auto* sheetButtons = new QHBoxLayout;
    sheetButtons->addWidget(m_pSheetApply);
    sheetButtons->addWidget(m_pSheetReset);
    sheetButtons->addWidget(m_pLayerText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(audition);
    layout->addWidget(m_pSheet, 1);
    layout->addLayout(sheetButtons);

    connect(m_pApply, &QPushButton::clicked, this, [this] { OnApply(); });
    connect(m_pPlay, &QPushButton::clicked, this, [this] { m_model.Play(); });
    connect(m_pPitch, &QAbstractSlider::actionTriggered, this, [this](int action) {
        m_model.OnPitchSlider(ActionOf(action), m_pPitch->sliderPosition());
        ShowAudition();
    });
    connect(m_pVelocity, &QAbstractSlider::actionTriggered, this, [this](int action) {
        m_model.OnVelocitySlider(ActionOf(action), m_pVelocity->sliderPosition());
        ShowAudition();
    });
    connect(m_pSheetApply, &QPushButton::clicked, this, [this] {
        m_pSheet->Commit();
        if (m_model.ApplySheet())
            m_pSheetReset->setEnabled(m_model.IsResetEnabled());
    });
    connect(m_pSheetReset, &QPushButton::clicked, this, [this] {
        m_model.ResetSheet();
        m_pSheet->Load();
        m_pSheetReset->setEnabled(m_model.IsResetEnabled());
    });
    m_model.SetUpdatedHandler([this] { ShowUpdate(); });
    ShowAudition();
    ShowUpdate();
}

CPatchFormView::~CPatchFormView() {
    m_model.SetUpdatedHandler({});
}

void CPatchFormView::ShowAudition() {
    // Within the signal the slider still moves on to its own position; this one wins.
    m_pPitch->setSliderPosition(m_model.Pitch());
    m_pVelocity->setSliderPosition(m_model.Velocity());
    m_pPitchText->setText(QString::fromStdString(m_model.PitchText()));
    m_pVelocityText->setText(QString::number(m_model.Velocity()));
}

void CPatchFormView::ShowUpdate() {
    const CPatchFormModel::Boxes& boxes = m_model.GetBoxes();
    for (QLineEdit* box : {m_pNumber, m_pName, m_pLevel})
        box->setEnabled(boxes.enabled);
    m_pApply->setEnabled(boxes.enabled);
    if (boxes.enabled) {
        m_pNumber->setText(QString::number(boxes.number));
        m_pName->setText(QString::fromStdString(boxes.name));
        m_pLevel->setText(QString::number(boxes.level));
    }
    m_pSheet->Load();
    m_pLayerText->setVisible(m_model.IsLayerShown());
    m_pLayerText->setText(QString::fromStdString(m_model.LayerText()));
    m_pSheetApply->setVisible(m_model.IsLayerShown());
    m_pSheetReset->setVisible(m_model.IsLayerShown());
    m_pSheetReset->setEnabled(m_model.IsResetEnabled());
}

void CPatchFormView::OnApply() {
    // Only numbers of the bank are accepted: a patch elsewhere would be saved but never shown.
    std::optional<std::uint32_t> number = CheckedField(
        m_pNumber, ValidateUnsignedInRange(m_pNumber->text().toStdString(), 0, CPatchDoc::kPatchCount - 1));
    if (!number)
        return;
    std::optional<long long> level = CheckedField(
        m_pLevel, ValidateInteger(m_pLevel->text().toStdString(), std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max()));
    if (!level)
        return;
    m_model.Apply(static_cast<std::uint16_t>(*number), m_pName->text().toStdString(),
                  static_cast<std::int32_t>(*level));
}
