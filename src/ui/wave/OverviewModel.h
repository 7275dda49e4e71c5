#pragma once

#include "ui/wave/WaveViewModel.h"

#include <cstdint>
#include <optional>
#include <utility>

class CSampleDoc;

// The overview strip without its window: the whole sample's scale, the highlighted span and the
// drag that chooses a new one. The window feeds it pointer positions in client pixels.
class COverviewModel {
public:
    // What the strip must do after a handler.
    struct Outcome {
        bool capture = false;
        bool release = false;
        bool repaint = false;
        bool updateOthers = false; // the waveform view is to show the new span
        bool activateWaveform = false;
        std::optional<std::int64_t> position; // the frame for the position and time panes

        bool operator==(const Outcome&) const = default;
    };

    void Rescale(const CSampleDoc& doc);
    void SetClientSize(int width, int height);
    SurfaceMapping Mapping() const { return Area().Mapping(); }

    Outcome LeftPress(int pixelX, bool loopDisplay);
    Outcome Move(int pixelX, const CSampleDoc& doc);
    Outcome LeftRelease(bool loopDisplay, bool holdingMouse, CSampleDoc& doc);
    Outcome DoubleClick(bool loopDisplay, CSampleDoc& doc);

    // The span to show inverted, in client pixels: the drag under way, else the document's
    // selection (remembered as drawn); nothing in the loop display.
    std::optional<std::pair<int, int>> HighlightForPaint(const CSampleDoc& doc, bool loopDisplay);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int SamplesPerPixel() const { return m_nSamplesPerPixel; }
    int AmpDivisor() const { return m_nAmpDivisor; }
    bool IsDragging() const { return m_bDragging; }
    std::uint32_t SpanStart() const { return m_nSpanStart; }
    std::uint32_t SpanLength() const { return m_nSpanLength; }

private:
    StretchedArea Area() const { return {m_nWidth, m_nHeight, m_nClientWidth, m_nClientHeight}; }

    int m_nWidth = 800;
    int m_nHeight = 1024;
    int m_nSamplesPerPixel = 1;
    int m_nAmpDivisor = 64;
    std::uint32_t m_nSpanStart = 0;
    std::uint32_t m_nSpanLength = 0;
    int m_nAnchorX = 0;
    int m_nEndX = 0;
    bool m_bDragging = false;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
};
