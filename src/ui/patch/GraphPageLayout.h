#pragma once

#include "ui/patch/BreakpointGraphModel.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class CBreakpointGraph;
class QGridLayout;
class QLabel;
class QToolButton;
class QWidget;

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

// What the parts do: the graph edits `graph` and shows what `readOut` makes of its notices; the
// zoom buttons call `zoom` and `unzoom`, then `shown`.
struct GraphPageActions {
    CBreakpointGraphModel& graph;
    std::function<std::string(int kind, std::uint32_t point)> readOut;
    std::function<void()> zoom;
    std::function<void()> unzoom;
    std::function<void()> shown;
};

// The parts, wired to their actions for as long as `page` lives.
GraphPageParts MakeGraphPageParts(QWidget* page, GraphPageActions actions);

// The same for a page model with a graph, a read-out and zoom steps.
template <class PageModel>
GraphPageParts MakeGraphPageParts(QWidget* page, PageModel& model, std::function<void()> shown) {
    return MakeGraphPageParts(page,
                              {model.Graph(),
                               [&model](int kind, std::uint32_t point) {
                                   model.OnGraphNotify(kind, point);
                                   return model.ReadOut();
                               },
                               [&model] { model.Zoom(); }, [&model] { model.Unzoom(); }, std::move(shown)});
}
