#include "ui/wave/KrzSampleDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CKrzSampleDialog::CKrzSampleDialog(const KrzSampleChoice& list, QWidget* parent)
    : QDialog(parent), m_list(list), m_pList(new QListWidget) {
    setWindowTitle("Kurzweil file: available samples");
    m_pList->setObjectName("samples");
    m_pList->setSortingEnabled(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& entry : list.entries)
        m_pList->addItem(QString::fromStdString(entry));
    if (list.selected >= 0 && list.selected < m_pList->count())
        m_pList->setCurrentRow(list.selected);
    m_pList->setMinimumWidth(320);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_pOk = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CKrzSampleDialog::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
    UpdateOk();
}

void CKrzSampleDialog::UpdateOk() {
    m_pOk->setEnabled(!m_pList->selectedItems().isEmpty());
}

KrzSampleChoice CKrzSampleDialog::Values() const {
    KrzSampleChoice chosen = m_list;
    QList<QListWidgetItem*> selected = m_pList->selectedItems();
    chosen.selected = selected.isEmpty() ? -1 : m_pList->row(selected.front());
    return chosen;
}
