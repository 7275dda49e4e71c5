#include "platform/PortAudioDevice.h"

#include <portaudio.h>

#if WLOE_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#if WLOE_HAVE_JACK
#include <jack/jack.h>
#endif

#include <algorithm>
#include <cstring>

namespace {
// The device whose completion function is running on this thread: it must not reset or close.
thread_local const PortAudioDevice* t_pInCompletion = nullptr;

int StreamCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                   PaStreamCallbackFlags, void* user) {
    static_cast<PortAudioDevice*>(user)->Render(static_cast<std::uint8_t*>(output), frames);
    return paContinue;
}

#if WLOE_HAVE_ALSA
// Probing the outputs makes ALSA print a line for every configuration it cannot use; the open
// error that matters reaches the user through ErrorText.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif
#if WLOE_HAVE_JACK
void QuietJack(const char*) {}
#endif
} // namespace

PortAudioDevice::PortAudioDevice() = default;

PortAudioDevice::~PortAudioDevice() {
    if (m_bOpen) {
        Reset();
        Close();
    }
    if (m_bInitialized && m_initResult == kWaveOk)
        Pa_Terminate();
}

WaveResult PortAudioDevice::Initialize() {
    if (!m_bInitialized) {
        m_bInitialized = true;
#if WLOE_HAVE_ALSA
        snd_lib_error_set_handler(&QuietAlsa);
#endif
#if WLOE_HAVE_JACK
        jack_set_error_function(&QuietJack);
        jack_set_info_function(&QuietJack);
#endif
        m_initResult = Pa_Initialize();
    }
    return m_initResult;
}

WaveResult PortAudioDevice::OutputParameters(const WaveFormat& format, PaStreamParameters& parameters) {
    if (WaveResult result = Initialize(); result != kWaveOk)
        return result;
    PaDeviceIndex output = Pa_GetDefaultOutputDevice();
    if (output == paNoDevice)
        return kWaveNoDevice;
    if (format.nFormatTag != 1 || format.nBitsPerSample != 16 || format.nChannels < 1 ||
        format.nChannels > 2 || format.nBlockAlign != format.nChannels * 2 || format.nSamplesPerSec == 0)
        return kWaveBadFormat;
    parameters = PaStreamParameters{};
    parameters.device = output;
    parameters.channelCount = format.nChannels;
    parameters.sampleFormat = paInt16;
    parameters.suggestedLatency = Pa_GetDeviceInfo(output)->defaultLowOutputLatency;
    return kWaveOk;
}

WaveResult PortAudioDevice::QueryFormat(const WaveFormat& format) {
    PaStreamParameters parameters;
    if (WaveResult result = OutputParameters(format, parameters); result != kWaveOk)
        return result;
    return Pa_IsFormatSupported(nullptr, &parameters, format.nSamplesPerSec);
}

WaveResult PortAudioDevice::Open(const WaveFormat& format, WaveCallback callback) {
    {
        std::lock_guard lock(m_mutex);
        if (m_bOpen)
            return kWaveAlreadyOpen;
    }
    PaStreamParameters parameters;
    if (WaveResult result = OutputParameters(format, parameters); result != kWaveOk)
        return result;

    // The stream is not running yet: nothing else reads these.
    m_callback = std::move(callback);
    m_queue.clear();
    m_nOffset = 0;
    m_nPassesLeft = 0;
    m_nBlockAlign = format.nBlockAlign;

    PaStream* stream = nullptr;
    PaError error =
        Pa_OpenStream(&stream, nullptr, &parameters, format.nSamplesPerSec, paFramesPerBufferUnspecified,
                      paClipOff | paDitherOff, &StreamCallback, this);
    if (error == paNoError) {
        error = Pa_StartStream(stream);
        if (error != paNoError)
            Pa_CloseStream(stream);
    }
    if (error != paNoError) {
        m_callback = nullptr;
        return error;
    }
    {
        std::lock_guard lock(m_mutex);
        m_pStream = stream;
        m_bOpen = true;
    }
    m_callback(WaveNotice::Open, nullptr);
    return kWaveOk;
}

