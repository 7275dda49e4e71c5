#include "sample/SampleDoc.h"

#include "patch/Envelope.h"
#include "platform/Ui.h"
#include "sample/PitchNames.h"
#include "sample/SampleEdit.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>

namespace {
// The curve's envelope runs at ten times the frame count, so that a breakpoint at 100 lies at the
// last frame; that rate must fit its 32-bit field.
constexpr std::uint32_t kMaxSynthFrames = std::numeric_limits<std::uint32_t>::max() / 10;
constexpr double kTwoPi = 6.283185307;
constexpr std::uint32_t kProgressEvery = 1u << 16;

// trunc(x), or, when that does not fit 32 bits, a number with the same low 16 bits: samples keep
// only those. A product that is not a number adds nothing.
std::int32_t WholePart(double x) {
    if (std::fabs(x) < 2147483648.0)
        return static_cast<std::int32_t>(x);
    if (!std::isfinite(x))
        return 0;
    return static_cast<std::int32_t>(std::fmod(std::trunc(x), 65536.0));
}

std::int16_t AddWrapped(std::int16_t sample, std::int32_t s) {
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(sample) + static_cast<std::uint32_t>(s)));
}

// Adds wave(i) times the envelope's gain to every frame, on both channels of a stereo frame; false
// when the user cancelled part-way.
template <class Wave>
bool AddWave(std::int16_t* data, std::uint32_t frames, int channels, CEnvelope& envelope, Wave wave) {
    BusyCursor busy(BusyCursor::kCancellable);
    for (std::uint32_t i = 0; i < frames; ++i) {
        float a = envelope.GetLevel(i, frames) * 32767.0f;
        std::int32_t s = WholePart(wave(i) * a);
        std::int16_t* frame = data + static_cast<std::size_t>(i) * channels;
        for (int c = 0; c < channels; ++c)
            frame[c] = AddWrapped(frame[c], s);
        if (i % kProgressEvery == 0 && !busy.Progress(static_cast<double>(i) / frames))
            return false;
    }
    return true;
}

// The frames a new sample of `length` milliseconds or cycles holds; more than any buffer can
// hold comes out as the largest 64-bit count.
std::uint64_t ReplaceFrames(const SynthesizeValues& values, std::uint32_t rate, double hz) {
    // Wide: rate x length overflows 32 bits within lengths a user can type.
    std::uint64_t product = std::uint64_t{rate} * values.length;
    double frames = values.unit == SynthesizeValues::LengthUnit::Cycles
                        ? static_cast<double>(product) / hz
                        : static_cast<double>(static_cast<float>(product) * 0.001f);
    if (!(frames < 18446744073709551616.0))
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(frames);
}
} // namespace

bool CSampleDoc::OnSynthesize() {
    std::optional<SynthesizeValues> values = GetUi().AskDialog(SynthesizeValues{});
    return values && Synthesize(*values);
}

bool CSampleDoc::Synthesize(const SynthesizeValues& values) {
    const bool replace = values.mode == SynthesizeValues::Mode::Replace;
    const double hz = values.pitchSource == SynthesizeValues::PitchSource::Frequency
                          ? values.frequency
                          : ParsePitch(values.note);
    // Checked before anything is freed: a text that names no note would give 0 Hz.
    if (!(hz > 0) || !std::isfinite(hz)) {
        GetUi().Message("Invalid pitch specification", MessageIcon::Exclamation);
        return false;
    }

    std::uint64_t frames = replace ? ReplaceFrames(values, m_nRate, hz) : (m_pData ? m_nFrames : 0);
    if (frames > kMaxSynthFrames) {
        GetUi().Message("Synthesis is limited to " + std::to_string(kMaxSynthFrames) + " frames",
                        MessageIcon::Exclamation);
        return false;
    }
    const auto n = static_cast<std::uint32_t>(frames);

    CSampleEdit edit(*this, "Synthesize");
    if (!replace && !edit.KeepAudio()) {
        GetUi().Message("Not enough memory!", MessageIcon::Exclamation);
        return false;
    }
    if (replace) {
        // The new buffer first: when it cannot be had, the old audio is still there.
        std::unique_ptr<std::int16_t[]> buffer(new (std::nothrow) std::int16_t[n]());
        if (!buffer) {
            GetUi().Message("Not enough memory!", MessageIcon::Exclamation);
            return false;
        }
        edit.TakeAudio();
        m_pData = std::move(buffer);
        m_nFrames = n;
        m_bStereo = false;
        m_dPitch = hz;
        m_nLoopStart = 0;
        m_nLoopLength = 0;
        m_nStart = 0;
        m_nLength = n;
        m_nSelStart = 0;
        m_nSelLength = n;
        KeptChunksAudioReplaced();
    }

    CEnvelope envelope;
    envelope.SetPoints(values.curve);
    envelope.Initialize(n * 10, false);

    const double rate = m_nRate;
    const double period = rate / hz;
    const double omega = kTwoPi * hz / rate;
    const double slope = 4 / period;
    std::int16_t* data = m_pData.get();
    bool done = true;
    switch (values.function) {
    case SynthesizeValues::Function::Sine:
        done =
            AddWave(data, n, Channels(), envelope, [omega](std::uint32_t i) { return std::sin(i * omega); });
        break;
    case SynthesizeValues::Function::Square:
        done = AddWave(data, n, Channels(), envelope, [period](std::uint32_t i) {
            return std::fmod(static_cast<double>(i), period) < period / 2 ? 1.0 : -1.0;
        });
        break;
    case SynthesizeValues::Function::Triangle: {
        const double q1 = period / 4;
        const double q3 = period * 0.75;
        done = AddWave(data, n, Channels(), envelope, [period, q1, q3, slope](std::uint32_t i) {
            double m = std::fmod(static_cast<double>(i), period);
            if (m < q1)
                return slope * m;
            if (m < q3)
                return 1 - (m - q1) * slope;
            return (m - q3) * slope - 1;
        });
        break;
    }
    }
    if (!done) {
        edit.Cancel();
        return false;
    }

    UpdateAllViews(nullptr, 0);
    SetModifiedFlag();
    return true;
}
