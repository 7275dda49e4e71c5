#include "ui/wave/LevelControl.h"

#include "platform/DialogValidation.h"
#include "platform/Ui.h"
#include "sample/LevelDialogs.h"
#include "ui/wave/FieldCheck.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

CLevelControl::CLevelControl(const QString& caption, int dB, QWidget* parent)
    : QWidget(parent), m_pEdit(new QLineEdit), m_pSlider(new QSlider(Qt::Vertical)) {
    m_pSlider->setRange(LevelSlider::kBottomDb, LevelSlider::kTopDb);
    m_pSlider->setTickInterval(LevelSlider::kTickDb);
    m_pSlider->setTickPosition(QSlider::TicksBothSides);
    m_pSlider->setMinimumHeight(120);
    m_pEdit->setMaximumWidth(48);
    m_pEdit->installEventFilter(this);

    auto* box = new QHBoxLayout;
    box->addWidget(m_pEdit);
    box->addWidget(new QLabel("dB"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption), 0, Qt::AlignHCenter);
    layout->addLayout(box);
    layout->addWidget(m_pSlider, 1, Qt::AlignHCenter);
    SetLevel(dB);

    connect(m_pSlider, &QSlider::valueChanged, this, [this](int value) {
        if (m_bPlacing)
            return;
        m_pEdit->setText(QString::number(value));
        m_bTyped = false;
        emit SliderMoved(value);
    });
    connect(m_pEdit, &QLineEdit::textEdited, this, [this] {
        m_bTyped = true;
        PlaceSlider(LevelSlider::kBottomDb);
        emit Typed();
    });
}

void CLevelControl::SetLevel(int dB) {
    m_pEdit->setText(QString::number(dB));
    PlaceSlider(dB);
}

QString CLevelControl::Text() const {
    return m_pEdit->text();
}

void CLevelControl::PlaceSlider(int dB) {
    m_bPlacing = true;
    m_pSlider->setValue(dB); // a level beyond the slider's span rests at its end
    m_bPlacing = false;
}

bool CLevelControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pEdit && event->type() == QEvent::FocusOut && m_bTyped) {
        m_bTyped = false;
        bool whole = false;
        int dB = m_pEdit->text().trimmed().toInt(&whole);
        if (whole) {
            PlaceSlider(dB);
            emit Left(dB);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QGroupBox* LevelGroup(const char* title, CLevelControl* left, CLevelControl* right) {
    auto* group = new QGroupBox(title);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(left);
    layout->addWidget(right);
    return group;
}

bool ReadLevels(std::initializer_list<std::pair<CLevelControl*, int*>> fields, long long low,
                long long high) {
    for (auto [control, field] : fields) {
        std::optional<long long> value =
            CheckedField(control->Edit(), ValidateInteger(control->Text().toStdString(), low, high));
        if (!value)
            return false;
        *field = static_cast<int>(*value);
    }
    return true;
}