WaveResult PortAudioDevice::Close() {
    if (InCompletion())
        return kWaveInCallback;
    PaStream* stream = nullptr;
    {
        std::unique_lock lock(m_mutex);
        if (!m_bOpen)
            return kWaveNotOpen;
        if (!m_queue.empty())
            return kWaveStillPlaying;
        // A header the stream has just finished may still be in the completion function.
        m_idle.wait(lock, [this] { return m_nDelivering == 0; });
        m_bOpen = false;
        stream = static_cast<PaStream*>(m_pStream);
        m_pStream = nullptr;
    }
    // Stopping lets what PortAudio already holds play out; the queue is empty.
    Pa_StopStream(stream);
    Pa_CloseStream(stream);
    WaveCallback callback = std::move(m_callback);
    m_callback = nullptr;
    callback(WaveNotice::Close, nullptr);
    return kWaveOk;
}

WaveResult PortAudioDevice::Prepare(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    if (!m_bOpen)
        return kWaveNotOpen;
    return PrepareHeader(header);
}

WaveResult PortAudioDevice::Unprepare(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    return UnprepareHeader(header);
}

WaveResult PortAudioDevice::Write(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    if (!m_bOpen)
        return kWaveNotOpen;
    if (WaveResult result = CheckWritable(header); result != kWaveOk)
        return result;
    header.nState = (header.nState & ~kWaveDone) | kWaveInQueue;
    m_queue.push_back(&header);
    return kWaveOk;
}

WaveResult PortAudioDevice::BreakLoop() {
    std::lock_guard lock(m_mutex);
    if (!m_bOpen)
        return kWaveNotOpen;
    // The head header plays its current pass, or one pass if it has not started, and no more.
    if (!m_queue.empty())
        m_nPassesLeft = 1;
    return kWaveOk;
}

WaveResult PortAudioDevice::Reset() {
    if (InCompletion())
        return kWaveInCallback;
    std::unique_lock lock(m_mutex);
    if (!m_bOpen)
        return kWaveNotOpen;
    // Whatever is queued stops now; the stream goes on with silence.
    m_nOffset = 0;
    m_nPassesLeft = 0;
    while (!m_queue.empty()) {
        WaveHeader* header = m_queue.front();
        m_queue.pop_front();
        Deliver(lock, header);
    }
    // A header finished by the stream may still be in its completion function.
    m_idle.wait(lock, [this] { return m_nDelivering == 0; });
    return kWaveOk;
}

std::string PortAudioDevice::ErrorText(WaveResult code) {
    if (code >= 0) {
        std::string text = WaveErrorText(code);
        return text.empty() ? "Unknown wave device error " + std::to_string(code) + "." : text;
    }
    std::string text = Pa_GetErrorText(static_cast<PaError>(code));
    if (code == paUnanticipatedHostError) {
        const PaHostErrorInfo* host = Pa_GetLastHostErrorInfo();
        if (host != nullptr && host->errorText != nullptr && host->errorText[0] != '\0')
            text += std::string(": ") + host->errorText;
    }
    return text;
}

void PortAudioDevice::Render(std::uint8_t* output, std::size_t frames) {
    std::unique_lock lock(m_mutex);
    const std::size_t bytes = frames * m_nBlockAlign;
    std::size_t filled = 0;
    while (filled < bytes && !m_queue.empty()) {
        WaveHeader* header = m_queue.front();
        if (m_nPassesLeft == 0)
            m_nPassesLeft = HeaderPasses(*header);
        std::size_t count = std::min(header->nBufferLength - m_nOffset, bytes - filled);
        if (count != 0)
            std::memcpy(output + filled, static_cast<const std::uint8_t*>(header->pData) + m_nOffset, count);
        filled += count;
        m_nOffset += count;
        if (m_nOffset < header->nBufferLength)
            break;
        m_nOffset = 0;
        // An empty header ends at once, however many passes it asks for.
        if (header->nBufferLength != 0 && --m_nPassesLeft > 0)
            continue;
        m_nPassesLeft = 0;
        m_queue.pop_front();
        // Told now, so that a buffer queued by the completion function follows in this same block.
        Deliver(lock, header);
    }
    std::memset(output + filled, 0, bytes - filled);
}

void PortAudioDevice::Deliver(std::unique_lock<std::mutex>& lock, WaveHeader* header) {
    header->nState = (header->nState & ~kWaveInQueue) | kWaveDone;
    ++m_nDelivering;
    lock.unlock();
    const PortAudioDevice* outer = t_pInCompletion;
    t_pInCompletion = this;
    m_callback(WaveNotice::Done, header);
    t_pInCompletion = outer;
    lock.lock();
    if (--m_nDelivering == 0)
        m_idle.notify_all();
}

bool PortAudioDevice::InCompletion() const {
    return t_pInCompletion == this;
}
