#pragma once

#include <QString>

class CBreakpointGraph;
class QGridLayout;
class QLabel;
class QToolButton;

// The part the graph pages share: the read-out above the graph, the graph with the y range's
// labels at its right, the x range's labels under its ends, and the two zoom buttons.
struct GraphPageParts {
    CBreakpointGraph* graph;
    QLabel* readOut;
    QLabel* yHigh;
    QLabel* yMiddle; // empty where the page has none
    QLabel* yLow;
    QLabel* xLow;
    QLabel* xHigh;
    QToolButton* zoom;
    QToolButton* unzoom;
    QGridLayout* layout;
};

GraphPageParts MakeGraphPageParts();
