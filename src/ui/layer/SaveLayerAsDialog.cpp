#include "ui/layer/SaveLayerAsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CSaveLayerAsDialog::CSaveLayerAsDialog(const LayerNameValues& initial, QWidget* parent)
    : QDialog(parent), m_pName(new QLineEdit(QString::fromStdString(initial.name))) {
    setWindowTitle("Save Layer As");
    m_pName->setMinimumWidth(240);
    m_pName->selectAll();
    auto* fields = new QFormLayout;
    fields->addRow("Name", m_pName);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSaveLayerAsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSaveLayerAsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

LayerNameValues CSaveLayerAsDialog::Values() const {
    return {m_pName->text().toStdString()};
}
