#include "sample/Player.h"

#include "platform/DialogValidation.h"
#include "platform/Settings.h"
#include "platform/Ui.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

namespace {
constexpr std::uint32_t kDefaultMinLoopPlay = 300;
// The platform's error texts fit a buffer of 200 characters.
constexpr std::size_t kErrorTextLimit = 199;

// Everything the user-interface thread and the completion notices share; guarded by `mutex`.
// Device calls that hand headers back (reset, close) are made with the mutex released, because
// the completion notices they cause take it.
struct PlayerState {
    std::mutex mutex;
    AudioDevice* pDevice = nullptr; // the open device, or none
    WaveHeader headers[2];
    bool bFree[2] = {false, false};
    std::optional<PlaySource> looping;
    std::uint32_t nMinLoopPlay = kDefaultMinLoopPlay;
    // A re-queue that failed on the device's thread, told on the user-interface thread.
    std::string strDeferredMessage;
};

PlayerState& State() {
    static PlayerState state;
    return state;
}

enum class WriteFailure { None, NoFreeHeader, Prepare, Write };

struct WriteOutcome {
    WriteFailure failure = WriteFailure::None;
    WaveResult code = kWaveOk;
};

std::uint32_t ReadMinLoopPlay() {
    std::string text = GetSettings().GetString("General", "MinLoopPlay", std::to_string(kDefaultMinLoopPlay));
    auto parsed = ValidateUnsigned(text);
    if (auto* value = std::get_if<std::uint32_t>(&parsed))
        return *value;
    return kDefaultMinLoopPlay;
}

// The device's words for a result, cut to the length the messages allow (never inside a
// UTF-8 sequence).
std::string DeviceErrorText(AudioDevice& device, WaveResult code) {
    std::string text = device.ErrorText(code);
    if (text.size() > kErrorTextLimit) {
        std::size_t end = kErrorTextLimit;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        text.resize(end);
    }
    return text;
}

std::string FailureMessage(WriteFailure failure, const std::string& text) {
    return (failure == WriteFailure::Prepare ? "Error preparing wave header:\n"
                                             : "Error writing to wave device:\n") +
           text;
}

// Queues one buffer; the caller holds the mutex. On a device failure the header is free again
// and the outcome says what failed; closing the device and telling the user are left to the
// caller, outside the mutex.
WriteOutcome WriteLocked(PlayerState& state, const std::int16_t* samples, std::size_t count, bool loop) {
    int slot = state.bFree[0] ? 0 : state.bFree[1] ? 1 : -1;
    if (slot < 0 || state.pDevice == nullptr)
        return {WriteFailure::NoFreeHeader, kWaveOk};
    state.bFree[slot] = false;
    WaveHeader& header = state.headers[slot];
    header.pData = samples;
    header.nBufferLength = count * sizeof(std::int16_t);
    // An empty loop cannot be repeated up to any length: it is queued once, without repeat.
    if (loop && count != 0 && count < state.nMinLoopPlay) {
        std::uint64_t passes = state.nMinLoopPlay / count + 1;
        header.nLoops = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(passes, std::numeric_limits<std::uint32_t>::max()));
        header.nFlags = kWaveBeginLoop | kWaveEndLoop;
    } else {
        header.nLoops = 0;
        header.nFlags = 0;
    }
    if (WaveResult result = state.pDevice->Prepare(header); result != kWaveOk) {
        state.bFree[slot] = true;
        return {WriteFailure::Prepare, result};
    }
    if (WaveResult result = state.pDevice->Write(header); result != kWaveOk) {
        state.pDevice->Unprepare(header);
        state.bFree[slot] = true;
        return {WriteFailure::Write, result};
    }
    return {};
}

WriteOutcome WriteLoopLocked(PlayerState& state) {
    const PlaySource& source = *state.looping;
    return WriteLocked(state, source.pSamples + std::size_t{source.nLoopStart} * source.Channels(),
                       std::size_t{source.nLoopLength} * source.Channels(), true);
}

// After a write on the user-interface thread: a device failure closes the device and is shown.
bool Conclude(const WriteOutcome& outcome) {
    if (outcome.failure == WriteFailure::None)
        return true;
    if (outcome.failure == WriteFailure::NoFreeHeader)
        return false;
    AudioDevice* device = nullptr;
    {
        std::lock_guard lock(State().mutex);
        device = State().pDevice;
    }
    std::string text = device ? DeviceErrorText(*device, outcome.code) : WaveErrorText(outcome.code);
    if (outcome.failure == WriteFailure::Prepare) {
        GetUi().Message(FailureMessage(outcome.failure, text));
        PlayerClose();
    } else {
        PlayerClose();
        GetUi().Message(FailureMessage(outcome.failure, text));
    }
    return false;
}

void ShowDeferredMessage() {
    std::string message;
    {
        std::lock_guard lock(State().mutex);
        message = std::move(State().strDeferredMessage);
        State().strDeferredMessage.clear();
    }
    if (!message.empty())
        GetUi().Message(message);
}

// Whether `length` frames from `first` lie inside the buffer. The document's point rules keep
// them there; a source that breaks them is refused rather than read past its end.
bool RangeError() {
    GetUi().Message("Internal error: the play range lies outside the sample.");
    return false;
}

bool CheckRange(const PlaySource& source, std::uint64_t first, std::uint64_t length) {
    if (first + length <= source.nFrames && (source.pSamples != nullptr || source.nFrames == 0))
        return true;
    return RangeError();
}

const std::int16_t* FrameAt(const PlaySource& source, std::uint32_t frame) {
    return source.nFrames == 0 ? source.pSamples : source.pSamples + std::size_t{frame} * source.Channels();
}
} // namespace

