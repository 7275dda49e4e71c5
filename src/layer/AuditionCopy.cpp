#include "layer/AuditionCopy.h"

#include "layer/LayerRecords.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {
// A key copy stretches the sample by the note's distance from its pitch, which for a high-pitched
// sample played ten octaves down is a thousandfold: beyond this many frames it is refused rather
// than allocated.
constexpr std::uint64_t kMaxKeyCopyFrames = std::uint64_t{1} << 26;

// The first channel of a sample. Reads past the audio give its last frame, so that the
// interpolation's look-ahead at the very end stays defined.
class FirstChannel {
public:
    explicit FirstChannel(const CSampleDoc& doc)
        : m_pData(doc.m_pData.get()), m_nFrames(doc.m_nFrames),
          m_nStep(static_cast<std::size_t>(doc.Channels())) {}

    float operator[](std::uint64_t frame) const {
        if (m_nFrames == 0)
            return 0;
        return m_pData[static_cast<std::size_t>(std::min<std::uint64_t>(frame, m_nFrames - 1)) * m_nStep];
    }

private:
    const std::int16_t* m_pData;
    std::uint32_t m_nFrames;
    std::size_t m_nStep;
};

// A read position between two frames: frame s plus the fraction h.
struct ReadPosition {
    std::uint64_t s = 0;
    float h = 0;

    std::int16_t Interpolate(const FirstChannel& source) const {
        return static_cast<std::int16_t>((1 - h) * source[s] + h * source[s + 1]);
    }
    void Advance(float ratio) {
        h += ratio;
        float whole = std::floor(h);
        h -= whole;
        // Past 2^32 frames the position is beyond any audio; the cap keeps the conversion defined.
        s += static_cast<std::uint64_t>(std::min(whole, 4294967296.0f));
    }
};

// A ratio that a pitch of 0, or a nonsensical one, would make unusable falls back to `fallback`.
float UsableRatio(long double ratio, float fallback) {
    float value = static_cast<float>(ratio);
    return std::isfinite(value) && value > 0 ? value : fallback;
}

float SnappedToOne(float ratio) {
    return ratio > 0.999f && ratio < 1.001f ? 1.0f : ratio;
}

// Frames from the sample start to its stop point.
std::uint64_t PlayedLength(const CSampleDoc& doc) {
    return doc.StopPoint() - std::min<std::uint64_t>(doc.m_nStart, doc.StopPoint());
}

std::unique_ptr<std::int16_t[]> AllocateFrames(std::uint64_t frames, std::uint64_t limit) {
    std::unique_ptr<std::int16_t[]> values;
    if (frames <= limit)
        values.reset(new (std::nothrow) std::int16_t[static_cast<std::size_t>(frames)]());
    if (!values)
        GetUi().Message("Not enough memory");
    return values;
}

std::uint32_t ScaledFrames(double frames, float ratio, double rounding, std::uint32_t limit) {
    double scaled = frames / ratio + rounding;
    return scaled >= limit ? limit : static_cast<std::uint32_t>(scaled);
}
} // namespace

std::unique_ptr<CSampleDoc> PrepareKeyCopy(const CSampleDoc& source, int note) {
    float e = source.m_dPitch != 0 ? UsableRatio(NoteFrequency(note) / source.m_dPitch, 1) : 1;
    e = SnappedToOne(e);
    std::uint64_t length = PlayedLength(source);
    double scaled = length == 0 ? 0 : static_cast<double>(length - 1) / e;
    // Anything past the limit is refused below; the cap keeps the conversion defined.
    std::uint64_t frames = scaled > static_cast<double>(kMaxKeyCopyFrames)
                               ? kMaxKeyCopyFrames + 1
                               : static_cast<std::uint64_t>(scaled);
    std::unique_ptr<std::int16_t[]> values = AllocateFrames(frames, kMaxKeyCopyFrames);
    if (!values)
        return nullptr;

    FirstChannel channel(source);
    ReadPosition position{source.m_nStart, 0};
    for (std::uint64_t i = 0; i < frames; ++i) {
        if (e == 1) {
            values[i] = static_cast<std::int16_t>(channel[position.s++]);
        } else {
            values[i] = position.Interpolate(channel);
            position.Advance(e);
        }
    }

    auto copy = std::make_unique<CSampleDoc>();
    auto count = static_cast<std::uint32_t>(frames);
    copy->SetData(std::move(values), count, source.m_nRate);
    double loopOffset = source.m_nLoopStart > source.m_nStart ? source.m_nLoopStart - source.m_nStart : 0;
    copy->SetLoopRange(ScaledFrames(loopOffset, e, 0, count),
                       ScaledFrames(source.m_nLoopLength, e, 0.5, count));
    copy->SetSampleRange(0, count);
    return copy;
}

std::unique_ptr<CSampleDoc> PrepareVoiceCopy(const CSampleDoc& source, int note) {
    float f = static_cast<float>(NoteFrequency(note));
    float h = static_cast<float>(source.m_nRate) / static_cast<float>(kAuditionRate);
    float r = source.m_dPitch != 0 ? UsableRatio(h * f / source.m_dPitch, h) : h;
    float q = source.m_dLoopPitch != 0 ? UsableRatio(h * f / source.m_dLoopPitch, r) : r;
    r = SnappedToOne(r);
    if (!(r > 0))
        return nullptr; // a rate of 0: nothing to play

    bool looped = source.m_nLoopLength != 0;
    std::uint64_t length = PlayedLength(source);
    std::uint32_t frames = looped        ? kVoiceFrames
                           : length == 0 ? 0
                                         : ScaledFrames(static_cast<double>(length - 1), r, 0, kVoiceFrames);
    std::unique_ptr<std::int16_t[]> values = AllocateFrames(frames, kVoiceFrames);
    if (!values)
        return nullptr;

    FirstChannel channel(source);
    bool copying = r == 1 && q == 1;
    std::uint64_t passEnd =
        looped ? std::uint64_t{source.m_nLoopStart} + source.m_nLoopLength : source.StopPoint();
    ReadPosition position{source.m_nStart, 0};
    float ratio = r;
    for (std::uint32_t i = 0; i < frames;) {
        while (i < frames && position.s < passEnd) {
            if (copying) {
                values[i++] = static_cast<std::int16_t>(channel[position.s++]);
            } else {
                values[i++] = position.Interpolate(channel);
                position.Advance(ratio);
            }
        }
        if (!looped || i == frames)
            break;
        // Back by the loop length as often as it takes to be inside the loop again: a read that
        // jumped more than a loop, or a start beyond the loop end, would otherwise make empty passes.
        position.s -=
            (position.s - passEnd) / source.m_nLoopLength * source.m_nLoopLength + source.m_nLoopLength;
        ratio = q;
    }

    auto copy = std::make_unique<CSampleDoc>();
    copy->SetData(std::move(values), frames, kAuditionRate);
    copy->SetSampleRange(0, frames);
    return copy;
}
