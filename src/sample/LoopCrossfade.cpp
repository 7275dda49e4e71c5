// "Cross&fade loop...": rewrites the audio around the loop so that playback runs smoothly across
// the jump from loop end back to loop start, and on into the material after the loop.
#include "platform/Ui.h"
#include "sample/CrossfadeDialog.h"
#include "sample/SampleArithmetic.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <cmath>

using namespace SampleArithmetic;

namespace {
// Frames per millisecond of radius, whatever the sample's rate: 44.1 as a float.
constexpr double kFramesPerMs = static_cast<double>(44.1f);

// Weights (t^e, (1 − t)^e) with t = i / n.
struct FadeWeights {
    double rising;
    double falling;
};
FadeWeights WeightsAt(std::size_t i, std::size_t n, double exponent) {
    double t = static_cast<double>(i) / static_cast<double>(n);
    return {std::pow(t, exponent), std::pow(1.0 - t, exponent)};
}
} // namespace

std::uint32_t CSampleDoc::CrossfadeRadiusFrames(std::uint32_t radiusMs) {
    return static_cast<std::uint32_t>(radiusMs * kFramesPerMs);
}

bool CSampleDoc::OnCrossfadeLoop() {
    if (m_nLoopLength == 0) {
        GetUi().Message("No loop has been set", MessageIcon::Exclamation);
        return false;
    }
    std::optional<CrossfadeValues> values = GetUi().AskDialog(CrossfadeValues{});
    if (!values)
        return false;
    if (std::optional<std::string> message = RangeMessage(*values)) {
        GetUi().Message(*message, MessageIcon::Exclamation);
        return false;
    }
    return CrossfadeLoop(values->radiusMs, values->contour);
}

bool CSampleDoc::CrossfadeLoop(std::uint32_t radiusMs, std::uint32_t contour) {
    const std::size_t n = CrossfadeRadiusFrames(radiusMs);
    const std::size_t loopStart = m_nLoopStart;
    const std::size_t loopEnd = std::size_t{m_nLoopStart} + m_nLoopLength;
    if (m_nLoopLength < n) {
        GetUi().Message("The crossfade radius cannot exceed the loop size.", MessageIcon::Exclamation);
        return false;
    }
    if (loopStart < n) {
        GetUi().Message("The requested radius requires more material than precedes loop start.",
                        MessageIcon::Exclamation);
        return false;
    }
    // No file we read gives a loop reaching past the audio.
    if (!m_pData || loopEnd > m_nFrames) {
        GetUi().Message("Internal error: the loop reaches beyond the audio", MessageIcon::Error);
        return false;
    }
    const double exponent = std::pow(2.0, contour * -0.01);
    const std::size_t channels = Channels();
    const std::size_t n2 = std::min(n, m_nFrames - loopEnd);
    CSampleEdit edit(*this, "Crossfade Loop");
    // The two faded stretches lie side by side: the end of the loop and what follows it.
    if (!edit.KeepFrames(static_cast<std::uint32_t>(loopEnd - n), static_cast<std::uint32_t>(n + n2))) {
        GetUi().Message("Not enough memory", MessageIcon::Exclamation);
        return false;
    }
    std::int16_t* x = m_pData.get();
    {
        BusyCursor busy(BusyCursor::kCancellable);
        // Each frame costs two powers: progress comes more often than in the level operations.
        constexpr std::size_t kFramesPerReport = 1 << 14;
        auto onward = [&](std::size_t done) {
            return done % kFramesPerReport != 0 || busy.Progress(static_cast<double>(done) / (n + n2));
        };
        // The last n frames of the loop turn into the n frames before the loop start.
        for (std::size_t i = 0; i < n; ++i) {
            FadeWeights w = WeightsAt(i, n, exponent);
            std::int16_t* into = x + (loopEnd - n + i) * channels;
            const std::int16_t* from = x + (loopStart - n + i) * channels;
            for (std::size_t c = 0; c < channels; ++c)
                into[c] = TruncToSample(from[c] * w.rising + into[c] * w.falling);
            if (!onward(i + 1)) {
                edit.Cancel();
                return false;
            }
        }
        // The frames after the loop end start as the loop's beginning and return to their own.
        for (std::size_t i = 0; i < n2; ++i) {
            FadeWeights w = WeightsAt(i, n2, exponent);
            std::int16_t* after = x + (loopEnd + i) * channels;
            const std::int16_t* begin = x + (loopStart + i) * channels;
            for (std::size_t c = 0; c < channels; ++c)
                after[c] = TruncToSample(after[c] * w.rising + begin[c] * w.falling);
            if (!onward(n + i + 1)) {
                edit.Cancel();
                return false;
            }
        }
    }
    // Only redrawn: the crossfade does not count as a modification.
    UpdateAllViews(nullptr, 0);
    return true;
}
