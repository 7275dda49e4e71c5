#include "platform/Ui.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "sample/SampleEdit.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>
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

std::optional<CSampleDoc::ResamplePlan> CSampleDoc::PlanResample(const ResampleValues& values) {
    ResamplePlan plan{m_nRate, m_dPitch, 0, 0, values.method};
    if (values.mode == ResampleMode::Rate) {
        if (std::optional<std::string> problem = SampleRateProblem(values.rate))
            return Refuse(*problem), std::nullopt;
        if (m_nRate == 0)
            return Refuse("The sample has no rate to change from: set its playback rate first"), std::nullopt;
        plan.newRate = values.rate;
        plan.step = static_cast<double>(m_nRate) / plan.newRate;
    } else {
        double pitch = ParsePitch(values.pitchText);
        if (pitch == 0)
            return Refuse("Invalid pitch specification"), std::nullopt;
        if (!(m_dPitch > 0) || !std::isfinite(m_dPitch))
            return Refuse("The sample has no pitch to change from: set its pitch first"), std::nullopt;
        plan.newPitch = pitch;
        plan.step = pitch / m_dPitch;
    }
    if (values.method == ResampleMethod::Bandlimited && !IsSincTableBuilt())
        return Refuse("Internal error: the resampling table was not built"), std::nullopt;

    double frames = std::trunc(m_nFrames / plan.step);
    if (!(frames < 4294967296.0))
        return Refuse("Not enough memory"), std::nullopt;
    plan.newFrames = static_cast<std::uint32_t>(frames);
    return plan;
}

void CSampleDoc::ComputeResampled(const ResamplePlan& plan, const std::int16_t* source,
                                  std::uint32_t sourceFrames, float* work, const ResampledStore& store,
                                  const std::function<void()>& sourceDone) {
    const std::size_t samples = std::size_t{plan.newFrames} * Channels();
    BusyCursor busy(BusyCursor::kCancellable);
    auto report = [&busy](double fraction) {
        if (!busy.Progress(fraction))
            throw ResampleCancelled{};
    };
    ResampleParams params;
    params.source = source;
    params.sourceFrames = source ? sourceFrames : 0;
    params.sourceChannels = Channels();
    params.destinationFrames = plan.newFrames;
    params.destinationChannels = Channels();
    params.phase = 0;
    params.step = plan.step;
    if (plan.step > kMaxResampleStep) {
        // Only a source of more than 2^31 frames gets here with a frame to make: silence.
        std::vector<float> silence(std::min<std::size_t>(samples, std::size_t{1} << 16), 0.0f);
        for (std::size_t first = 0; first < samples; first += silence.size())
            store(silence.data(), first, std::min(silence.size(), samples - first), 1.0f, 1.0f);
        return;
    }
    if (plan.method != ResampleMethod::Bandlimited) {
        // Linear and drop/hold values are stored block by block as they come.
        auto take = [&](const float* block, std::uint32_t first, std::uint32_t count) {
            store(block, std::size_t{first} * Channels(), std::size_t{count} * Channels(), 1.0f, 32768.0f);
            report(static_cast<double>(first + count) / plan.newFrames);
        };
        if (plan.method == ResampleMethod::Linear)
            ResampleLinearInBlocks(params, take);
        else
            ResampleDropHoldInBlocks(params, take);
        return;
    }
    // The bandlimited sums wait for the peak that scales them: `work` holds the whole length.
    params.destination = work;
    WorkPeaks peaks;
    std::uint32_t measured = 0;
    ResampleBandlimited(params, [&](std::uint32_t done) {
        // Each block is measured while it is still in the cache.
        std::size_t from = std::size_t{measured} * Channels();
        WorkPeaks block = MeasureWork(work + from, std::size_t{done} * Channels() - from);
        peaks.positive = std::max(peaks.positive, block.positive);
        peaks.magnitude = std::max(peaks.magnitude, block.magnitude);
        measured = done;
        report(static_cast<double>(done) / plan.newFrames);
    });
    // Match the output's positive peak to the input's; with no positive output there is
    // nothing to match, and the sums stand as they are.
    float scale = 1.0f;
    if (peaks.positive > 0)
        scale =
            static_cast<float>(source ? PositivePeak(source, std::size_t{sourceFrames} * Channels()) : 0) /
            peaks.positive;
    sourceDone();
    constexpr std::size_t kStoreBlock = std::size_t{1} << 16;
    for (std::size_t first = 0; first < samples; first += kStoreBlock)
        store(work + first, first, std::min(kStoreBlock, samples - first), scale, peaks.magnitude);
}

