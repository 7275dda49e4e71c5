#include "ui/wave/SampleView1.h"

#include "sample/Player.h"
#include "sample/PointsDialog.h"
#include "sample/SampleDoc.h"
#include "ui/QtSurface.h"
#include "ui/wave/SampleFrame.h"
#include "ui/wave/WaveArtwork.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CSampleView1::CSampleView1(CSampleFrame& frame, CSampleDoc& doc, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_doc(doc) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(10);
    m_doc.AddView(this);
    m_model.SetClientSize(width(), height());
    OnUpdate(nullptr, 0);
}

CSampleView1::~CSampleView1() {
    // The player reads the audio in place.
    PlayerStop();
    PlayerClose();
    m_doc.RemoveView(this);
}

void CSampleView1::OnUpdate(CView*, long hint) {
    if (hint == CSampleDoc::kPitchChangedHint) {
        m_frame.SetPitchPane(m_doc.m_dPitch, m_doc.PitchText(m_doc.m_dPitch));
        m_frame.RefreshPitchDialog();
        if (!m_model.PitchGrid())
            return;
    } else if (hint != CSampleDoc::kDisplayHint) {
        // An undone step may have changed the pitch too.
        m_frame.RefreshPitchDialog();
    }
    m_model.Rescale(m_doc);
    update();
}

bool CSampleView1::HandlesCommand(Command command) const {
    switch (command) {
    case Command::Play:
    case Command::LoopPlay:
    case Command::Stop:
    case Command::PlayStop:
    case Command::ShowStart:
    case Command::ShowEnd:
    case Command::HorizontalZoom:
    case Command::HorizontalUnzoom:
    case Command::VerticalZoom:
    case Command::VerticalUnzoom:
    case Command::SetStart:
    case Command::SetStop:
    case Command::SetLoopStart:
    case Command::SetLoopEnd:
    case Command::ViewPitchGrid:
    case Command::ChangePlaybackRate:
    case Command::GuessPitch:
    case Command::ImportKrz:
    case Command::GainAdjust:
    case Command::CrossfadeLoop:
    case Command::Points:
        return true;
    default:
        return false;
    }
}

bool CSampleView1::IsCommandEnabled(Command command) const {
    switch (command) {
    case Command::SetStart:
        return !m_model.IsArmed(CWaveViewModel::kArmedStart);
    case Command::SetStop:
        return !m_model.IsArmed(CWaveViewModel::kArmedStop);
    case Command::SetLoopStart:
        return !m_model.IsArmed(CWaveViewModel::kArmedLoopStart);
    case Command::SetLoopEnd:
        return !m_model.IsArmed(CWaveViewModel::kArmedLoopEnd);
    case Command::GuessPitch:
        return m_model.CanGuessPitch(m_doc, m_frame.IsLoopDisplay());
    default:
        return HandlesCommand(command);
    }
}

bool CSampleView1::IsCommandChecked(Command command) const {
    return command == Command::ViewPitchGrid && m_model.PitchGrid();
}

bool CSampleView1::OnCommand(Command command) {
    if (!HandlesCommand(command))
        return false;
    if (!IsCommandEnabled(command))
        return true;
    switch (command) {
    case Command::Play:
        Play();
        break;
    case Command::LoopPlay:
        PlayerStop();
        if (PlayerOpen(m_doc.m_bStereo, m_doc.m_nRate))
            PlayerLoopPlay(m_doc);
        break;
    case Command::Stop:
        PlayerStop();
        break;
    case Command::PlayStop:
        if (PlayerIsPlaying())
            PlayerStop();
        else
            Play();
        break;
    case Command::ShowStart:
        m_model.ShowStart(m_doc);
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        break;
    case Command::ShowEnd:
        m_model.ShowEnd(m_doc);
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        break;
    case Command::HorizontalZoom:
        m_model.ZoomIn(m_doc);
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        break;
    case Command::HorizontalUnzoom:
        m_model.ZoomOut(m_doc);
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        break;
    case Command::VerticalZoom:
        if (m_model.VerticalZoomIn())
            update();
        break;
    case Command::VerticalUnzoom:
        if (m_model.VerticalZoomOut())
            update();
        break;
    case Command::SetStart:
        m_model.Arm(CWaveViewModel::kArmedStart);
        break;
    case Command::SetStop:
        m_model.Arm(CWaveViewModel::kArmedStop);
        break;
    case Command::SetLoopStart:
        m_model.Arm(CWaveViewModel::kArmedLoopStart);
        break;
    case Command::SetLoopEnd:
        m_model.Arm(CWaveViewModel::kArmedLoopEnd);
        break;
    case Command::ViewPitchGrid:
        m_model.TogglePitchGrid();
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
        break;
    case Command::ChangePlaybackRate:
        m_doc.OnChangePlaybackRate();
        break;
    case Command::GuessPitch:
        m_doc.GuessPitch(m_model.MarkStart(), m_model.MarkLength());
        break;
    case Command::ImportKrz:
        PlayerStop();
        m_doc.OnImportKrz();
        break;
    case Command::GainAdjust:
        PlayerStop();
        m_doc.OnGainAdjust(m_model.MarkStart(), m_model.MarkLength());
        break;
    case Command::CrossfadeLoop:
        PlayerStop();
        m_doc.OnCrossfadeLoop();
        break;
    case Command::Points:
        EditMarkAndPoints();
        break;
    default:
        break;
    }
    UpdateCursor();
    return true;
}

