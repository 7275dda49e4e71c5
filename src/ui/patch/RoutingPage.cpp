#include "ui/patch/RoutingPage.h"

#include "ui/patch/BreakpointGraph.h"
#include "ui/patch/GraphPageLayout.h"
#include "ui/patch/RoutingPageModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

CRoutingPage::CRoutingPage(CRoutingPageModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_pList(new QListWidget), m_pAdd(new QPushButton("Add")),
      m_pDelete(new QPushButton("Delete")) {
    setObjectName(model.Kind().title);
    m_parts = MakeGraphPageParts(this, m_model, [this] { ShowGraph(); });
    m_parts.xLow->setText("1");
    m_parts.xHigh->setText("127");
    m_pList->setObjectName("Routings");

    connect(m_pList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_bFilling)
            return;
        m_model.OnSelectionChanged(row);
        ShowGraph();
    });
    connect(m_pAdd, &QPushButton::clicked, this, [this] {
        if (m_model.OnAdd())
            Load();
    });
    connect(m_pDelete, &QPushButton::clicked, this, [this] {
        QListWidgetItem* item = m_pList->currentItem();
        if (item && item->isSelected() && m_model.OnDelete(m_pList->currentRow()))
            Load();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pAdd);
    buttons->addWidget(m_pDelete);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(model.Kind().caption));
    left->addWidget(m_pList, 1);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(m_parts.layout, 3);
    Load();
}

void CRoutingPage::ShowList() {
    m_bFilling = true;
    m_pList->clear();
    for (const std::string& line : m_model.Descriptions())
        m_pList->addItem(QString::fromStdString(line));
    if (m_model.Selected() >= 0)
        m_pList->setCurrentRow(m_model.Selected());
    m_bFilling = false;
}

void CRoutingPage::ShowGraph() {
    m_parts.yHigh->setText(QString::fromStdString(m_model.YHighLabel()));
    m_parts.yLow->setText(QString::fromStdString(m_model.YLowLabel()));
    m_parts.zoom->setEnabled(m_model.ZoomEnabled());
    m_parts.unzoom->setEnabled(m_model.UnzoomEnabled());
    m_parts.graph->update();
}

void CRoutingPage::Load() {
    ShowList();
    for (QWidget* control : std::initializer_list<QWidget*>{m_pAdd, m_pDelete, m_pList})
        control->setEnabled(m_model.ControlsEnabled());
    m_parts.readOut->clear();
    ShowGraph();
}
