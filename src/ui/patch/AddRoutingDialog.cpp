#include "ui/patch/AddRoutingDialog.h"

#include "platform/DialogValidation.h"
#include "ui/wave/FieldCheck.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <limits>

namespace {
QListWidget* ChoiceList(const char* name, const std::vector<AddRoutingValues::Choice>& choices) {
    auto* list = new QListWidget;
    list->setObjectName(name);
    for (const AddRoutingValues::Choice& choice : choices)
        list->addItem(QString::fromStdString(choice.name));
    return list;
}

int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void Focus(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
}
} // namespace

CAddRoutingDialog::CAddRoutingDialog(const AddRoutingValues& initial, QWidget* parent)
    : QDialog(parent), m_model(initial), m_pSources(ChoiceList("Sources", initial.sources)),
      m_pDestinations(ChoiceList("Destinations", initial.destinations)),
      m_pControllerLabel(new QLabel(CAddRoutingDialogModel::kControllerLabel)),
      m_pController(new QLineEdit("0")), m_pStageLabel(new QLabel(CAddRoutingDialogModel::kStageLabel)),
      m_pStage(new QLineEdit("0")) {
    setWindowTitle("Add New Routing");
    m_pController->setObjectName("Controller");
    m_pStage->setObjectName("Stage");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_pOk = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAddRoutingDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAddRoutingDialog::reject);
    // A list's choice is its selected entry: the focus alone puts a current entry in it.
    connect(m_pSources, &QListWidget::itemSelectionChanged, this, [this] {
        bool focus = m_model.ChooseSource(SelectedRow(m_pSources));
        m_pController->setText(QString::number(m_model.Values().controller));
        ShowBoxes();
        if (focus)
            Focus(m_pController);
    });
    connect(m_pDestinations, &QListWidget::itemSelectionChanged, this, [this] {
        bool focus = m_model.ChooseDestination(SelectedRow(m_pDestinations));
        m_pStage->setText(QString::number(m_model.Values().stage));
        ShowBoxes();
        if (focus)
            Focus(m_pStage);
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Sources"), 0, 0);
    layout->addWidget(new QLabel("Destinations"), 0, 1);
    layout->addWidget(m_pSources, 1, 0);
    layout->addWidget(m_pDestinations, 1, 1);
    layout->addWidget(m_pControllerLabel, 2, 0);
    layout->addWidget(m_pStageLabel, 2, 1);
    layout->addWidget(m_pController, 3, 0);
    layout->addWidget(m_pStage, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    ShowBoxes();
    resize(380, 300);
}

void CAddRoutingDialog::ShowBoxes() {
    m_pControllerLabel->setVisible(m_model.ShowsController());
    m_pController->setVisible(m_model.ShowsController());
    m_pStageLabel->setVisible(m_model.ShowsStage());
    m_pStage->setVisible(m_model.ShowsStage());
    m_pOk->setEnabled(m_model.IsOkEnabled());
}

void CAddRoutingDialog::accept() {
    constexpr long long kLow = std::numeric_limits<std::int32_t>::min();
    constexpr long long kHigh = std::numeric_limits<std::int32_t>::max();
    std::int32_t controller = 0;
    std::int32_t stage = 0;
    if (m_model.ShowsController()) {
        std::optional<long long> value =
            CheckedField(m_pController, ValidateInteger(m_pController->text().toStdString(), kLow, kHigh));
        if (!value)
            return;
        controller = static_cast<std::int32_t>(*value);
    }
    if (m_model.ShowsStage()) {
        std::optional<long long> value =
            CheckedField(m_pStage, ValidateInteger(m_pStage->text().toStdString(), kLow, kHigh));
        if (!value)
            return;
        stage = static_cast<std::int32_t>(*value);
    }
    if (auto refusal = m_model.Accept(controller, stage)) {
        RefuseField(refusal->field == CAddRoutingDialogModel::Field::Controller ? m_pController : m_pStage,
                    refusal->message);
        return;
    }
    QDialog::accept();
}
