#include "ui/wave/SampleFrame.h"

#include "app/CommandKeys.h"
#include "app/CommandToolBar.h"
#include "sample/Player.h"
#include "sample/SampleDoc.h"
#include "ui/wave/SampleFramePanes.h"
#include "ui/wave/SampleView1.h"
#include "ui/wave/SampleView2.h"
#include "ui/wave/SetPitchDialog.h"
#include "ui/wave/WaveArtwork.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <iterator>
#include <optional>

namespace {
// The toolbar from left to right; nothing stands for a gap.
const std::optional<Command> kToolBar[] = {
    Command::Undo,
    Command::Redo,
    std::nullopt,
    Command::Play,
    Command::LoopPlay,
    Command::Stop,
    std::nullopt,
    Command::HorizontalZoom,
    Command::HorizontalUnzoom,
    Command::VerticalZoom,
    Command::VerticalUnzoom,
    std::nullopt,
    Command::SetStart,
    Command::SetStop,
    std::nullopt,
    Command::SetLoopStart,
    Command::SetLoopEnd,
    std::nullopt,
    Command::LoopDisplay,
    std::nullopt,
    Command::PitchDialog,
};

// How often the toolbar's buttons follow the state of their commands.
constexpr int kCommandUiInterval = 250;

// The panes keep the desktop's status-bar font and grow from their usual widths until the widest
// text of each fits.
int PaneWidth(const QFontMetrics& metrics, std::size_t pane) {
    const char* widest[] = {"Play: 000000  000000",
                            "Loop: 000000  000000",
                            "Pitch: G#4 -50.00 (440.00 Hz)",
                            "000000",
                            "00.000",
                            "Mark: 000000  000000  00.000 s"};
    constexpr int kMargin = 8;
    return std::max(SampleFramePanes::kWidths[pane], metrics.horizontalAdvance(widest[pane]) + kMargin);
}
} // namespace

CSampleFrame::CSampleFrame(std::unique_ptr<CSampleDoc> document, QWidget* parent)
    : CChildFrame(DocumentKind::Wave, std::move(document), parent), m_pInner(new QMainWindow),
      m_pSplitter(new QSplitter(Qt::Vertical)), m_pPitchDialog(new CSetPitchDialog(this)) {
    m_pInner->setWindowFlags(Qt::Widget);
    m_pView1 = new CSampleView1(*this, SampleDoc());
    m_pView2 = new CSampleView2(*this, SampleDoc());
    m_pSplitter->addWidget(m_pView1);
    m_pSplitter->addWidget(m_pView2);
    m_pSplitter->setChildrenCollapsible(false);
    m_pSplitter->setSizes({260, 50});
    m_pSplitter->installEventFilter(this);
    m_pInner->setCentralWidget(m_pSplitter);
    BuildToolBar();
    BuildStatusBar();
    setWidget(m_pInner);
    resize(620, 360);
    m_pPitchDialog->hide();

    BindCommandKeys(this, WaveAccelerators(), Qt::WidgetWithChildrenShortcut, [this](Command command) {
        OnCommand(command);
        UpdateCommandUi();
    });

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (isVisible())
            UpdateCommandUi();
    });
    timer->start(kCommandUiInterval);
    UpdateCommandUi();
}

CSampleFrame::~CSampleFrame() {
    // The views and the dialog go before the document they point at.
    delete m_pPitchDialog;
    delete m_pInner;
}

CSampleDoc& CSampleFrame::SampleDoc() const {
    return static_cast<CSampleDoc&>(Document());
}

