#pragma once

#include "platform/DrawingSurface.h"

#include <cstdint>
#include <optional>
#include <utility>

class CSampleDoc;

// Frames a column for a span of frames: the smallest power of two, from 1, that leaves at most
// 1200 columns.
int FramesPerColumnFor(std::uint32_t frames);

// A logical area stretched over a whole client area, y downward.
struct StretchedArea {
    int logicalWidth = 800;
    int logicalHeight = 1024;
    int clientWidth = 0;
    int clientHeight = 0;

    SurfaceMapping Mapping() const;
    int ColumnAt(int pixelX) const;
    int PixelAt(std::int64_t column) const;
};

// What a view must do after the model handled a mouse event.
struct MouseOutcome {
    enum class Views { None, Others, All };
    bool capture = false;
    bool release = false;
    bool rescale = false; // recompute the scale and repaint this view
    bool repaint = false; // the highlight moved
    Views views = Views::None;
    std::optional<std::int64_t> position; // the frame for the position and time panes

    bool operator==(const MouseOutcome&) const = default;
};

// The waveform view without its window: scale, zoom, the marked range and the mouse modes. The
// window feeds it pointer positions in client pixels and the display mode, and does what each
// handler's outcome says.
class CWaveViewModel {
public:
    enum MouseMode : int {
        kIdle = 0,
        kMarking = 1,
        kDraggingSpan = 2,
        kDraggingLoopEnd = 3,
        kDraggingLoopStart = 4,
        kSlidingLoop = 5,
        kArmedStart = 6,
        kArmedLoopStart = 7,
        kArmedStop = 8,
        kArmedLoopEnd = 9,
    };
    enum class Cursor { Normal, Start, Stop, LoopStart, LoopEnd };

    static constexpr int kMaxAmpDivisor = 64;

    // Frames a column and width from the document's display span.
    void Rescale(const CSampleDoc& doc);
    void SetClientSize(int width, int height);
    SurfaceMapping Mapping() const { return Area().Mapping(); }

    // Horizontal zoom shows the marked range, or half the span; unzoom doubles the span around
    // its middle. The views are to update afterwards.
    void ZoomIn(CSampleDoc& doc);
    void ZoomOut(CSampleDoc& doc);
    // Home and End: the span keeps its length and moves to the sample's beginning or end.
    void ShowStart(CSampleDoc& doc);
    void ShowEnd(CSampleDoc& doc);
    // True when the divisor changed and the view is to repaint.
    bool VerticalZoomIn();
    bool VerticalZoomOut();
    void Arm(MouseMode mode) { m_nMouseMode = mode; }
    bool IsArmed(MouseMode mode) const { return m_nMouseMode == mode; }
    void TogglePitchGrid() { m_bPitchGrid = !m_bPitchGrid; }
    // Only in the normal display, over a marked range of two periods of 4000 Hz or more.
    bool CanGuessPitch(const CSampleDoc& doc, bool loopDisplay) const;

    MouseOutcome LeftPress(int pixelX, bool loopDisplay, const CSampleDoc& doc);
    MouseOutcome RightPress(int pixelX, bool loopDisplay);
    MouseOutcome Move(int pixelX, bool loopDisplay, CSampleDoc& doc);
    // Placing an armed marker asks the document, which may refuse with its message.
    MouseOutcome LeftRelease(int pixelX, bool loopDisplay, CSampleDoc& doc);
    MouseOutcome RightRelease(bool holdingMouse);

    // The span to show inverted, in client pixels: the range being marked, else the marked range
    // in the normal display (whose edges are remembered as drawn).
    std::optional<std::pair<int, int>> HighlightForPaint(const CSampleDoc& doc, bool loopDisplay);
    Cursor CursorShape() const;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int SamplesPerPixel() const { return m_nSamplesPerPixel; }
    int AmpDivisor() const { return m_nAmpDivisor; }
    bool PitchGrid() const { return m_bPitchGrid; }
    int Mode() const { return m_nMouseMode; }
    std::uint32_t MarkStart() const { return m_nMarkStart; }
    std::uint32_t MarkLength() const { return m_nMarkLength; }
    void SetMark(std::uint32_t start, std::uint32_t length) {
        m_nMarkStart = start;
        m_nMarkLength = length;
    }

private:
    StretchedArea Area() const { return {m_nWidth, m_nHeight, m_nClientWidth, m_nClientHeight}; }
    int ClampedColumn(int pixelX) const;
    std::int64_t PositionInSpan(const CSampleDoc& doc, int column) const;
    std::int64_t PositionInLoopDisplay(const CSampleDoc& doc, int column) const;

    int m_nWidth = 800;
    int m_nHeight = 1024;
    int m_nSamplesPerPixel = 1;
    int m_nAmpDivisor = kMaxAmpDivisor;
    bool m_bPitchGrid = false;
    std::uint32_t m_nMarkStart = 0;
    std::uint32_t m_nMarkLength = 0;
    int m_nAnchorX = 0;
    int m_nEndX = 0;
    int m_nLastX = 0;
    int m_nMouseMode = kIdle;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
};
