#include "platform/AudioDevice.h"

WaveFormat WaveFormat::Pcm16(bool stereo, std::uint32_t rate) {
    WaveFormat format;
    format.nFormatTag = 1;
    format.nChannels = stereo ? 2 : 1;
    format.nSamplesPerSec = rate;
    format.nBitsPerSample = 16;
    format.nBlockAlign = stereo ? 4 : 2;
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

std::string WaveErrorText(WaveResult code) {
    switch (code) {
    case kWaveOk:
        return "The operation completed successfully.";
    case kWaveNoDevice:
        return "No wave output device is available.";
    case kWaveBadFormat:
        return "The wave output device does not accept this format.";
    case kWaveNotOpen:
        return "The wave output device is not open.";
    case kWaveAlreadyOpen:
        return "The wave output device is already open.";
    case kWaveUnprepared:
        return "The wave header has not been prepared.";
    case kWaveStillPlaying:
        return "The wave data is still playing.";
    case kWaveBadHeader:
        return "The wave header is not valid.";
    case kWaveInCallback:
        return "The wave output device cannot be reset or closed from its own completion function.";
    default:
        return {};
    }
}

AudioDevice::~AudioDevice() = default;

namespace {
// No output anywhere: every format is refused and nothing opens.
class NoAudioDevice : public AudioDevice {
public:
    WaveResult QueryFormat(const WaveFormat&) override { return kWaveNoDevice; }
    WaveResult Open(const WaveFormat&, WaveCallback) override { return kWaveNoDevice; }
    WaveResult Close() override { return kWaveNotOpen; }
    WaveResult Prepare(WaveHeader&) override { return kWaveNotOpen; }
    WaveResult Unprepare(WaveHeader&) override { return kWaveNotOpen; }
    WaveResult Write(WaveHeader&) override { return kWaveNotOpen; }
    WaveResult BreakLoop() override { return kWaveNotOpen; }
    WaveResult Reset() override { return kWaveNotOpen; }
    std::string ErrorText(WaveResult code) override { return WaveErrorText(code); }
};
} // namespace

AudioDevice& AudioDevice::Fallback() {
    static NoAudioDevice device;
    return device;
}

WaveResult PrepareHeader(WaveHeader& header) {
    if (header.IsQueued())
        return kWaveStillPlaying;
    if (header.pData == nullptr && header.nBufferLength != 0)
        return kWaveBadHeader;
    header.nState = kWavePrepared;
    return kWaveOk;
}

WaveResult UnprepareHeader(WaveHeader& header) {
    if (header.IsQueued())
        return kWaveStillPlaying;
    header.nState &= ~kWavePrepared;
    return kWaveOk;
}

WaveResult CheckWritable(const WaveHeader& header) {
    if (!header.IsPrepared())
        return kWaveUnprepared;
    if (header.IsQueued())
        return kWaveStillPlaying;
    if (header.pData == nullptr && header.nBufferLength != 0)
        return kWaveBadHeader;
    return kWaveOk;
}

std::uint32_t HeaderPasses(const WaveHeader& header) {
    if (!header.IsLooped() || header.nLoops == 0)
        return 1;
    return header.nLoops;
}
