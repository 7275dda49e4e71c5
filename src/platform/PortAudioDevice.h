#pragma once

#include "platform/AudioDevice.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

struct PaStreamParameters;

// The wave-out device over PortAudio's default output: a callback stream that plays the queued
// headers back to back and outputs silence when the queue is empty.
//
// A header is done once its last pass has been handed to PortAudio. Its Done notice is delivered
// right there, on PortAudio's audio thread, so that a buffer re-queued from the completion
// function follows without a gap; headers handed back by Reset() are delivered on the caller's
// thread. PortAudio's error codes are negative results.
class PortAudioDevice : public AudioDevice {
public:
    PortAudioDevice();
    ~PortAudioDevice() override;
    PortAudioDevice(const PortAudioDevice&) = delete;
    PortAudioDevice& operator=(const PortAudioDevice&) = delete;

    WaveResult QueryFormat(const WaveFormat& format) override;
    WaveResult Open(const WaveFormat& format, WaveCallback callback) override;
    WaveResult Close() override;
    WaveResult Prepare(WaveHeader& header) override;
    WaveResult Unprepare(WaveHeader& header) override;
    WaveResult Write(WaveHeader& header) override;
    WaveResult BreakLoop() override;
    WaveResult Reset() override;
    std::string ErrorText(WaveResult code) override;

    // Fills `frames` frames of output from the queue; the stream's callback.
    void Render(std::uint8_t* output, std::size_t frames);

private:
    WaveResult Initialize();
    // PortAudio's parameters for the default output in the format, or why there are none.
    WaveResult OutputParameters(const WaveFormat& format, PaStreamParameters& parameters);
    // Hands one finished header to the completion function with the lock released.
    void Deliver(std::unique_lock<std::mutex>& lock, WaveHeader* header);
    bool InCompletion() const;

    std::mutex m_mutex;
    std::condition_variable m_idle;
    std::deque<WaveHeader*> m_queue;
    std::size_t m_nOffset = 0;       // bytes of the head header played in this pass
    std::uint32_t m_nPassesLeft = 0; // passes of the head header still to play; 0 before it starts
    int m_nDelivering = 0;
    std::size_t m_nBlockAlign = 2;
    bool m_bOpen = false;
    WaveCallback m_callback;   // set while open; read by deliveries only
    void* m_pStream = nullptr; // the PortAudio stream while open
    bool m_bInitialized = false;
    WaveResult m_initResult = kWaveOk;
};
