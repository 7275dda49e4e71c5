// Level and channel operations on the audio of a sample document: gain ramp, normalize, swap,
// remix and reduce to mono. All work in place except the reduction, which needs a new buffer.
#include "platform/Ui.h"
#include "sample/AudioBuffer.h"
#include "sample/LevelDialogs.h"
#include "sample/SampleArithmetic.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

using namespace SampleArithmetic;

namespace {
constexpr const char* kStereoOnly = "This function is for stereo samples";
constexpr const char* kClipping = "Warning: clipping was detected";

// Calls `work(first, end)` over [0, count) in blocks, reporting progress between them; false when
// the user cancelled part-way. `done` and `share` place these blocks within the whole operation.
template <class Work>
bool InBlocks(BusyCursor& busy, std::size_t count, std::size_t block, Work&& work, double done = 0,
              double share = 1) {
    for (std::size_t first = 0; first < count; first += block) {
        work(first, std::min(count, first + block));
        double fraction = static_cast<double>(std::min(count, first + block)) / static_cast<double>(count);
        if (!busy.Progress(done + share * fraction))
            return false;
    }
    return true;
}

// The end of an operation the user cancelled: the document is as it was.
bool Cancelled(CSampleEdit& edit) {
    edit.Cancel();
    return false;
}

bool NoMemory() {
    GetUi().Message("Not enough memory", MessageIcon::Exclamation);
    return false;
}

// The channel operations refuse a mono sample, whose buffer has no right channel to read.
bool RefusedAsMono(const CSampleDoc& doc) {
    if (doc.m_bStereo)
        return false;
    GetUi().Message(kStereoOnly, MessageIcon::Exclamation);
    return true;
}

// The end of every operation that rewrote the audio: the views redraw, a clipped mix is told of,
// and the document counts as changed.
bool AudioRewritten(CSampleDoc& doc, bool clipped = false) {
    doc.UpdateAllViews(nullptr, 0);
    if (clipped)
        GetUi().Message(kClipping, MessageIcon::Exclamation);
    doc.SetModifiedFlag();
    return true;
}

// Peaks of the two channels of interleaved stereo.
WLOE_AUDIO_LOOP std::pair<int, int> StereoPeaks(const std::int16_t* samples, std::size_t frames) {
    int left = 0;
    int right = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        left = std::max(left, std::abs(int{samples[2 * i]}));
        right = std::max(right, std::abs(int{samples[2 * i + 1]}));
    }
    return {left, right};
}

WLOE_AUDIO_LOOP int MonoPeak(const std::int16_t* samples, std::size_t count) {
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int{samples[i]}));
    return peak;
}

// The factor that brings a peak to 32256, the level normalizing aims at; 0 leaves silence alone.
double NormalizeFactor(int peak) {
    return peak != 0 ? 32256.0 / peak : 1.0;
}

// Every sample times `factor`, truncated. |sample × factor| stays within 32256 here.
WLOE_AUDIO_LOOP void Scale(std::int16_t* samples, std::size_t count, double factor) {
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = TruncSmallToSample(samples[i] * factor);
}

WLOE_AUDIO_LOOP void ScaleStereo(std::int16_t* samples, std::size_t frames, double left, double right) {
    for (std::size_t i = 0; i < frames; ++i) {
        samples[2 * i] = TruncSmallToSample(samples[2 * i] * left);
        samples[2 * i + 1] = TruncSmallToSample(samples[2 * i + 1] * right);
    }
}

// The gain ramp: frame i of n gets (begin · (n − i)/n + end · i/n). `Convert` turns the product
// into a sample; the fast one needs |product| < 2^31.
struct Ramp {
    double beginLeft, endLeft, beginRight, endRight;
    double n;
};

// Frames [first, first + count) of the ramp, count < 2^31. Frame numbers are whole doubles, so
// first + j is exact; a 32-bit j converts in vector registers.
template <auto Convert>
WLOE_ALWAYS_INLINE void RampMono(std::int16_t* samples, std::size_t first, std::int32_t count,
                                 const Ramp& r) {
    const double base = static_cast<double>(first);
    std::int16_t* s = samples + first;
    for (std::int32_t j = 0; j < count; ++j) {
        double i = base + j;
        double a = (r.n - i) / r.n;
        double b = i / r.n;
        // The first frame takes the begin factor alone, even when the end one overflowed.
        s[j] = Convert((b == 0 ? r.beginLeft : r.beginLeft * a + r.endLeft * b) * s[j]);
    }
}

template <auto Convert>
WLOE_ALWAYS_INLINE void RampStereo(std::int16_t* samples, std::size_t first, std::int32_t count,
                                   const Ramp& r) {
    const double base = static_cast<double>(first);
    std::int16_t* s = samples + 2 * first;
    for (std::int32_t j = 0; j < count; ++j) {
        double i = base + j;
        double a = (r.n - i) / r.n;
        double b = i / r.n;
        s[2 * j] = Convert((b == 0 ? r.beginLeft : r.beginLeft * a + r.endLeft * b) * s[2 * j]);
        s[2 * j + 1] = Convert((b == 0 ? r.beginRight : r.beginRight * a + r.endRight * b) * s[2 * j + 1]);
    }
}