void CSampleFrame::BuildToolBar() {
    m_pToolBar = new QToolBar("Wave editor", m_pInner);
    m_pToolBar->setObjectName("WaveToolBar");
    m_pToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pToolBar->setFloatable(true);
    m_pToolBar->setMovable(true);
    m_pToolBar->setIconSize(QSize(16, 16));
    AddCommandButtons(m_pToolBar, kToolBar, WaveToolIcon, [this](Command command) {
        OnCommand(command);
        UpdateCommandUi();
    });
    for (QAction* action : m_pToolBar->actions())
        action->setCheckable(ButtonCommand(action) == Command::LoopDisplay);
    m_pInner->addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CSampleFrame::BuildStatusBar() {
    auto* bar = new QStatusBar(m_pInner);
    bar->setSizeGripEnabled(false);
    m_pPanes[0] = new QLabel(SampleFramePanes::kIdlePrompt);
    m_pPanes[0]->setFrameStyle(QFrame::NoFrame);
    bar->addWidget(m_pPanes[0], 1);
    const QFontMetrics metrics(bar->font());
    for (int pane = 1; pane < kPaneCount; ++pane) {
        auto* label = new QLabel;
        label->setObjectName(QString("Pane%1").arg(pane));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(PaneWidth(metrics, static_cast<std::size_t>(pane - 1)));
        bar->addPermanentWidget(label);
        m_pPanes[pane] = label;
    }
    // A double-click on the position, time or mark pane opens the points to typing.
    for (int pane : {4, 5, 6})
        m_pPanes[pane]->installEventFilter(this);
    m_pInner->setStatusBar(bar);
}

QStatusBar* CSampleFrame::PromptBar() const {
    return m_pInner->statusBar();
}

QString CSampleFrame::PaneText(int pane) const {
    if (pane == 0 && !PromptBar()->currentMessage().isEmpty())
        return PromptBar()->currentMessage();
    return m_pPanes[pane]->text();
}

void CSampleFrame::SetPlayPane(std::uint64_t start, std::uint64_t stop) {
    m_pPanes[1]->setText(QString::fromStdString(SampleFramePanes::PlayText(start, stop)));
}

void CSampleFrame::SetLoopPane(std::uint64_t start, std::uint64_t end) {
    m_pPanes[2]->setText(QString::fromStdString(SampleFramePanes::LoopText(start, end)));
}

void CSampleFrame::SetPitchPane(double hz, const std::string& noteName) {
    m_pPanes[3]->setText(QString::fromStdString(SampleFramePanes::PitchPaneText(hz, noteName)));
}

void CSampleFrame::SetMarkPane(std::uint32_t start, std::uint32_t length, std::uint32_t rate) {
    m_pPanes[6]->setText(QString::fromStdString(SampleFramePanes::MarkText(start, length, rate)));
}

void CSampleFrame::SetPositionPane(std::int64_t frame, std::uint32_t rate) {
    m_pPanes[4]->setText(QString::fromStdString(SampleFramePanes::PositionText(frame)));
    m_pPanes[5]->setText(QString::fromStdString(SampleFramePanes::TimeText(frame, rate)));
}

void CSampleFrame::RefreshPitchDialog() {
    if (m_pPitchDialog->isVisible() && m_pPitchDialog->Document() == &SampleDoc())
        m_pPitchDialog->Refresh();
}

void CSampleFrame::UpdateCommandUi() {
    for (QAction* action : m_pToolBar->actions()) {
        if (!action->data().isValid())
            continue;
        const auto command = static_cast<Command>(action->data().toInt());
        action->setEnabled(IsCommandEnabled(command));
        if (action->isCheckable())
            action->setChecked(IsCommandChecked(command));
    }
}

void CSampleFrame::SplitRows() {
    const QList<int> sizes = m_pSplitter->sizes();
    if (sizes.size() != 2)
        return;
    auto [upper, lower] = SampleFramePanes::SplitRows(sizes[0] + sizes[1]);
    m_pSplitter->setSizes({upper, lower});
}

bool CSampleFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pSplitter && event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, [this] { SplitRows(); });
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_pPanes[4] || watched == m_pPanes[5] || watched == m_pPanes[6])) {
        OnCommand(Command::Points);
        return true;
    }
    return CChildFrame::eventFilter(watched, event);
}

void CSampleFrame::showEvent(QShowEvent* event) {
    CChildFrame::showEvent(event);
    if (m_bWatchingActivation || !mdiArea())
        return;
    m_bWatchingActivation = true;
    // Another child window taking over hides the dialog; a window outside the area (the dialog
    // itself) does not.
    connect(mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window && window != this)
            m_pPitchDialog->hide();
    });
}

void CSampleFrame::FocusNextPane(bool) {
    if (m_pView1->hasFocus())
        m_pView2->setFocus(Qt::TabFocusReason);
    else
        m_pView1->setFocus(Qt::TabFocusReason);
}

