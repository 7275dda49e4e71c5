#pragma once

#include "platform/AudioDevice.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The wave-out device of tests: nothing plays until the test completes a header by hand, from
// any thread. Every call is recorded; calls that a real device would refuse are refused and
// counted as misuse.
class FakeAudioDevice : public AudioDevice {
public:
    // A header as it was when written.
    struct Written {
        const void* pData;
        std::size_t nBytes;
        std::uint32_t nFlags;
        std::uint32_t nLoops;
    };

    // Where Reset() delivers the headers it hands back: on the caller's thread, or on a thread of
    // the device while the caller waits.
    enum class ResetDelivery { CallerThread, DeviceThread };

    // Set-up. A failure set for a call is returned by the next such call only.
    void SetFormatResult(WaveResult result);
    void FailNextOpen(WaveResult result);
    void FailNextPrepare(WaveResult result);
    void FailNextWrite(WaveResult result);
    void SetErrorText(WaveResult code, const std::string& text);
    void SetResetDelivery(ResetDelivery delivery);

    // Completes the oldest queued header now, on the calling thread (its completion function runs
    // before this returns). False when nothing is queued.
    bool CompleteOldest();

    // Inspection.
    bool IsOpen() const;
    WaveFormat Format() const;
    std::size_t QueuedCount() const;
    std::vector<Written> Queued() const;
    std::vector<Written> WrittenHistory() const;
    std::vector<std::string> Calls() const;
    int Misuses() const;
    int Opens() const;
    int Closes() const;

    WaveResult QueryFormat(const WaveFormat& format) override;
    WaveResult Open(const WaveFormat& format, WaveCallback callback) override;
    WaveResult Close() override;
    WaveResult Prepare(WaveHeader& header) override;
    WaveResult Unprepare(WaveHeader& header) override;
    WaveResult Write(WaveHeader& header) override;
    WaveResult BreakLoop() override;
    WaveResult Reset() override;
    std::string ErrorText(WaveResult code) override;

private:
    // Hands headers back through the completion function, outside the lock.
    void Deliver(std::unique_lock<std::mutex>& lock, const std::vector<WaveHeader*>& headers);
    WaveResult Refuse(WaveResult result);
    static Written Snapshot(const WaveHeader& header);

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_nDelivering = 0;
    bool m_bOpen = false;
    WaveFormat m_format;
    WaveCallback m_callback;
    std::deque<WaveHeader*> m_queue;
    std::vector<Written> m_history;
    std::vector<std::string> m_calls;
    std::map<WaveResult, std::string> m_errorTexts;
    ResetDelivery m_resetDelivery = ResetDelivery::CallerThread;
    WaveResult m_formatResult = kWaveOk;
    WaveResult m_openFailure = kWaveOk;
    WaveResult m_prepareFailure = kWaveOk;
    WaveResult m_writeFailure = kWaveOk;
    int m_nMisuses = 0;
    int m_nOpens = 0;
    int m_nCloses = 0;
};