WLOE_AUDIO_LOOP void RampMonoSmall(std::int16_t* samples, std::size_t first, std::int32_t count,
                                   const Ramp& r) {
    RampMono<TruncSmallToSample>(samples, first, count, r);
}

WLOE_AUDIO_LOOP void RampStereoSmall(std::int16_t* samples, std::size_t first, std::int32_t count,
                                     const Ramp& r) {
    RampStereo<TruncSmallToSample>(samples, first, count, r);
}

// floor(x + 0.5) as a sample, noting whether it left the 16-bit range.
std::int16_t RoundToSample(double x, bool& clipped) {
    double whole = std::floor(x);
    if (whole > 32767.0 || whole < -32768.0)
        clipped = true;
    return WrapToSample(whole);
}
} // namespace

bool CSampleDoc::MarkInsideAudio(std::uint32_t markStart, std::uint32_t markLength) {
    if (markLength == 0 || std::uint64_t{markStart} + markLength <= m_nFrames)
        return true;
    GetUi().Message("The marked range lies beyond the end of the sample", MessageIcon::Exclamation);
    return false;
}

bool CSampleDoc::OnGainAdjust(std::uint32_t markStart, std::uint32_t markLength) {
    if (!MarkInsideAudio(markStart, markLength))
        return false;
    GainValues initial;
    initial.stereo = m_bStereo;
    std::optional<GainValues> values = GetUi().AskDialog(initial);
    if (!values)
        return false;
    if (std::optional<std::string> message = RangeMessage(*values)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        return false;
    }
    return GainAdjust(values->beginLeft, values->endLeft, values->beginRight, values->endRight, markStart,
                      markLength);
}

bool CSampleDoc::GainAdjust(int beginLeft, int endLeft, int beginRight, int endRight, std::uint32_t markStart,
                            std::uint32_t markLength) {
    if (!MarkInsideAudio(markStart, markLength))
        return false;
    if (!m_pData)
        return true;
    CSampleEdit edit(*this, "Gain Adjust");
    Ramp ramp{LevelFactor(beginLeft), LevelFactor(endLeft), LevelFactor(beginRight), LevelFactor(endRight),
              0};
    std::uint32_t first = markLength != 0 ? markStart : 0;
    std::uint32_t frames = markLength != 0 ? markLength : m_nFrames;
    ramp.n = frames;
    std::int16_t* samples = m_pData.get() + std::size_t{first} * Channels();
    // Factors up to 2^15 keep every product within 2^31: the vectorised conversion serves.
    double largest = std::max(
        {ramp.beginLeft, ramp.endLeft, m_bStereo ? ramp.beginRight : 0.0, m_bStereo ? ramp.endRight : 0.0});
    bool small = largest <= 32768.0;
    if (!edit.KeepFrames(first, frames))
        return NoMemory();
    {
        BusyCursor busy(BusyCursor::kCancellable);
        bool done = InBlocks(busy, frames, kProgressBlock, [&](std::size_t from, std::size_t to) {
            auto count = static_cast<std::int32_t>(to - from);
            if (m_bStereo && small)
                RampStereoSmall(samples, from, count, ramp);
            else if (m_bStereo)
                RampStereo<TruncToSample>(samples, from, count, ramp);
            else if (small)
                RampMonoSmall(samples, from, count, ramp);
            else
                RampMono<TruncToSample>(samples, from, count, ramp);
        });
        if (!done)
            return Cancelled(edit);
    }
    return AudioRewritten(*this);
}

bool CSampleDoc::OnNormalize() {
    if (!m_pData)
        return true;
    CSampleEdit edit(*this, "Normalize");
    {
        BusyCursor busy(BusyCursor::kCancellable);
        std::size_t count = SampleCount();
        int peak = 0;
        if (!InBlocks(
                busy, count, kProgressBlock,
                [&](std::size_t from, std::size_t to) {
                    peak = std::max(peak, MonoPeak(&m_pData[from], to - from));
                },
                0, 0.5))
            return false;
        double factor = NormalizeFactor(peak);
        if (!edit.KeepAudio())
            return NoMemory();
        if (!InBlocks(
                busy, count, kProgressBlock,
                [&](std::size_t from, std::size_t to) { Scale(&m_pData[from], to - from, factor); }, 0.5,
                0.5))
            return Cancelled(edit);
    }
    return AudioRewritten(*this);
}