namespace {
bool ClearPoints(CSampleDoc& doc) {
    doc.OnClearPoints();
    return true;
}
bool ClearLoop(CSampleDoc& doc) {
    doc.OnClearLoop();
    return true;
}

// The wave menu's commands that the document answers by itself, with its enabling rule.
const struct {
    Command command;
    SampleCommand sampleCommand;
    bool (*handler)(CSampleDoc&);
} kDocumentCommands[] = {
    {Command::Normalize, SampleCommand::Normalize, [](CSampleDoc& d) { return d.OnNormalize(); }},
    {Command::NormalizeLR, SampleCommand::NormalizeIndependently,
     [](CSampleDoc& d) { return d.OnNormalizeIndependently(); }},
    {Command::ClearStartStop, SampleCommand::ClearPoints, ClearPoints},
    {Command::ClearLoop, SampleCommand::ClearLoop, ClearLoop},
    {Command::Truncate, SampleCommand::Truncate, [](CSampleDoc& d) { return d.OnTruncate(); }},
    {Command::SwapChannels, SampleCommand::SwapChannels, [](CSampleDoc& d) { return d.OnSwapChannels(); }},
    {Command::RemixStereo, SampleCommand::RemixStereo, [](CSampleDoc& d) { return d.OnRemixStereo(); }},
    {Command::ReduceToMono, SampleCommand::ReduceToMono, [](CSampleDoc& d) { return d.OnReduceToMono(); }},
    {Command::Resample, SampleCommand::Resample, [](CSampleDoc& d) { return d.OnResample(); }},
    {Command::Synthesize, SampleCommand::Synthesize, [](CSampleDoc& d) { return d.OnSynthesize(); }},
    {Command::Reopen, SampleCommand::Reopen, [](CSampleDoc& d) { return d.OnReopen(); }},
};
} // namespace

bool CSampleFrame::IsDocumentCommand(Command command, bool* enabled) const {
    for (const auto& entry : kDocumentCommands) {
        if (entry.command == command) {
            *enabled = SampleDoc().IsCommandEnabled(entry.sampleCommand);
            return true;
        }
    }
    return false;
}

void CSampleFrame::OnDocumentCommand(Command command) {
    // The player reads the audio in place: nothing may rewrite or replace it under a playing buffer.
    PlayerStop();
    for (const auto& entry : kDocumentCommands) {
        if (entry.command == command)
            entry.handler(SampleDoc());
    }
    // Reopen may have changed the path; synthesis and resampling the rate and channels.
    UpdateCaption();
}

bool CSampleFrame::IsCommandEnabled(Command command) const {
    switch (command) {
    case Command::LoopDisplay:
        // The loop display needs a loop; without one the mode quietly returns to normal.
        if (SampleDoc().m_nLoopLength == 0) {
            m_nDisplayMode = 0;
            return false;
        }
        return true;
    case Command::PitchDialog:
    case Command::ViewToolbar:
    case Command::ViewStatusBar:
        return true;
    default:
        break;
    }
    if (m_pView1->HandlesCommand(command))
        return m_pView1->IsCommandEnabled(command);
    if (bool enabled = false; IsDocumentCommand(command, &enabled))
        return enabled;
    return CChildFrame::IsCommandEnabled(command);
}

bool CSampleFrame::IsCommandChecked(Command command) const {
    switch (command) {
    case Command::LoopDisplay:
        return m_nDisplayMode == 1 && SampleDoc().m_nLoopLength != 0;
    case Command::ViewToolbar:
        return !m_pToolBar->isHidden();
    case Command::ViewStatusBar:
        return !PromptBar()->isHidden();
    default:
        return m_pView1->IsCommandChecked(command);
    }
}

bool CSampleFrame::OnCommand(Command command) {
    switch (command) {
    case Command::LoopDisplay:
        if (IsCommandEnabled(command)) {
            m_nDisplayMode = m_nDisplayMode == 0 ? 1 : 0;
            SampleDoc().UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        }
        return true;
    case Command::PitchDialog:
        m_pPitchDialog->SetDocument(&SampleDoc());
        m_pPitchDialog->show();
        m_pPitchDialog->raise();
        return true;
    case Command::ViewToolbar:
        m_pToolBar->setVisible(m_pToolBar->isHidden());
        return true;
    case Command::ViewStatusBar:
        PromptBar()->setVisible(PromptBar()->isHidden());
        return true;
    default:
        break;
    }
    if (m_pView1->OnCommand(command))
        return true;
    if (bool enabled = false; IsDocumentCommand(command, &enabled)) {
        if (enabled)
            OnDocumentCommand(command);
        return true;
    }
    return CChildFrame::OnCommand(command);
}

EditorFactory SampleEditorFactory() {
    return {[] { return std::make_unique<CSampleDoc>(); },
            [](std::unique_ptr<CDocument> document) {
                return new CSampleFrame(
                    std::unique_ptr<CSampleDoc>(static_cast<CSampleDoc*>(document.release())));
            }};
}
