#include "ui/wave/OverviewModel.h"

#include "sample/SampleDoc.h"

#include <algorithm>

void COverviewModel::Rescale(const CSampleDoc& doc) {
    m_nSamplesPerPixel = FramesPerColumnFor(doc.m_nFrames);
    if (doc.m_nFrames != 0)
        m_nWidth = static_cast<int>(doc.m_nFrames / static_cast<std::uint32_t>(m_nSamplesPerPixel));
}

void COverviewModel::SetClientSize(int width, int height) {
    m_nClientWidth = width;
    m_nClientHeight = height;
}

COverviewModel::Outcome COverviewModel::LeftPress(int pixelX, bool loopDisplay) {
    Outcome outcome;
    if (loopDisplay) {
        outcome.activateWaveform = true;
        return outcome;
    }
    outcome.capture = true;
    outcome.repaint = true;
    m_bDragging = true;
    m_nAnchorX = m_nEndX = pixelX;
    m_nSpanStart = static_cast<std::uint32_t>(std::max(Area().ColumnAt(pixelX), 0)) *
                   static_cast<std::uint32_t>(m_nSamplesPerPixel);
    m_nSpanLength = 0;
    return outcome;
}

COverviewModel::Outcome COverviewModel::Move(int pixelX, const CSampleDoc&) {
    Outcome outcome;
    if (m_bDragging) {
        m_nEndX = pixelX;
        outcome.repaint = true;
    }
    const int x = std::clamp(Area().ColumnAt(pixelX), 0, m_nWidth);
    outcome.position = std::int64_t{x} * m_nSamplesPerPixel;
    return outcome;
}

COverviewModel::Outcome COverviewModel::LeftRelease(bool loopDisplay, bool holdingMouse, CSampleDoc& doc) {
    Outcome outcome;
    if (loopDisplay || !holdingMouse)
        return outcome;
    outcome.release = true;
    outcome.repaint = true;
    m_bDragging = false;
    auto [left, right] = std::minmax(m_nAnchorX, m_nEndX);
    const int x1 = std::max(Area().ColumnAt(left), 0);
    const int x2 = std::min(Area().ColumnAt(right), m_nWidth);
    const auto s = static_cast<std::uint32_t>(m_nSamplesPerPixel);
    m_nSpanStart = static_cast<std::uint32_t>(x1) * s;
    m_nSpanLength = static_cast<std::uint32_t>(std::max(x2 - x1, 0)) * s;
    doc.SetSelection(m_nSpanStart, m_nSpanLength);
    outcome.updateOthers = true;
    outcome.activateWaveform = true;
    return outcome;
}

COverviewModel::Outcome COverviewModel::DoubleClick(bool loopDisplay, CSampleDoc& doc) {
    Outcome outcome;
    outcome.activateWaveform = true;
    if (loopDisplay)
        return outcome;
    m_bDragging = false;
    m_nSpanStart = 0;
    m_nSpanLength = doc.m_nFrames;
    doc.SetSelection(0, doc.m_nFrames);
    outcome.updateOthers = true;
    outcome.release = true;
    outcome.repaint = true;
    return outcome;
}

std::optional<std::pair<int, int>> COverviewModel::HighlightForPaint(const CSampleDoc& doc,
                                                                     bool loopDisplay) {
    if (loopDisplay)
        return std::nullopt;
    if (m_bDragging)
        return std::minmax(m_nAnchorX, m_nEndX);
    if (doc.m_nSelLength == 0)
        return std::nullopt;
    const std::int64_t s = m_nSamplesPerPixel;
    m_nAnchorX = Area().PixelAt(doc.m_nSelStart / s);
    m_nEndX = Area().PixelAt((std::int64_t{doc.m_nSelStart} + doc.m_nSelLength) / s);
    return std::minmax(m_nAnchorX, m_nEndX);
}