void CSampleView1::Play() {
    PlayerStop();
    if (!PlayerOpen(m_doc.m_bStereo, m_doc.m_nRate))
        return;
    if (m_model.MarkLength() == 0) {
        PlayerPlay(m_doc);
        return;
    }
    // The mark is the view's own and can outlast audio that was cut: only what is still there plays.
    const std::uint32_t start = m_model.MarkStart();
    if (!m_doc.m_pData || start >= m_doc.m_nFrames)
        return;
    const std::uint32_t frames = std::min(m_model.MarkLength(), m_doc.m_nFrames - start);
    const auto channels = static_cast<std::size_t>(m_doc.Channels());
    PlayerWrite(m_doc.m_pData.get() + start * channels, frames * channels, false);
}

void CSampleView1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_model.SetClientSize(width(), height());
    QtSurface surface(painter);
    surface.SetMapping(m_model.Mapping());
    const bool loopDisplay = m_frame.IsLoopDisplay();
    if (loopDisplay)
        m_doc.DrawLoopSplice(surface, m_model.Width(), m_model.Height(), m_model.SamplesPerPixel(),
                             m_model.AmpDivisor());
    else
        m_doc.DrawWave(surface, m_model.Width(), m_model.Height(), m_model.SamplesPerPixel(),
                       m_model.AmpDivisor(), m_model.PitchGrid());
    if (auto edges = m_model.HighlightForPaint(m_doc, loopDisplay)) {
        surface.SetMapping(SurfaceMapping{});
        surface.InvertRect({edges->first, 0, edges->second, height()});
    }
    m_frame.SetPlayPane(m_doc.m_nStart, std::uint64_t{m_doc.m_nStart} + m_doc.m_nLength);
    m_frame.SetPitchPane(m_doc.m_dPitch, m_doc.PitchText(m_doc.m_dPitch));
    m_frame.SetLoopPane(m_doc.m_nLoopStart, std::uint64_t{m_doc.m_nLoopStart} + m_doc.m_nLoopLength);
    m_frame.SetMarkPane(m_model.MarkStart(), m_model.MarkLength(), m_doc.m_nRate);
    m_frame.RefreshPitchDialog();
}

void CSampleView1::EditMarkAndPoints() {
    // The player reads the points while it plays.
    PlayerStop();
    std::uint32_t start = m_model.MarkStart();
    std::uint32_t length = m_model.MarkLength();
    if (!EditPoints(m_doc, start, length))
        return;
    m_model.SetMark(start, length);
    m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
}

void CSampleView1::resizeEvent(QResizeEvent* event) {
    m_model.SetClientSize(width(), height());
    QWidget::resizeEvent(event);
}

void CSampleView1::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton)
        Apply(m_model.LeftPress(x, m_frame.IsLoopDisplay(), m_doc));
    else if (event->button() == Qt::RightButton)
        Apply(m_model.RightPress(x, m_frame.IsLoopDisplay()));
}

void CSampleView1::mouseMoveEvent(QMouseEvent* event) {
    Apply(m_model.Move(event->position().toPoint().x(), m_frame.IsLoopDisplay(), m_doc));
}

void CSampleView1::mouseReleaseEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton)
        Apply(m_model.LeftRelease(x, m_frame.IsLoopDisplay(), m_doc));
    else if (event->button() == Qt::RightButton)
        Apply(m_model.RightRelease(m_bHoldingMouse));
}

void CSampleView1::Apply(const MouseOutcome& outcome) {
    if (outcome.capture)
        m_bHoldingMouse = true;
    if (outcome.release)
        m_bHoldingMouse = false;
    if (outcome.rescale)
        m_model.Rescale(m_doc);
    if (outcome.rescale || outcome.repaint)
        update();
    if (outcome.views == MouseOutcome::Views::All)
        m_doc.UpdateAllViews(nullptr, CSampleDoc::kDisplayHint);
    else if (outcome.views == MouseOutcome::Views::Others)
        m_doc.UpdateAllViews(this, CSampleDoc::kDisplayHint);
    if (outcome.position)
        m_frame.SetPositionPane(*outcome.position, m_doc.m_nRate);
    UpdateCursor();
}

void CSampleView1::UpdateCursor() {
    if (m_model.CursorShape() == m_cursor)
        return;
    m_cursor = m_model.CursorShape();
    setCursor(MarkerCursor(m_cursor));
}
