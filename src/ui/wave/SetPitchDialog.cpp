#include "ui/wave/SetPitchDialog.h"

#include "platform/DialogValidation.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char*, 12> kNoteNames{"C ", "C#", "D ", "D#", "E ", "F ",
                                                 "F#", "G ", "G#", "A ", "A#", "B "};

// A slider's position is minus its value, so higher values sit higher up.
QSlider* MakeSlider(int lowValue, int highValue, int tick) {
    auto* slider = new QSlider(Qt::Vertical);
    slider->setRange(-highValue, -lowValue);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::TicksBothSides);
    slider->setTickInterval(tick);
    slider->setSingleStep(1);
    slider->setPageStep(tick);
    slider->setMinimumHeight(120);
    return slider;
}

QLineEdit* MakeEdit(int width = 48) {
    auto* edit = new QLineEdit;
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaximumWidth(width);
    return edit;
}
} // namespace

CSetPitchDialog::CSetPitchDialog(QWidget* parent)
    : QDialog(parent), m_pNote(MakeSlider(0, 11, 1)), m_pOctave(MakeSlider(-1, 9, 1)),
      m_pCents(MakeSlider(-50, 50, 10)), m_pNoteEdit(MakeEdit()), m_pOctaveEdit(MakeEdit()),
      m_pCentsEdit(MakeEdit()), m_pHzEdit(MakeEdit(96)), m_pCompensate(new QCheckBox("Compensate")),
      m_pLoopText(new QLabel("Loop pitch:")) {
    setWindowTitle("Set Pitch");
    setModal(false);
    auto* grid = new QGridLayout;
    const std::array<std::pair<const char*, std::pair<QSlider*, QLineEdit*>>, 3> columns{
        {{"Note", {m_pNote, m_pNoteEdit}},
         {"Octave", {m_pOctave, m_pOctaveEdit}},
         {"Cents", {m_pCents, m_pCentsEdit}}}};
    for (int column = 0; column < 3; ++column) {
        const auto& [label, controls] = columns[static_cast<std::size_t>(column)];
        grid->addWidget(new QLabel(label), 0, column, Qt::AlignHCenter);
        grid->addWidget(controls.first, 1, column, Qt::AlignHCenter);
        grid->addWidget(controls.second, 2, column, Qt::AlignHCenter);
        connect(controls.first, &QSlider::valueChanged, this, &CSetPitchDialog::OnSliderMoved);
        QLineEdit* edit = controls.second;
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { OnPartTyped(edit); });
    }
    auto* hzRow = new QHBoxLayout;
    auto* hzLabel = new QLabel("&Hz");
    hzLabel->setBuddy(m_pHzEdit);
    hzRow->addWidget(hzLabel);
    hzRow->addWidget(m_pHzEdit);
    hzRow->addStretch();
    connect(m_pHzEdit, &QLineEdit::editingFinished, this, &CSetPitchDialog::OnHzTyped);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(hzRow);
    layout->addWidget(m_pCompensate);
    layout->addWidget(m_pLoopText);
    connect(m_pCompensate, &QCheckBox::clicked, this, &CSetPitchDialog::OnCompensate);
}

CSetPitchDialog::~CSetPitchDialog() {
    // Hiding the dialog takes the focus from a box, which would finish its typing into a dialog
    // half gone.
    for (QLineEdit* edit : {m_pNoteEdit, m_pOctaveEdit, m_pCentsEdit, m_pHzEdit})
        disconnect(edit, nullptr, this, nullptr);
}

void CSetPitchDialog::SetDocument(CSampleDoc* doc) {
    m_pDoc = doc;
    Refresh();
}

void CSetPitchDialog::ShowValues(int octave, int note, int cents) {
    m_pNoteEdit->setText(kNoteNames[static_cast<std::size_t>(std::clamp(note, 0, 11))]);
    m_pOctaveEdit->setText(QString::number(octave));
    m_pCentsEdit->setText(QString::number(cents));
    if (m_pDoc)
        m_pHzEdit->setText(QString::number(m_pDoc->m_dPitch, 'f', 2));
}