void CSampleDoc::AdoptResampled(const ResamplePlan& plan) {
    m_dPitch = plan.newPitch;
    m_nRate = plan.newRate;
    m_nFrames = plan.newFrames;
    for (std::uint32_t* point :
         {&m_nStart, &m_nLength, &m_nLoopStart, &m_nLoopLength, &m_nSelStart, &m_nSelLength})
        *point = ScaledPoint(*point, plan.step);
    KeptChunksFollowAudio([step = plan.step](std::uint32_t frame) { return ScaledPoint(frame, step); });
    // Truncating each point on its own can leave the loop end one frame past the stop.
    FitPointsToAudio();
    HoldLoopInSampleRange();
    UpdateAllViews(nullptr, 0);
    SetModifiedFlag();
}

bool CSampleDoc::Resample(const ResampleValues& values) {
    std::optional<ResamplePlan> plan = PlanResample(values);
    if (!plan)
        return false;
    std::size_t samples = std::size_t{plan->newFrames} * Channels();
    std::size_t workSamples = values.method == ResampleMethod::Bandlimited ? samples : 0;
    if (!FitsInMemory(std::uint64_t{samples} * sizeof(std::int16_t) +
                      std::uint64_t{workSamples} * sizeof(float)))
        return Refuse("Not enough memory");
    std::unique_ptr<std::int16_t[]> audio(new (std::nothrow) std::int16_t[samples]);
    std::unique_ptr<float[]> work(audio ? new (std::nothrow) float[workSamples] : nullptr);
    if (!audio || !work)
        return Refuse("Not enough memory");
    CSampleEdit edit(*this, "Resample");
    auto store = [&](const float* values, std::size_t first, std::size_t count, float scale,
                     float magnitude) {
        StoreResampled(values, count, scale, magnitude, audio.get() + first);
    };
    try {
        // Nothing can fail or be cancelled once the source has been read: the old audio goes to the
        // undo step then, so that the memory it held is at hand for the new audio as it is written.
        ComputeResampled(*plan, m_pData.get(), m_nFrames, work.get(), store, [&edit] { edit.TakeAudio(); });
    } catch (const ResampleCancelled&) {
        return false;
    }
    work.reset();
    edit.TakeAudio();
    m_pData = std::move(audio);
    AdoptResampled(*plan);
    return true;
}

bool CSampleDoc::SaveResampled(const ResampleValues& values, const std::int16_t* source,
                               const std::string& path) {
    std::optional<ResamplePlan> plan = PlanResample(values);
    if (!plan)
        return false;
    std::size_t workSamples =
        values.method == ResampleMethod::Bandlimited ? std::size_t{plan->newFrames} * Channels() : 0;
    std::unique_ptr<float[]> work(FitsInMemory(std::uint64_t{workSamples} * sizeof(float))
                                      ? new (std::nothrow) float[workSamples]
                                      : nullptr);
    if (!work)
        return Refuse("Not enough memory");
    std::uint32_t sourceFrames = m_nFrames;
    AdoptResampled(*plan);
    return WriteWav(path, [&](const AudioBlockWriter& write) {
        std::vector<std::int16_t> block;
        bool writing = true;
        auto store = [&](const float* values, std::size_t, std::size_t count, float scale, float magnitude) {
            block.resize(count);
            StoreResampled(values, count, scale, magnitude, block.data());
            writing = writing && write(block.data(), count);
        };
        ComputeResampled(*plan, source, sourceFrames, work.get(), store, [] {});
    });
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
