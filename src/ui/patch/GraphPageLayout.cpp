#include "ui/patch/GraphPageLayout.h"

#include "ui/patch/BreakpointGraph.h"
#include "ui/patch/PatchArtwork.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {
QToolButton* ZoomButton(const char* name, bool zoomIn, const char* tip) {
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setIcon(ZoomIcon(zoomIn));
    button->setToolTip(tip);
    button->setAutoRaise(false);
    return button;
}
} // namespace

GraphPageParts MakeGraphPageParts(QWidget* page, GraphPageActions actions) {
    GraphPageParts parts{};
    parts.graph = new CBreakpointGraph;
    parts.graph->setMinimumSize(240, 140);
    parts.graph->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    parts.readOut = new QLabel;
    parts.readOut->setObjectName("ReadOut");
    parts.readOut->setMinimumWidth(90);
    parts.yHigh = new QLabel;
    parts.yMiddle = new QLabel;
    parts.yLow = new QLabel;
    parts.xLow = new QLabel;
    parts.xHigh = new QLabel;
    parts.xHigh->setAlignment(Qt::AlignRight);
    parts.zoom = ZoomButton("ZOOM", true, "Zoom");
    parts.unzoom = ZoomButton("UNZOOM", false, "Unzoom");

    auto* yLabels = new QVBoxLayout;
    // The middle label sits by the 0 dB line, a seventh of the way down from +10 dB to -60 dB.
    yLabels->addWidget(parts.yHigh, 0, Qt::AlignTop);
    yLabels->addStretch(1);
    yLabels->addWidget(parts.yMiddle);
    yLabels->addStretch(6);
    yLabels->addWidget(parts.yLow, 0, Qt::AlignBottom);
    auto* top = new QHBoxLayout;
    top->addWidget(parts.readOut);
    top->addStretch();
    top->addWidget(parts.zoom);
    top->addWidget(parts.unzoom);
    auto* xLabels = new QHBoxLayout;
    xLabels->addWidget(parts.xLow);
    xLabels->addStretch();
    xLabels->addWidget(parts.xHigh);

    parts.graph->ShareModel(actions.graph);
    QLabel* readOut = parts.readOut;
    parts.graph->Attach(nullptr, [readOut, make = actions.readOut](int kind, std::uint32_t point) {
        readOut->setText(QString::fromStdString(make(kind, point)));
    });
    QObject::connect(parts.zoom, &QToolButton::clicked, page, [zoom = actions.zoom, shown = actions.shown] {
        zoom();
        shown();
    });
    QObject::connect(parts.unzoom, &QToolButton::clicked, page,
                     [unzoom = actions.unzoom, shown = actions.shown] {
                         unzoom();
                         shown();
                     });

    parts.layout = new QGridLayout;
    parts.layout->addLayout(top, 0, 0);
    parts.layout->addWidget(parts.graph, 1, 0);
    parts.layout->addLayout(yLabels, 1, 1);
    parts.layout->addLayout(xLabels, 2, 0);
    return parts;
}
