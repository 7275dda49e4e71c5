#pragma once

#include <cstdint>

class CXfade;

// The "Crossfade" page without its window: working copies of the center, the width and the
// curve (the index of the checked button, -1 for none).
class CXfadePageModel {
public:
    void LoadFrom(const CXfade& xfade);
    // Center and width keep their low 16 bits.
    void StoreTo(CXfade& xfade) const;
    // The two boxes and the first curve button.
    void EnableControls(bool on) { m_bControlsEnabled = on; }
    bool ControlsEnabled() const { return m_bControlsEnabled; }

    std::uint32_t m_nCenter = 0;
    std::uint32_t m_nWidth = 0;
    std::int32_t m_nCurve = -1;

private:
    bool m_bControlsEnabled = true;
};