PlaySource PlaySourceOf(const CSampleDoc& doc) {
    PlaySource source;
    source.pSamples = doc.m_pData.get();
    source.nFrames = doc.m_pData ? doc.m_nFrames : 0;
    source.bStereo = doc.m_bStereo;
    source.nStart = doc.m_nStart;
    // A length of 0 means no stop point, not nothing to play.
    std::uint64_t stop = doc.StopPoint();
    source.nLength = stop > doc.m_nStart ? static_cast<std::uint32_t>(stop - doc.m_nStart) : 0;
    source.nLoopStart = doc.m_nLoopStart;
    source.nLoopLength = doc.m_nLoopLength;
    return source;
}

bool PlayerOpen(bool stereo, std::uint32_t rate) {
    ShowDeferredMessage();
    std::uint32_t minLoopPlay = ReadMinLoopPlay();
    PlayerClose();

    AudioDevice& device = GetAudioDevice();
    WaveFormat format = WaveFormat::Pcm16(stereo, rate);
    if (device.QueryFormat(format) != kWaveOk) {
        GetUi().Message("No audio device capable of playing this data.");
        return false;
    }
    if (WaveResult result = device.Open(format, &PlayerCompletion); result != kWaveOk) {
        GetUi().Message("Error opening wave device:\n" + DeviceErrorText(device, result));
        return false;
    }
    std::lock_guard lock(State().mutex);
    PlayerState& state = State();
    state.pDevice = &device;
    state.nMinLoopPlay = minLoopPlay;
    state.bFree[0] = state.bFree[1] = true;
    return true;
}

void PlayerClose() {
    PlayerState& state = State();
    AudioDevice* device = nullptr;
    {
        std::lock_guard lock(state.mutex);
        // A loop still set would be re-queued by the headers the reset hands back.
        state.looping.reset();
        device = state.pDevice;
    }
    if (device != nullptr) {
        device->Reset();
        device->Close();
    }
    std::lock_guard lock(state.mutex);
    state.pDevice = nullptr;
    state.bFree[0] = state.bFree[1] = false;
}

bool PlayerWrite(const std::int16_t* samples, std::size_t count, bool loop) {
    WriteOutcome outcome;
    {
        std::lock_guard lock(State().mutex);
        outcome = WriteLocked(State(), samples, count, loop);
    }
    return Conclude(outcome);
}

bool PlayerPlay(const PlaySource& source) {
    if (!CheckRange(source, source.nStart, source.nLength))
        return false;
    WriteOutcome outcome;
    {
        std::lock_guard lock(State().mutex);
        State().looping.reset();
        outcome = WriteLocked(State(), FrameAt(source, source.nStart),
                              std::size_t{source.nLength} * source.Channels(), false);
    }
    return Conclude(outcome);
}

bool PlayerPlay(const CSampleDoc& doc) {
    return PlayerPlay(PlaySourceOf(doc));
}

bool PlayerLoopPlay(const PlaySource& source) {
    if (source.nLoopLength == 0)
        return PlayerPlay(source);
    if (source.nLoopStart < source.nStart)
        return RangeError();
    if (!CheckRange(source, source.nStart, source.nLoopStart - source.nStart) ||
        !CheckRange(source, source.nLoopStart, source.nLoopLength))
        return false;
    PlayerState& state = State();
    WriteOutcome outcome;
    {
        // Held across both writes, so that a completion sees either no loop or the whole start.
        std::lock_guard lock(state.mutex);
        outcome = WriteLocked(state, FrameAt(source, source.nStart),
                              std::size_t{source.nLoopStart - source.nStart} * source.Channels(), false);
        if (outcome.failure == WriteFailure::Prepare || outcome.failure == WriteFailure::Write) {
            state.looping.reset();
        } else {
            state.looping = source;
            outcome = WriteLoopLocked(state);
            if (outcome.failure == WriteFailure::Prepare || outcome.failure == WriteFailure::Write)
                state.looping.reset();
        }
    }
    return Conclude(outcome);
}

bool PlayerLoopPlay(const CSampleDoc& doc) {
    return PlayerLoopPlay(PlaySourceOf(doc));
}

void PlayerStop() {
    PlayerState& state = State();
    AudioDevice* device = nullptr;
    {
        std::lock_guard lock(state.mutex);
        // First, so that none of the headers the reset hands back is re-queued.
        state.looping.reset();
        device = state.pDevice;
    }
    if (device != nullptr)
        device->BreakLoop();
    PlayerClose();
    ShowDeferredMessage();
}

void PlayerCompletion(WaveNotice notice, WaveHeader* header) {
    if (notice != WaveNotice::Done || header == nullptr)
        return;
    PlayerState& state = State();
    std::lock_guard lock(state.mutex);
    int slot = header == &state.headers[0] ? 0 : header == &state.headers[1] ? 1 : -1;
    if (slot < 0 || state.pDevice == nullptr)
        return;
    state.pDevice->Unprepare(*header);
    state.bFree[slot] = true;
    if (!state.looping)
        return;
    WriteOutcome outcome = WriteLoopLocked(state);
    if (outcome.failure == WriteFailure::Prepare || outcome.failure == WriteFailure::Write) {
        // This thread may neither close the device (it is inside its completion function) nor
        // show a message: the loop ends here, and the user-interface thread tells why at the
        // next stop or open.
        state.looping.reset();
        state.strDeferredMessage =
            FailureMessage(outcome.failure, DeviceErrorText(*state.pDevice, outcome.code));
    }
}

bool PlayerIsPlaying() {
    std::lock_guard lock(State().mutex);
    return State().pDevice != nullptr && !(State().bFree[0] && State().bFree[1]);
}
