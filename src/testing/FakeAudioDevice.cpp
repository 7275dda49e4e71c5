#include "testing/FakeAudioDevice.h"

#include <thread>
#include <utility>

void FakeAudioDevice::SetFormatResult(WaveResult result) {
    std::lock_guard lock(m_mutex);
    m_formatResult = result;
}

void FakeAudioDevice::FailNextOpen(WaveResult result) {
    std::lock_guard lock(m_mutex);
    m_openFailure = result;
}

void FakeAudioDevice::FailNextPrepare(WaveResult result) {
    std::lock_guard lock(m_mutex);
    m_prepareFailure = result;
}

void FakeAudioDevice::FailNextWrite(WaveResult result) {
    std::lock_guard lock(m_mutex);
    m_writeFailure = result;
}

void FakeAudioDevice::SetErrorText(WaveResult code, const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_errorTexts[code] = text;
}

void FakeAudioDevice::SetResetDelivery(ResetDelivery delivery) {
    std::lock_guard lock(m_mutex);
    m_resetDelivery = delivery;
}

bool FakeAudioDevice::CompleteOldest() {
    std::unique_lock lock(m_mutex);
    if (m_queue.empty())
        return false;
    WaveHeader* header = m_queue.front();
    m_queue.pop_front();
    Deliver(lock, {header});
    return true;
}

bool FakeAudioDevice::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_bOpen;
}

WaveFormat FakeAudioDevice::Format() const {
    std::lock_guard lock(m_mutex);
    return m_format;
}

std::size_t FakeAudioDevice::QueuedCount() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::vector<FakeAudioDevice::Written> FakeAudioDevice::Queued() const {
    std::lock_guard lock(m_mutex);
    std::vector<Written> queued;
    for (const WaveHeader* header : m_queue)
        queued.push_back(Snapshot(*header));
    return queued;
}

std::vector<FakeAudioDevice::Written> FakeAudioDevice::WrittenHistory() const {
    std::lock_guard lock(m_mutex);
    return m_history;
}

std::vector<std::string> FakeAudioDevice::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

int FakeAudioDevice::Misuses() const {
    std::lock_guard lock(m_mutex);
    return m_nMisuses;
}

int FakeAudioDevice::Opens() const {
    std::lock_guard lock(m_mutex);
    return m_nOpens;
}

int FakeAudioDevice::Closes() const {
    std::lock_guard lock(m_mutex);
    return m_nCloses;
}

WaveResult FakeAudioDevice::QueryFormat(const WaveFormat&) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("QueryFormat");
    return m_formatResult;
}

WaveResult FakeAudioDevice::Open(const WaveFormat& format, WaveCallback callback) {
    std::unique_lock lock(m_mutex);
    m_calls.push_back("Open");
    if (m_openFailure != kWaveOk)
        return std::exchange(m_openFailure, kWaveOk);
    if (m_bOpen)
        return Refuse(kWaveAlreadyOpen);
    m_bOpen = true;
    m_format = format;
    m_callback = std::move(callback);
    ++m_nOpens;
    WaveCallback notify = m_callback;
    lock.unlock();
    if (notify)
        notify(WaveNotice::Open, nullptr);
    return kWaveOk;
}

WaveResult FakeAudioDevice::Close() {
    std::unique_lock lock(m_mutex);
    m_calls.push_back("Close");
    if (!m_bOpen)
        return Refuse(kWaveNotOpen);
    if (!m_queue.empty())
        return Refuse(kWaveStillPlaying);
    m_bOpen = false;
    ++m_nCloses;
    WaveCallback notify = std::move(m_callback);
    m_callback = nullptr;
    lock.unlock();
    if (notify)
        notify(WaveNotice::Close, nullptr);
    return kWaveOk;
}

WaveResult FakeAudioDevice::Prepare(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("Prepare");
    if (!m_bOpen)
        return Refuse(kWaveNotOpen);
    if (m_prepareFailure != kWaveOk)
        return std::exchange(m_prepareFailure, kWaveOk);
    WaveResult result = PrepareHeader(header);
    return result == kWaveOk ? result : Refuse(result);
}

WaveResult FakeAudioDevice::Unprepare(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("Unprepare");
    WaveResult result = UnprepareHeader(header);
    return result == kWaveOk ? result : Refuse(result);
}

WaveResult FakeAudioDevice::Write(WaveHeader& header) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("Write");
    if (!m_bOpen)
        return Refuse(kWaveNotOpen);
    if (m_writeFailure != kWaveOk)
        return std::exchange(m_writeFailure, kWaveOk);
    if (WaveResult result = CheckWritable(header); result != kWaveOk)
        return Refuse(result);
    header.nState = (header.nState & ~kWaveDone) | kWaveInQueue;
    m_queue.push_back(&header);
    m_history.push_back(Snapshot(header));
    return kWaveOk;
}

WaveResult FakeAudioDevice::BreakLoop() {
    std::lock_guard lock(m_mutex);
    m_calls.push_back("BreakLoop");
    return m_bOpen ? kWaveOk : Refuse(kWaveNotOpen);
}

WaveResult FakeAudioDevice::Reset() {
    std::unique_lock lock(m_mutex);
    m_calls.push_back("Reset");
    if (!m_bOpen)
        return Refuse(kWaveNotOpen);
    std::vector<WaveHeader*> headers(m_queue.begin(), m_queue.end());
    m_queue.clear();
    if (m_resetDelivery == ResetDelivery::CallerThread) {
        Deliver(lock, headers);
    } else {
        // Delivered by another thread while this one waits, as a driver's thread would.
        std::thread device([this, &headers] {
            std::unique_lock deviceLock(m_mutex);
            Deliver(deviceLock, headers);
        });
        lock.unlock();
        device.join();
        lock.lock();
    }
    // Deliveries started elsewhere (CompleteOldest on another thread) end before Reset does.
    m_idle.wait(lock, [this] { return m_nDelivering == 0; });
    return kWaveOk;
}

std::string FakeAudioDevice::ErrorText(WaveResult code) {
    std::lock_guard lock(m_mutex);
    auto found = m_errorTexts.find(code);
    if (found != m_errorTexts.end())
        return found->second;
    std::string text = WaveErrorText(code);
    return text.empty() ? "Unknown error " + std::to_string(code) + "." : text;
}

void FakeAudioDevice::Deliver(std::unique_lock<std::mutex>& lock, const std::vector<WaveHeader*>& headers) {
    for (WaveHeader* header : headers)
        header->nState = (header->nState & ~kWaveInQueue) | kWaveDone;
    WaveCallback notify = m_callback;
    ++m_nDelivering;
    lock.unlock();
    if (notify) {
        for (WaveHeader* header : headers)
            notify(WaveNotice::Done, header);
    }
    lock.lock();
    --m_nDelivering;
    m_idle.notify_all();
}

WaveResult FakeAudioDevice::Refuse(WaveResult result) {
    ++m_nMisuses;
    return result;
}

FakeAudioDevice::Written FakeAudioDevice::Snapshot(const WaveHeader& header) {
    return {header.pData, header.nBufferLength, header.nFlags, header.nLoops};
}