void CSetPitchDialog::OnPartTyped(QLineEdit* edit) {
    // Focus leaving an untouched box, or a box just refused and reset, is no new entry.
    if (!m_pDoc || !edit->isModified())
        return;
    const std::string text = edit->text().trimmed().toStdString();
    std::variant<long long, std::string> typed = std::string();
    QSlider* slider = nullptr;
    if (edit == m_pNoteEdit) {
        std::variant<int, std::string> note = ParseNoteName(text);
        typed = std::holds_alternative<int>(note) ? std::variant<long long, std::string>(std::get<int>(note))
                                                  : std::get<std::string>(note);
        slider = m_pNote;
    } else if (edit == m_pOctaveEdit) {
        typed = ValidateInteger(text, PitchDialogRange::kLowestOctave, PitchDialogRange::kHighestOctave);
        slider = m_pOctave;
    } else {
        typed = ValidateInteger(text, -PitchDialogRange::kCentsLimit, PitchDialogRange::kCentsLimit);
        slider = m_pCents;
    }
    if (const std::string* message = std::get_if<std::string>(&typed)) {
        Refresh();
        GetUi().Message(*message, MessageIcon::Exclamation);
        return;
    }
    const int value = static_cast<int>(std::get<long long>(typed));
    if (slider->value() == -value)
        OnSliderMoved(); // the same position: the slider sends nothing, but the pitch may be off the grid
    else
        slider->setValue(-value);
}

void CSetPitchDialog::OnHzTyped() {
    if (!m_pDoc || !m_pHzEdit->isModified())
        return;
    std::variant<double, std::string> hz =
        ValidateReal(m_pHzEdit->text().trimmed().toStdString(), PitchDialogRange::LowestHz(),
                     PitchDialogRange::HighestHz());
    if (const std::string* message = std::get_if<std::string>(&hz)) {
        Refresh();
        GetUi().Message(*message, MessageIcon::Exclamation);
        return;
    }
    m_pDoc->SetPitch(std::get<double>(hz));
    Refresh();
    m_pDoc->UpdateAllViews(nullptr, CSampleDoc::kPitchChangedHint);
}

void CSetPitchDialog::Refresh() {
    if (!m_pDoc)
        return;
    PitchParts parts = SplitPitch(m_pDoc->m_dPitch);
    const int cents = static_cast<int>(parts.cents);
    {
        const QSignalBlocker blockNote(m_pNote), blockOctave(m_pOctave), blockCents(m_pCents);
        m_pOctave->setValue(-parts.octave);
        m_pNote->setValue(-parts.note);
        m_pCents->setValue(-cents);
    }
    ShowValues(parts.octave, parts.note, cents);
    m_pCompensate->setChecked(m_pDoc->m_bCompensate);
    int offset = 0;
    if (m_pDoc->LoopPitchOffset(&offset)) {
        m_pLoopText->setText(QString("Loop pitch offset: %1").arg(offset));
        m_pCompensate->setEnabled(true);
    } else {
        m_pLoopText->setText("Loop pitch offset: n/a");
        m_pCompensate->setEnabled(false);
    }
}

void CSetPitchDialog::OnSliderMoved() {
    if (!m_pDoc)
        return;
    const int octave = -m_pOctave->value();
    const int note = -m_pNote->value();
    const int cents = -m_pCents->value();
    m_pDoc->SetPitchFromParts(octave, note, cents);
    ShowValues(octave, note, cents);
    m_pDoc->UpdateAllViews(nullptr, CSampleDoc::kPitchChangedHint);
}

void CSetPitchDialog::OnCompensate() {
    if (m_pDoc)
        m_pDoc->SetCompensate(m_pCompensate->isChecked());
}
