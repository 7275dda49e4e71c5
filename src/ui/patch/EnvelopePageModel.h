#pragma once

#include "ui/patch/BreakpointGraphModel.h"

#include <array>
#include <cstdint>
#include <string>

class CEnvelope;

// The "Amplitude Envelope" page without its window: working copies of the layer's level, the
// envelope's release, its linear first stage and its points (on the page's graph), and the time
// span the graph shows.
class CEnvelopePageModel {
public:
    static constexpr std::array<std::uint16_t, 8> kZoomTable{10, 30, 100, 300, 1000, 3000, 10000, 30000};
    static constexpr int kOnePointZoom = 4;
    static constexpr std::int32_t kLowestLevel = -60;
    static constexpr std::int32_t kHighestLevel = 10;

    CEnvelopePageModel();

    void LoadFrom(const CEnvelope& envelope, std::int32_t level);
    void StoreTo(CEnvelope& envelope, std::int32_t& level) const;
    // The level, release and linear boxes; the graph and the zoom buttons always work.
    void EnableControls(bool on) { m_bControlsEnabled = on; }
    bool ControlsEnabled() const { return m_bControlsEnabled; }

    void SetZoom(int index);
    // Narrower and wider spans; nothing at either end of the table.
    void Zoom();
    void Unzoom();
    int ZoomIndex() const { return m_nZoom; }
    // The span under the graph's right end, in seconds: "0.300s".
    std::string SpanLabel() const;

    // What the graph tells while a point moves: the read-out "(120,-12)", empty once it ends.
    void OnGraphNotify(int kind, std::uint32_t point);
    const std::string& ReadOut() const { return m_strReadOut; }

    CBreakpointGraphModel& Graph() { return m_graph; }
    const CBreakpointGraphModel& Graph() const { return m_graph; }

    std::int32_t m_nLevel = 0;
    std::int32_t m_nRelease = 0;
    bool m_bLinearFirstStage = false;

private:
    CBreakpointGraphModel m_graph;
    int m_nZoom = 0;
    bool m_bControlsEnabled = true;
    std::string m_strReadOut;
};
