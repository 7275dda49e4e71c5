#include "ui/patch/PatchFrame.h"

#include "app/CommandToolBar.h"
#include "layer/LayerLibrary.h"
#include "layer/SamplePath.h"
#include "patch/PatchDoc.h"
#include "ui/patch/PatchArtwork.h"
#include "ui/patch/PatchFormModel.h"
#include "ui/patch/PatchFormView.h"
#include "ui/patch/PatchTreeModel.h"
#include "ui/patch/PatchTreeView.h"

#include <QAction>
#include <QMainWindow>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <optional>

namespace {
// The toolbar from left to right; nothing stands for a gap.
const std::optional<Command> kToolBar[] = {
    Command::NewPatch,     Command::AddLayer, std::nullopt,
    Command::DeleteObject, std::nullopt,      Command::ReplaceLayer,
};

constexpr int kTreeWidth = 180;
constexpr int kFormWidth = 400;
constexpr int kPaneHeight = 460;
} // namespace

CPatchFrame::CPatchFrame(std::unique_ptr<CPatchDoc> document, const std::string& layerFile, OpenFunction open,
                         QWidget* parent)
    : CChildFrame(DocumentKind::Patch, std::move(document), parent),
      m_pLayerLibrary(LoadLayerLibrary(layerFile)),
      m_pTreeModel(std::make_unique<CPatchTreeModel>(PatchDoc(), *m_pLayerLibrary)),
      m_pFormModel(std::make_unique<CPatchFormModel>(PatchDoc(), *m_pTreeModel, *m_pLayerLibrary)),
      m_pInner(new QMainWindow), m_pSplitter(new QSplitter(Qt::Horizontal)) {
    m_pInner->setWindowFlags(Qt::Widget);
    m_pTreeView = new CPatchTreeView(*m_pTreeModel);
    m_pTreeView->SetOpenHandler([open = std::move(open)](const std::string& path) {
        if (open)
            open(SamplePathForOpening(path));
    });
    m_pFormView = new CPatchFormView(*m_pFormModel);
    auto* scroll = new QScrollArea;
    scroll->setWidget(m_pFormView);
    scroll->setWidgetResizable(true);
    m_pSplitter->addWidget(m_pTreeView);
    m_pSplitter->addWidget(scroll);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->setStretchFactor(1, 1);
    m_pSplitter->setSizes({kTreeWidth, kFormWidth});
    m_pInner->setCentralWidget(m_pSplitter);
    BuildToolBar();
    // Somewhere for the toolbar's fly-by prompts.
    auto* bar = new QStatusBar(m_pInner);
    bar->setSizeGripEnabled(false);
    m_pInner->setStatusBar(bar);
    setWidget(m_pInner);
    resize(kTreeWidth + kFormWidth + 260, kPaneHeight + 180);

    m_pTreeModel->SetChangedHandler([this] {
        m_pTreeView->Resync();
        UpdateCommandUi();
    });
    m_pTreeModel->InitialUpdate();
    m_pFormModel->Update();
}

CPatchFrame::~CPatchFrame() {
    // The windows go before the models they show, the models before the library they read.
    delete m_pInner;
    m_pFormModel.reset();
    m_pTreeModel.reset();
    m_pLayerLibrary->ReleaseAll();
}

CPatchDoc& CPatchFrame::PatchDoc() const {
    return static_cast<CPatchDoc&>(Document());
}

void CPatchFrame::BuildToolBar() {
    m_pToolBar = new QToolBar("Patch editor", m_pInner);
    m_pToolBar->setObjectName("PatchToolBar");
    m_pToolBar->setMovable(false);
    m_pToolBar->setIconSize(QSize(16, 16));
    AddCommandButtons(m_pToolBar, kToolBar, PatchToolIcon, [this](Command command) { OnCommand(command); });
    m_pInner->addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CPatchFrame::UpdateCommandUi() {
    if (!m_pToolBar)
        return;
    for (QAction* action : m_pToolBar->actions())
        if (std::optional<Command> command = ButtonCommand(action))
            action->setEnabled(IsCommandEnabled(*command));
}

QStatusBar* CPatchFrame::PromptBar() const {
    return m_pInner->statusBar();
}

void CPatchFrame::FocusNextPane(bool) {
    if (m_pTreeView->hasFocus())
        m_pFormView->setFocus(Qt::TabFocusReason);
    else
        m_pTreeView->setFocus(Qt::TabFocusReason);
}

bool CPatchFrame::OnCommand(Command command) {
    switch (command) {
    case Command::NewPatch:
        m_pTreeModel->NewPatch();
        break;
    case Command::AddLayer:
        m_pTreeModel->AddLayer();
        break;
    case Command::DeleteObject:
        m_pTreeModel->DeleteObject();
        break;
    case Command::ReplaceLayer:
        m_pTreeModel->ReplaceLayer();
        break;
    case Command::ReportPatches:
        PatchDoc().ReportPatches();
        break;
    default:
        return CChildFrame::OnCommand(command);
    }
    UpdateCommandUi();
    return true;
}

bool CPatchFrame::IsCommandEnabled(Command command) const {
    switch (command) {
    case Command::NewPatch:
    case Command::ReportPatches:
        return true;
    case Command::AddLayer:
        return m_pTreeModel->CanAddLayer();
    case Command::DeleteObject:
        return m_pTreeModel->CanDeleteObject();
    case Command::ReplaceLayer:
        return m_pTreeModel->CanReplaceLayer();
    default:
        return CChildFrame::IsCommandEnabled(command);
    }
}

EditorFactory PatchEditorFactory(CWloeApp& app) {
    return {[] { return std::make_unique<CPatchDoc>(); },
            [&app](std::unique_ptr<CDocument> document) {
                return new CPatchFrame(
                    std::unique_ptr<CPatchDoc>(static_cast<CPatchDoc*>(document.release())),
                    app.Paths().layerFile, [&app](const std::string& path) { app.OpenDocumentFile(path); });
            }};
}
