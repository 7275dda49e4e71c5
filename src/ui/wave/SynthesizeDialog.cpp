#include "ui/wave/SynthesizeDialog.h"

#include "platform/DialogValidation.h"
#include "ui/patch/BreakpointGraph.h"
#include "ui/wave/FieldCheck.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {
// The way the dialog framework writes a real number into its box.
QString RealText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return QString::fromLatin1(text);
}

QRadioButton* Radio(const char* text, const char* name, QButtonGroup* group) {
    auto* radio = new QRadioButton(text);
    radio->setObjectName(name);
    group->addButton(radio);
    return radio;
}

} // namespace

CSynthesizeDialog::CSynthesizeDialog(const SynthesizeValues& initial, QWidget* parent)
    : QDialog(parent), m_values(initial) {
    using V = SynthesizeValues;
    setWindowTitle("Synthesize");

    auto* modeGroup = new QButtonGroup(this);
    m_pReplace = Radio("Replace existing audio", "replace", modeGroup);
    m_pAdd = Radio("Add to existing", "add", modeGroup);
    (initial.mode == V::Mode::Replace ? m_pReplace : m_pAdd)->setChecked(true);

    auto* unitGroup = new QButtonGroup(this);
    m_pLength = new QLineEdit(QString::number(initial.length));
    m_pLength->setObjectName("length");
    m_pMsecs = Radio("msecs", "msecs", unitGroup);
    m_pCycles = Radio("Cycles", "cycles", unitGroup);
    (initial.unit == V::LengthUnit::Cycles ? m_pCycles : m_pMsecs)->setChecked(true);
    auto* lengthBox = new QGroupBox("Length");
    auto* lengthLayout = new QVBoxLayout(lengthBox);
    lengthLayout->addWidget(m_pLength);
    lengthLayout->addWidget(m_pMsecs);
    lengthLayout->addWidget(m_pCycles);

    auto* pitchGroup = new QButtonGroup(this);
    m_pNote = Radio("Note", "note", pitchGroup);
    m_pFrequency = Radio("Frequency", "frequency", pitchGroup);
    (initial.pitchSource == V::PitchSource::Frequency ? m_pFrequency : m_pNote)->setChecked(true);
    m_pNoteText = new QLineEdit(QString::fromStdString(initial.note));
    m_pNoteText->setObjectName("noteText");
    m_pFrequencyText = new QLineEdit(RealText(initial.frequency));
    m_pFrequencyText->setObjectName("frequencyText");
    auto* pitchBox = new QGroupBox("Pitch");
    auto* pitchLayout = new QGridLayout(pitchBox);
    pitchLayout->addWidget(m_pNote, 0, 0);
    pitchLayout->addWidget(m_pNoteText, 0, 1);
    pitchLayout->addWidget(m_pFrequency, 1, 0);
    pitchLayout->addWidget(m_pFrequencyText, 1, 1);

    auto* functionGroup = new QButtonGroup(this);
    m_pSine = Radio("Sine", "sine", functionGroup);
    m_pSquare = Radio("Square", "square", functionGroup);
    m_pTriangle = Radio("Triangle", "triangle", functionGroup);
    (initial.function == V::Function::Square     ? m_pSquare
     : initial.function == V::Function::Triangle ? m_pTriangle
                                                 : m_pSine)
        ->setChecked(true);
    auto* functionBox = new QGroupBox("Function");
    auto* functionLayout = new QVBoxLayout(functionBox);
    functionLayout->addWidget(m_pSine);
    functionLayout->addWidget(m_pSquare);
    functionLayout->addWidget(m_pTriangle);

    // The amplitude curve: x is percent of the length, y the level in dB. The graph takes the
    // place of this placeholder once the layout holds it.
    auto* placeholder = new QWidget;
    placeholder->setObjectName("graph");
    placeholder->setMinimumSize(320, 120);
    auto* levels = new QVBoxLayout;
    levels->addWidget(new QLabel("0 dB"), 0, Qt::AlignTop | Qt::AlignRight);
    levels->addStretch();
    levels->addWidget(new QLabel("-60 dB"), 0, Qt::AlignBottom | Qt::AlignRight);
    auto* graphRow = new QHBoxLayout;
    graphRow->addLayout(levels);
    graphRow->addWidget(placeholder, 1);

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(m_pReplace);
    modeRow->addWidget(m_pAdd);
    modeRow->addStretch();
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(lengthBox);
    boxes->addWidget(pitchBox);
    boxes->addWidget(functionBox);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSynthesizeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSynthesizeDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modeRow);
    layout->addLayout(boxes);
    layout->addWidget(new QLabel("Amplitude vs. Time"));
    layout->addLayout(graphRow, 1);
    layout->addWidget(buttons);

    // The dialog reads the points on OK; it need not follow the edits as they happen.
    m_pGraph = new CBreakpointGraph;
    m_pGraph->Attach(placeholder, [](int, std::uint32_t) {});
    m_pGraph->SetXRange(0, 100, 10);
    m_pGraph->SetYRange(-60, 0, 10);
    m_pGraph->SetPointCount(static_cast<int>(initial.curve.size()));
    for (std::size_t i = 0; i < initial.curve.size(); ++i)
        m_pGraph->SetPoint(static_cast<int>(i), PackedX(initial.curve[i]), PackedY(initial.curve[i]));

    connect(m_pReplace, &QRadioButton::clicked, this, [this] { EnableLength(true); });
    connect(m_pAdd, &QRadioButton::clicked, this, [this] { EnableLength(false); });
    EnableLength(initial.mode == V::Mode::Replace);
}

void CSynthesizeDialog::EnableLength(bool enable) {
    m_pLength->setEnabled(enable);
    m_pMsecs->setEnabled(enable);
    m_pCycles->setEnabled(enable);
}

void CSynthesizeDialog::accept() {
    using V = SynthesizeValues;
    // Every box is checked, enabled or not, as the dialog framework checks them.
    std::optional<std::uint32_t> length =
        CheckedField(m_pLength, ValidateUnsigned(m_pLength->text().toStdString()));
    if (!length)
        return;
    std::optional<double> frequency =
        CheckedField(m_pFrequencyText, ValidateReal(m_pFrequencyText->text().toStdString(), V::kMinFrequency,
                                                    V::kMaxFrequency));
    if (!frequency)
        return;

    m_values.mode = m_pReplace->isChecked() ? V::Mode::Replace : V::Mode::Add;
    m_values.length = *length;
    m_values.unit = m_pCycles->isChecked() ? V::LengthUnit::Cycles : V::LengthUnit::Milliseconds;
    m_values.pitchSource = m_pFrequency->isChecked() ? V::PitchSource::Frequency : V::PitchSource::Note;
    m_values.note = m_pNoteText->text().toStdString();
    m_values.frequency = *frequency;
    m_values.function = m_pSquare->isChecked()     ? V::Function::Square
                        : m_pTriangle->isChecked() ? V::Function::Triangle
                                                   : V::Function::Sine;
    m_values.curve = m_pGraph->GetPoints();
    QDialog::accept();
}
