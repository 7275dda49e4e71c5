#include "ui/wave/WaveViewModel.h"

#include "sample/SampleDoc.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::uint32_t kMaxColumns = 1200;

std::uint32_t ToFrame(std::int64_t frame) {
    return static_cast<std::uint32_t>(
        std::clamp<std::int64_t>(frame, 0, std::numeric_limits<std::uint32_t>::max()));
}
} // namespace

int FramesPerColumnFor(std::uint32_t frames) {
    std::uint32_t s = 1;
    while (frames / s > kMaxColumns)
        s *= 2;
    return static_cast<int>(s);
}

SurfaceMapping StretchedArea::Mapping() const {
    return {{0, 0}, {logicalWidth, logicalHeight}, {0, 0}, {clientWidth, clientHeight}};
}

int StretchedArea::ColumnAt(int pixelX) const {
    return DeviceToLogical(Mapping(), {pixelX, 0}).x;
}

int StretchedArea::PixelAt(std::int64_t column) const {
    constexpr std::int64_t kFar = std::int64_t{1} << 30;
    return LogicalToDevice(Mapping(), {static_cast<std::int32_t>(std::clamp(column, -kFar, kFar)), 0}).x;
}

void CWaveViewModel::Rescale(const CSampleDoc& doc) {
    m_nSamplesPerPixel = FramesPerColumnFor(doc.m_nSelLength);
    if (doc.m_nSelLength != 0)
        m_nWidth = static_cast<int>(doc.m_nSelLength / static_cast<std::uint32_t>(m_nSamplesPerPixel));
}

void CWaveViewModel::SetClientSize(int width, int height) {
    m_nClientWidth = width;
    m_nClientHeight = height;
}

void CWaveViewModel::ZoomIn(CSampleDoc& doc) {
    if (m_nMarkLength != 0) {
        doc.SetSelection(m_nMarkStart, m_nMarkLength);
        m_nMarkLength = 0;
    } else {
        doc.SetSelection(doc.m_nSelStart, doc.m_nSelLength / 2);
    }
}

void CWaveViewModel::ZoomOut(CSampleDoc& doc) {
    const std::uint32_t start = doc.m_nSelStart;
    const std::uint32_t length = doc.m_nSelLength;
    const std::uint32_t newStart = start < length / 2 ? 0 : start - length / 2;
    doc.SetSelection(newStart, ToFrame(std::int64_t{length} * 2));
}

void CWaveViewModel::ShowStart(CSampleDoc& doc) {
    doc.ShiftSelection(-std::int64_t{doc.m_nSelStart}, 0);
}

void CWaveViewModel::ShowEnd(CSampleDoc& doc) {
    doc.ShiftSelection(std::int64_t{doc.m_nFrames} - doc.m_nSelStart, 0);
}

bool CWaveViewModel::VerticalZoomIn() {
    if (m_nAmpDivisor < 2)
        return false;
    m_nAmpDivisor /= 2;
    return true;
}

bool CWaveViewModel::VerticalZoomOut() {
    if (std::int64_t{m_nAmpDivisor} * m_nHeight >= 65536)
        return false;
    m_nAmpDivisor *= 2;
    return true;
}

bool CWaveViewModel::CanGuessPitch(const CSampleDoc& doc, bool loopDisplay) const {
    return !loopDisplay && m_nMarkLength >= 2 * (doc.m_nRate / 4000);
}

int CWaveViewModel::ClampedColumn(int pixelX) const {
    return std::clamp(Area().ColumnAt(pixelX), 0, m_nWidth);
}

std::int64_t CWaveViewModel::PositionInSpan(const CSampleDoc& doc, int column) const {
    return std::int64_t{doc.m_nSelStart} + std::int64_t{column} * m_nSamplesPerPixel;
}

std::int64_t CWaveViewModel::PositionInLoopDisplay(const CSampleDoc& doc, int column) const {
    const int centre = m_nWidth / 2;
    std::int64_t offset = std::int64_t{column - centre} * m_nSamplesPerPixel;
    std::int64_t frame = column >= centre ? offset + doc.m_nLoopStart
                                          : offset + doc.m_nLoopStart + std::int64_t{doc.m_nLoopLength};
    return std::max<std::int64_t>(frame, 0);
}

MouseOutcome CWaveViewModel::LeftPress(int pixelX, bool loopDisplay, const CSampleDoc& doc) {
    MouseOutcome outcome;
    // A sample without audio has nothing to mark.
    if (m_nMouseMode != kIdle || doc.m_nFrames == 0)
        return outcome;
    outcome.capture = true;
    if (!loopDisplay) {
        m_nMouseMode = kMarking;
        m_nAnchorX = m_nEndX = pixelX;
        m_nMarkStart = ToFrame(PositionInSpan(doc, Area().ColumnAt(pixelX)));
        m_nMarkLength = 0;
        outcome.repaint = true;
        return outcome;
    }
    const int x = ClampedColumn(pixelX);
    m_nMouseMode = x >= m_nWidth / 2 ? kDraggingLoopStart : kDraggingLoopEnd;
    m_nLastX = x;
    return outcome;
}

