#include "sample/WaveSummary.h"

#include <algorithm>
#include <new>

namespace {
// Extremes of the values at `samples`, `samples` + stride, ...: `count` of them, count > 0.
CWaveSummary::Extremes Scan(const std::int16_t* samples, std::size_t count, int stride) {
    std::int16_t lo = samples[0];
    std::int16_t hi = lo;
    for (std::size_t k = 1; k < count; ++k) {
        std::int16_t v = samples[k * static_cast<std::size_t>(stride)];
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return {lo, hi};
}
} // namespace

void CWaveSummary::Clear() {
    m_levels.clear();
    m_levels.shrink_to_fit();
    m_pSamples = nullptr;
    m_nFrames = 0;
    m_nChannels = 0;
    m_bBuilt = false;
}

void CWaveSummary::Build(const std::int16_t* samples, std::uint32_t frames, int channels) {
    Clear();
    m_pSamples = samples;
    m_nFrames = frames;
    m_nChannels = channels;
    m_bBuilt = true;
    if (!samples || channels < 1)
        return;
    const auto ch = static_cast<std::size_t>(channels);
    try {
        std::size_t blocks = frames >> kBaseShift;
        if (blocks == 0)
            return;
        constexpr std::size_t kBase = std::size_t{1} << kBaseShift;
        std::vector<Extremes> first(blocks * ch);
        for (std::size_t b = 0; b < blocks; ++b)
            for (std::size_t c = 0; c < ch; ++c)
                first[b * ch + c] = Scan(samples + b * kBase * ch + c, kBase, channels);
        m_levels.push_back(std::move(first));

        constexpr std::size_t kFan = std::size_t{1} << kLevelShift;
        while (m_levels.back().size() / ch >= kFan) {
            const std::vector<Extremes>& previous = m_levels.back();
            std::size_t count = previous.size() / ch / kFan;
            std::vector<Extremes> next(count * ch);
            for (std::size_t b = 0; b < count; ++b) {
                for (std::size_t c = 0; c < ch; ++c) {
                    Extremes e = previous[b * kFan * ch + c];
                    for (std::size_t k = 1; k < kFan; ++k) {
                        const Extremes& part = previous[(b * kFan + k) * ch + c];
                        e.min = std::min(e.min, part.min);
                        e.max = std::max(e.max, part.max);
                    }
                    next[b * ch + c] = e;
                }
            }
            m_levels.push_back(std::move(next));
        }
    } catch (const std::bad_alloc&) {
        // Drawing still works, at the cost of scanning.
        m_levels.clear();
    }
}

CWaveSummary::Extremes CWaveSummary::Range(int channel, std::uint32_t first, std::uint32_t end) const {
    const auto ch = static_cast<std::size_t>(m_nChannels);
    const auto c = static_cast<std::size_t>(channel);
    std::int16_t lo = m_pSamples[first * ch + c];
    std::int16_t hi = lo;
    std::uint64_t i = first;
    while (i < end) {
        // The largest block that starts here and ends inside the range.
        std::size_t level = 0;
        bool found = false;
        for (std::size_t l = 0; l < m_levels.size(); ++l) {
            std::uint64_t size = std::uint64_t{1} << Shift(l);
            if ((i & (size - 1)) != 0 || i + size > end)
                break;
            level = l;
            found = true;
        }
        if (!found) {
            // Frame by frame up to the next block boundary.
            std::uint64_t to = std::min<std::uint64_t>(end, (i | ((std::uint64_t{1} << kBaseShift) - 1)) + 1);
            Extremes e = Scan(m_pSamples + i * ch + c, static_cast<std::size_t>(to - i), m_nChannels);
            lo = std::min(lo, e.min);
            hi = std::max(hi, e.max);
            i = to;
            continue;
        }
        const Extremes& e = m_levels[level][(i >> Shift(level)) * ch + c];
        lo = std::min(lo, e.min);
        hi = std::max(hi, e.max);
        i += std::uint64_t{1} << Shift(level);
    }
    return {lo, hi};
}
