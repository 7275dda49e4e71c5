#pragma once

#include "ui/patch/GraphPageLayout.h"

#include <QWidget>

class CBreakpointGraph;
class CRoutingPageModel;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

// "Key Routings" and "Continuous Routings": the active routings of one kind, "Add" and "Delete",
// and the selected routing's curve.
class CRoutingPage : public QWidget {
    Q_OBJECT
public:
    explicit CRoutingPage(CRoutingPageModel& model, QWidget* parent = nullptr);

    // Shows the model's working copy, the list and the routing shown.
    void Load();

    QListWidget* List() const { return m_pList; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* DeleteButton() const { return m_pDelete; }
    CBreakpointGraph* Graph() const { return m_parts.graph; }
    QLabel* YHighLabel() const { return m_parts.yHigh; }
    QLabel* YLowLabel() const { return m_parts.yLow; }
    QLabel* ReadOut() const { return m_parts.readOut; }
    QToolButton* ZoomButton() const { return m_parts.zoom; }
    QToolButton* UnzoomButton() const { return m_parts.unzoom; }

private:
    void ShowList();
    void ShowGraph();

    CRoutingPageModel& m_model;
    QListWidget* m_pList;
    QPushButton* m_pAdd;
    QPushButton* m_pDelete;
    GraphPageParts m_parts{};
    bool m_bFilling = false;
};
