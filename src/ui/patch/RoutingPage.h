#pragma once

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
    CBreakpointGraph* Graph() const { return m_pGraph; }
    QLabel* YHighLabel() const { return m_pYHigh; }
    QLabel* YLowLabel() const { return m_pYLow; }
    QLabel* ReadOut() const { return m_pReadOut; }
    QToolButton* ZoomButton() const { return m_pZoom; }
    QToolButton* UnzoomButton() const { return m_pUnzoom; }

private:
    void ShowList();
    void ShowGraph();

    CRoutingPageModel& m_model;
    QListWidget* m_pList;
    QPushButton* m_pAdd;
    QPushButton* m_pDelete;
    CBreakpointGraph* m_pGraph;
    QLabel* m_pYHigh;
    QLabel* m_pYLow;
    QLabel* m_pReadOut;
    QToolButton* m_pZoom;
    QToolButton* m_pUnzoom;
    bool m_bFilling = false;
};
