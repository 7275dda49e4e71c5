#include "ui/wave/PointsDialog.h"

#include "ui/wave/FieldCheck.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kBothLoopPoints = "Please enter both loop points, or neither.";
}

CPointsDialog::CPointsDialog(const PointsValues& initial, QWidget* parent)
    : QDialog(parent), m_pFrames(new QRadioButton("&Frames")), m_pSeconds(new QRadioButton("S&econds")),
      m_values(initial) {
    setWindowTitle("Points");
    const std::uint32_t points[kFieldCount] = {initial.sampleStart, initial.sampleStop, initial.loopStart,
                                               initial.loopEnd,     initial.markStart,  initial.markEnd};
    for (int field = 0; field < kFieldCount; ++field) {
        const bool emptyLoop = !initial.loop && (field == LoopStart || field == LoopEnd);
        m_pFields[field] = new QLineEdit(
            emptyLoop ? QString()
                      : QString::fromStdString(PointText(points[field], initial.inSeconds, initial.rate)));
    }
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Start"), 0, 1);
    grid->addWidget(new QLabel("Stop / end"), 0, 2);
    const char* rows[] = {"&Sample", "&Loop", "&Marked"};
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(rows[row]);
        label->setBuddy(m_pFields[row * 2]);
        grid->addWidget(label, row + 1, 0);
        grid->addWidget(m_pFields[row * 2], row + 1, 1);
        grid->addWidget(m_pFields[row * 2 + 1], row + 1, 2);
    }
    auto* units = new QHBoxLayout;
    units->addWidget(m_pFrames);
    units->addWidget(m_pSeconds);
    units->addStretch();
    m_pSeconds->setEnabled(initial.rate != 0);
    (initial.inSeconds && initial.rate != 0 ? m_pSeconds : m_pFrames)->setChecked(true);
    connect(m_pSeconds, &QRadioButton::toggled, this, &CPointsDialog::SwitchUnit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPointsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPointsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(units);
    layout->addLayout(grid);
    layout->addWidget(new QLabel("Empty loop boxes: no loop. Seconds round to the nearest frame."));
    layout->addWidget(buttons);
}

void CPointsDialog::SwitchUnit(bool inSeconds) {
    // A box that does not read in the old unit is left for OK to refuse.
    for (QLineEdit* box : m_pFields) {
        auto point = ParsePointText(box->text().toStdString(), !inSeconds, m_values.rate, m_values.frames);
        if (auto* frame = std::get_if<std::uint32_t>(&point))
            box->setText(QString::fromStdString(PointText(*frame, inSeconds, m_values.rate)));
    }
    m_values.inSeconds = inSeconds;
}

void CPointsDialog::accept() {
    const bool loop =
        !m_pFields[LoopStart]->text().trimmed().isEmpty() || !m_pFields[LoopEnd]->text().trimmed().isEmpty();
    std::uint32_t points[kFieldCount] = {};
    for (int field = 0; field < kFieldCount; ++field) {
        QLineEdit* box = m_pFields[field];
        if (!loop && (field == LoopStart || field == LoopEnd))
            continue;
        if (loop && box->text().trimmed().isEmpty()) {
            RefuseField(box, kBothLoopPoints);
            return;
        }
        auto point = CheckedField(box, ParsePointText(box->text().trimmed().toStdString(), m_values.inSeconds,
                                                      m_values.rate, m_values.frames));
        if (!point)
            return;
        points[field] = *point;
    }
    m_values.sampleStart = points[SampleStart];
    m_values.sampleStop = points[SampleStop];
    m_values.loop = loop;
    m_values.loopStart = points[LoopStart];
    m_values.loopEnd = points[LoopEnd];
    m_values.markStart = points[MarkStart];
    m_values.markEnd = points[MarkEnd];
    QDialog::accept();
}