bool CSampleDoc::SaveNormalized(const std::int16_t* source, const std::string& path) {
    const std::size_t count = SampleCount();
    int peak = 0;
    {
        BusyCursor busy;
        InBlocks(busy, count, kProgressBlock, [&](std::size_t from, std::size_t to) {
            peak = std::max(peak, MonoPeak(source + from, to - from));
        });
    }
    const double factor = NormalizeFactor(peak);
    AudioRewritten(*this);
    // Small blocks, scaled while they are in the cache on their way to the file.
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::unique_ptr<std::int16_t[]> block = AllocateAudio(std::min(kBlock, count));
    if (!block) {
        GetUi().Message("Not enough memory", MessageIcon::Exclamation);
        return false;
    }
    return WriteWav(path, [&](const AudioBlockWriter& write) {
        for (std::size_t first = 0; first < count; first += kBlock) {
            std::size_t n = std::min(kBlock, count - first);
            std::copy_n(source + first, n, block.get());
            Scale(block.get(), n, factor);
            if (!write(block.get(), n))
                return;
        }
    });
}

bool CSampleDoc::OnNormalizeIndependently() {
    if (RefusedAsMono(*this))
        return false;
    if (!m_pData)
        return true;
    CSampleEdit edit(*this, "Normalize L/R Independently");
    {
        BusyCursor busy(BusyCursor::kCancellable);
        int left = 0;
        int right = 0;
        if (!InBlocks(
                busy, m_nFrames, kProgressBlock,
                [&](std::size_t from, std::size_t to) {
                    auto [l, r] = StereoPeaks(&m_pData[2 * from], to - from);
                    left = std::max(left, l);
                    right = std::max(right, r);
                },
                0, 0.5))
            return false;
        double leftFactor = NormalizeFactor(left);
        double rightFactor = NormalizeFactor(right);
        if (!edit.KeepAudio())
            return NoMemory();
        if (!InBlocks(
                busy, m_nFrames, kProgressBlock,
                [&](std::size_t from, std::size_t to) {
                    ScaleStereo(&m_pData[2 * from], to - from, leftFactor, rightFactor);
                },
                0.5, 0.5))
            return Cancelled(edit);
    }
    return AudioRewritten(*this);
}

bool CSampleDoc::OnSwapChannels() {
    if (RefusedAsMono(*this))
        return false;
    if (!m_pData)
        return true;
    CSampleEdit edit(*this, "Swap Channels");
    if (!edit.KeepAudio())
        return NoMemory();
    {
        BusyCursor busy(BusyCursor::kCancellable);
        std::int16_t* samples = m_pData.get();
        if (!InBlocks(busy, m_nFrames, kProgressBlock, [&](std::size_t from, std::size_t to) {
                for (std::size_t i = from; i < to; ++i)
                    std::swap(samples[2 * i], samples[2 * i + 1]);
            }))
            return Cancelled(edit);
    }
    return AudioRewritten(*this);
}

bool CSampleDoc::OnRemixStereo() {
    if (!m_bStereo || !m_pData)
        return true;
    std::optional<RemixValues> values = GetUi().AskDialog(RemixValues{});
    if (!values)
        return false;
    if (std::optional<std::string> message = RangeMessage(*values)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        return false;
    }
    double a = MixFactor(values->leftFromLeft);
    double c = MixFactor(values->leftFromRight);
    double b = MixFactor(values->rightFromLeft);
    double d = MixFactor(values->rightFromRight);
    bool clipped = false;
    CSampleEdit edit(*this, "Remix Stereo");
    if (!edit.KeepAudio())
        return NoMemory();
    {
        BusyCursor busy(BusyCursor::kCancellable);
        std::int16_t* samples = m_pData.get();
        if (!InBlocks(busy, m_nFrames, kProgressBlock, [&](std::size_t from, std::size_t to) {
                for (std::size_t i = from; i < to; ++i) {
                    double left = samples[2 * i];
                    double right = samples[2 * i + 1];
                    samples[2 * i] = RoundToSample(left * a + right * c + 0.5, clipped);
                    samples[2 * i + 1] = RoundToSample(left * b + right * d + 0.5, clipped);
                }
            }))
            return Cancelled(edit);
    }
    return AudioRewritten(*this, clipped);
}

bool CSampleDoc::OnReduceToMono() {
    if (RefusedAsMono(*this))
        return false;
    if (!m_pData)
        return true;
    std::optional<MonoValues> values = GetUi().AskDialog(MonoValues{});
    if (!values)
        return false;
    if (std::optional<std::string> message = RangeMessage(*values)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        return false;
    }
    double gl = MixFactor(values->left);
    double gr = MixFactor(values->right);
    std::unique_ptr<std::int16_t[]> mono = AllocateAudio(m_nFrames);
    if (!mono)
        return NoMemory();
    bool clipped = false;
    {
        BusyCursor busy(BusyCursor::kCancellable);
        const std::int16_t* stereo = m_pData.get();
        if (!InBlocks(busy, m_nFrames, kProgressBlock, [&](std::size_t from, std::size_t to) {
                for (std::size_t i = from; i < to; ++i) {
                    double left = stereo[2 * i];
                    double right = stereo[2 * i + 1];
                    mono[i] = RoundToSample(right * gr + left * gl + 0.5, clipped);
                }
            }))
            return false;
    }
    CSampleEdit edit(*this, "Reduce To Mono");
    edit.TakeAudio();
    m_pData = std::move(mono);
    m_bStereo = false;
    return AudioRewritten(*this, clipped);
}