MouseOutcome CWaveViewModel::RightPress(int pixelX, bool loopDisplay) {
    MouseOutcome outcome;
    outcome.capture = true;
    if (m_nMouseMode == kIdle) {
        m_nMouseMode = loopDisplay ? kSlidingLoop : kDraggingSpan;
        m_nLastX = ClampedColumn(pixelX);
    }
    return outcome;
}

MouseOutcome CWaveViewModel::Move(int pixelX, bool loopDisplay, CSampleDoc& doc) {
    MouseOutcome outcome;
    if (m_nMouseMode == kMarking) {
        m_nEndX = pixelX;
        outcome.repaint = true;
    }
    const int x = ClampedColumn(pixelX);
    const std::int64_t d = std::int64_t{x - m_nLastX} * m_nSamplesPerPixel;
    m_nLastX = x;
    switch (m_nMouseMode) {
    case kDraggingLoopEnd:
        doc.ShiftLoop(0, -d);
        outcome.rescale = true;
        break;
    case kDraggingLoopStart:
        doc.ShiftLoop(-d, d);
        outcome.rescale = true;
        break;
    case kSlidingLoop:
        doc.ShiftLoop(0, -d);
        doc.ShiftLoop(-d, d);
        outcome.rescale = true;
        break;
    case kDraggingSpan:
        doc.ShiftSelection(-d, 0);
        outcome.rescale = true;
        break;
    default:
        break;
    }
    if (doc.m_nFrames != 0)
        outcome.position = loopDisplay ? PositionInLoopDisplay(doc, x) : PositionInSpan(doc, x);
    return outcome;
}

MouseOutcome CWaveViewModel::LeftRelease(int pixelX, bool loopDisplay, CSampleDoc& doc) {
    MouseOutcome outcome;
    outcome.release = true;
    // One drag of the loop is one step: the next drag makes a step of its own.
    doc.History().EndMerging();
    if (loopDisplay) {
        m_nMouseMode = kIdle;
        outcome.views = MouseOutcome::Views::All;
        return outcome;
    }
    const std::uint32_t position = ToFrame(PositionInSpan(doc, ClampedColumn(pixelX)));
    const int mode = m_nMouseMode;
    if (mode >= kArmedStart && mode <= kArmedLoopEnd) {
        m_nMouseMode = kIdle;
        if (mode == kArmedStart)
            doc.SetSampleStart(position);
        else if (mode == kArmedStop)
            doc.SetSampleStop(position);
        else if (mode == kArmedLoopStart)
            doc.SetLoopStart(position);
        else
            doc.SetLoopEnd(position);
        outcome.views = MouseOutcome::Views::All;
        return outcome;
    }
    auto [left, right] = std::minmax(m_nAnchorX, m_nEndX);
    const int x1 = std::max(Area().ColumnAt(left), 0);
    const int x2 = std::min(Area().ColumnAt(right), m_nWidth);
    m_nMarkStart = ToFrame(PositionInSpan(doc, x1));
    m_nMarkLength = ToFrame(std::int64_t{std::max(x2 - x1, 0)} * m_nSamplesPerPixel);
    if (mode == kDraggingSpan)
        outcome.views = MouseOutcome::Views::Others;
    m_nMouseMode = kIdle;
    outcome.repaint = true;
    return outcome;
}

MouseOutcome CWaveViewModel::RightRelease(bool holdingMouse) {
    MouseOutcome outcome;
    if (!holdingMouse)
        return outcome;
    if (m_nMouseMode >= kDraggingLoopEnd && m_nMouseMode <= kSlidingLoop)
        outcome.views = MouseOutcome::Views::All;
    else if (m_nMouseMode == kDraggingSpan)
        outcome.views = MouseOutcome::Views::Others;
    m_nMouseMode = kIdle;
    outcome.release = true;
    outcome.repaint = true;
    return outcome;
}

std::optional<std::pair<int, int>> CWaveViewModel::HighlightForPaint(const CSampleDoc& doc,
                                                                     bool loopDisplay) {
    if (loopDisplay)
        return std::nullopt;
    if (m_nMouseMode == kMarking)
        return std::minmax(m_nAnchorX, m_nEndX);
    if (m_nMarkLength == 0)
        return std::nullopt;
    const std::int64_t s = m_nSamplesPerPixel;
    const std::int64_t first = (std::int64_t{m_nMarkStart} - doc.m_nSelStart) / s;
    const std::int64_t last = (std::int64_t{m_nMarkStart} + m_nMarkLength - doc.m_nSelStart) / s;
    m_nAnchorX = Area().PixelAt(first);
    m_nEndX = Area().PixelAt(last);
    return std::minmax(m_nAnchorX, m_nEndX);
}

CWaveViewModel::Cursor CWaveViewModel::CursorShape() const {
    switch (m_nMouseMode) {
    case kArmedStart:
        return Cursor::Start;
    case kArmedStop:
        return Cursor::Stop;
    case kArmedLoopStart:
        return Cursor::LoopStart;
    case kArmedLoopEnd:
        return Cursor::LoopEnd;
    default:
        return Cursor::Normal;
    }
}
