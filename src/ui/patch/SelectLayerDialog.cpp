#include "ui/patch/SelectLayerDialog.h"

#include "platform/TextEncoding.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

CSelectLayerDialog::CSelectLayerDialog(const SelectLayerValues& initial, QWidget* parent)
    : QDialog(parent), m_pList(new QListWidget), m_values(initial) {
    setWindowTitle("Select Layer");
    m_pList->setObjectName("Layers");
    std::sort(m_values.names.begin(), m_values.names.end());
    for (std::size_t i = 0; i < m_values.names.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(Cp1252ToUtf8(m_values.names[i])), m_pList);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectLayerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectLayerDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(buttons);
    resize(260, 300);
}

void CSelectLayerDialog::accept() {
    // OK with nothing chosen names no layer.
    m_values.chosen.clear();
    if (QListWidgetItem* item = m_pList->currentItem(); item && item->isSelected())
        m_values.chosen = m_values.names[static_cast<std::size_t>(item->data(Qt::UserRole).toInt())];
    QDialog::accept();
}
