#include "platform/Ui.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"

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

struct FloatRange {
    float lowest = 0;  // at most 0
    float highest = 0; // at least 0
};

FloatRange RangeOf(const float* values, std::size_t count) {
    // Independent lanes, so that the compiler can compare several values at once.
    constexpr std::size_t kLanes = 8;
    float low[kLanes] = {};
    float high[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes)
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            float v = values[i + lane];
            low[lane] = v < low[lane] ? v : low[lane];
            high[lane] = v > high[lane] ? v : high[lane];
        }
    FloatRange range;
    for (; i < count; ++i) {
        range.lowest = std::min(range.lowest, values[i]);
        range.highest = std::max(range.highest, values[i]);
    }
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
        range.lowest = std::min(range.lowest, low[lane]);
        range.highest = std::max(range.highest, high[lane]);
    }
    return range;
}

// floor(x) as its low 16 bits, for any x.
std::int16_t Low16Bits(double x) {
    double whole = std::floor(x);
    if (!std::isfinite(whole))
        return 0;
    if (std::fabs(whole) >= 0x1p62)
        whole = std::fmod(whole, 65536.0);
    return static_cast<std::int16_t>(static_cast<std::int64_t>(whole));
}

// Each sample becomes w × scale rounded half up, wrapped to 16 bits. The float product is exact
// in double, so the double sum rounds only where it cannot move the result.
void StoreSamples(const float* work, std::size_t count, float scale, FloatRange range, std::int16_t* audio) {
    double reach = std::max(-static_cast<double>(range.lowest), static_cast<double>(range.highest)) * scale;
    const double factor = scale;
    if (reach < 0x1p30) {
        for (std::size_t i = 0; i < count; ++i) {
            double x = static_cast<double>(work[i]) * factor + 0.5;
            // floor without a library call, so that the loop vectorises
            auto whole = static_cast<std::int32_t>(x);
            whole -= static_cast<double>(whole) > x ? 1 : 0;
            audio[i] = static_cast<std::int16_t>(whole);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i)
            audio[i] = Low16Bits(static_cast<double>(work[i]) * factor + 0.5);
    }
}

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
    std::optional<ResampleValues> values = GetUi().AskResample(ResampleDialogValues());
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
    if (!FitsInMemory(std::uint64_t{samples} * (sizeof(std::int16_t) + sizeof(float))))
        return Refuse("Not enough memory");
    std::unique_ptr<std::int16_t[]> audio(new (std::nothrow) std::int16_t[samples]);
    std::unique_ptr<float[]> work(audio ? new (std::nothrow) float[samples] : nullptr);
    if (!audio || !work)
        return Refuse("Not enough memory");

    {
        BusyCursor busy;
        if (step > kMaxResampleStep) {
            // Only a source of more than 2^31 frames gets here, for a frame or none: silence.
            std::fill_n(work.get(), samples, 0.0f);
        } else if (newFrames != 0) {
            ResampleParams params;
            params.source = m_pData.get();
            params.sourceFrames = m_pData ? m_nFrames : 0;
            params.sourceChannels = Channels();
            params.destination = work.get();
            params.destinationFrames = newFrames;
            params.destinationChannels = Channels();
            params.phase = 0;
            params.step = step;
            ResampleProgress progress = [&busy](double fraction) { busy.Progress(fraction); };
            switch (values.method) {
            case ResampleMethod::Linear:
                ResampleLinear(params, progress);
                break;
            case ResampleMethod::Bandlimited:
                ResampleBandlimited(params, progress);
                break;
            case ResampleMethod::DropHold:
                ResampleDropHold(params, progress);
                break;
            }
        }
        FloatRange range = RangeOf(work.get(), samples);
        float scale = 1.0f;
        if (values.method == ResampleMethod::Bandlimited && range.highest > 0) {
            // Match the output's positive peak to the input's; with no positive output there is
            // nothing to match, and the sums stand as they are.
            auto peakIn = static_cast<float>(m_pData ? PositivePeak(m_pData.get(), SampleCount()) : 0);
            scale = peakIn / range.highest;
        }
        StoreSamples(work.get(), samples, scale, range, audio.get());
    }
    work.reset();

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
    std::optional<PlaybackRateValues> values = GetUi().AskPlaybackRate(PlaybackRateValues{m_nRate});
    if (!values)
        return false;
    return SetPlaybackRate(values->rate);
}

bool CSampleDoc::SetPlaybackRate(std::uint32_t rate) {
    if (std::optional<std::string> problem = SampleRateProblem(rate))
        return Refuse(*problem);
    m_nRate = rate;
    SetModifiedFlag();
    UpdateAllViews(nullptr, 0);
    return true;
}
