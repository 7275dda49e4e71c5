#include "platform/Ui.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <cmath>
#include <new>
#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace {
bool Refuse(const std::string& text) {
    GetUi().Message(text, MessageIcon::Exclamation);
    return false;
}

// Whether `bytes` could be held at all: more than the machine's memory would only end in the
// process being killed part-way.
bool FitsInMemory(std::uint64_t bytes) {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    long pages = ::sysconf(_SC_PHYS_PAGES);
    long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return bytes <= static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
#endif
    return true;
}

// The largest sample value, at least 0.
int PositivePeak(const std::int16_t* audio, std::size_t count) {
    std::int16_t peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, audio[i]);
    return peak;
}

// Thrown from the kernels' progress when the user cancels: nothing of the document has changed yet.
struct ResampleCancelled {};

std::uint32_t ScaledPoint(std::uint32_t point, double step) {
    return static_cast<std::uint32_t>(std::min(std::trunc(point / step), 4294967295.0));
}
} // namespace

ResampleValues CSampleDoc::ResampleDialogValues() const {
    ResampleValues values;
    values.rate = m_nRate;
    values.pitchText = PitchText(m_dPitch);
    return values;
}

bool CSampleDoc::OnResample() {
    std::optional<ResampleValues> values = GetUi().AskDialog(ResampleDialogValues());
    if (!values)
        return false;
    return Resample(*values);
}

bool CSampleDoc::Resample(const ResampleValues& values) {
    std::uint32_t newRate = m_nRate;
    double newPitch = m_dPitch;
    double step = 0;
    if (values.mode == ResampleMode::Rate) {
        if (std::optional<std::string> problem = SampleRateProblem(values.rate))
            return Refuse(*problem);
        if (m_nRate == 0)
            return Refuse("The sample has no rate to change from: set its playback rate first");
        newRate = values.rate;
        step = static_cast<double>(m_nRate) / newRate;
    } else {
        double pitch = ParsePitch(values.pitchText);
        if (pitch == 0)
            return Refuse("Invalid pitch specification");
        if (!(m_dPitch > 0) || !std::isfinite(m_dPitch))
            return Refuse("The sample has no pitch to change from: set its pitch first");
        newPitch = pitch;
        step = pitch / m_dPitch;
    }
    if (values.method == ResampleMethod::Bandlimited && !IsSincTableBuilt())
        return Refuse("Internal error: the resampling table was not built");

    double frames = std::trunc(m_nFrames / step);
    if (!(frames < 4294967296.0))
        return Refuse("Not enough memory");
    auto newFrames = static_cast<std::uint32_t>(frames);
    std::size_t samples = std::size_t{newFrames} * Channels();
    // Linear and drop/hold values are stored block by block as they come, so only the bandlimited
    // sums, which wait for the peak that scales them, need a work buffer of the whole length.
    const bool bandlimited = values.method == ResampleMethod::Bandlimited;
    std::size_t workSamples = bandlimited ? samples : 0;
    if (!FitsInMemory(std::uint64_t{samples} * sizeof(std::int16_t) +
                      std::uint64_t{workSamples} * sizeof(float)))
        return Refuse("Not enough memory");
    std::unique_ptr<std::int16_t[]> audio(new (std::nothrow) std::int16_t[samples]);
    std::unique_ptr<float[]> work(audio ? new (std::nothrow) float[workSamples] : nullptr);
    if (!audio || !work)
        return Refuse("Not enough memory");

    CSampleEdit edit(*this, "Resample");
    try {
        BusyCursor busy(BusyCursor::kCancellable);
        auto report = [&busy](double fraction) {
            if (!busy.Progress(fraction))
                throw ResampleCancelled{};
        };
        ResampleParams params;
        params.source = m_pData.get();
        params.sourceFrames = m_pData ? m_nFrames : 0;
        params.sourceChannels = Channels();
        params.destination = work.get();
        params.destinationFrames = newFrames;
        params.destinationChannels = Channels();
        params.phase = 0;
        params.step = step;
        if (step > kMaxResampleStep) {
            // Only a source of more than 2^31 frames gets here with a frame to make: silence.
            std::fill_n(audio.get(), samples, std::int16_t{0});
        } else if (!bandlimited) {
            auto store = [&](const float* block, std::uint32_t first, std::uint32_t count) {
                std::size_t at = std::size_t{first} * Channels();
                StoreResampled(block, std::size_t{count} * Channels(), 1.0f, 32768.0f, audio.get() + at);
                report(static_cast<double>(first + count) / newFrames);
            };
            if (values.method == ResampleMethod::Linear)
                ResampleLinearInBlocks(params, store);
            else
                ResampleDropHoldInBlocks(params, store);
        } else {
            WorkPeaks peaks;
            std::uint32_t measured = 0;
            ResampleBandlimited(params, [&](std::uint32_t done) {
                // Each block is measured while it is still in the cache.
                std::size_t from = std::size_t{measured} * Channels();
                WorkPeaks block = MeasureWork(work.get() + from, std::size_t{done} * Channels() - from);
                peaks.positive = std::max(peaks.positive, block.positive);
                peaks.magnitude = std::max(peaks.magnitude, block.magnitude);
                measured = done;
                report(static_cast<double>(done) / newFrames);
            });
            // Match the output's positive peak to the input's; with no positive output there is
            // nothing to match, and the sums stand as they are.
            float scale = 1.0f;
            if (peaks.positive > 0)
                scale = static_cast<float>(m_pData ? PositivePeak(m_pData.get(), SampleCount()) : 0) /
                        peaks.positive;
            // Nothing can fail or be cancelled from here on: the old audio goes to the undo step
            // now, before the new audio is written.
            edit.TakeAudio();
            StoreResampled(work.get(), samples, scale, peaks.magnitude, audio.get());
        }
    } catch (const ResampleCancelled&) {
        return false;
    }
    work.reset();

    edit.TakeAudio();
    m_pData = std::move(audio);
    m_dPitch = newPitch;
    m_nRate = newRate;
    m_nFrames = newFrames;
    for (std::uint32_t* point :
         {&m_nStart, &m_nLength, &m_nLoopStart, &m_nLoopLength, &m_nSelStart, &m_nSelLength})
        *point = ScaledPoint(*point, step);
    // Truncating each point on its own can leave the loop end one frame past the stop.
    FitPointsToAudio();
    HoldLoopInSampleRange();
    UpdateAllViews(nullptr, 0);
    SetModifiedFlag();
    return true;
}

bool CSampleDoc::OnChangePlaybackRate() {
    std::optional<PlaybackRateValues> values = GetUi().AskDialog(PlaybackRateValues{m_nRate});
    if (!values)
        return false;
    return SetPlaybackRate(values->rate);
}

bool CSampleDoc::SetPlaybackRate(std::uint32_t rate) {
    if (std::optional<std::string> problem = SampleRateProblem(rate))
        return Refuse(*problem);
    CSampleEdit edit(*this, "Change Playback Rate");
    m_nRate = rate;
    SetModifiedFlag();
    UpdateAllViews(nullptr, 0);
    return true;
}
