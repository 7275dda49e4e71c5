#pragma once

#include "platform/Service.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The format handed to the wave-out device. Only 16-bit PCM is ever played.
struct WaveFormat {
    std::uint16_t nFormatTag = 1; // PCM
    std::uint16_t nChannels = 1;
    std::uint32_t nSamplesPerSec = 44100;
    std::uint32_t nAvgBytesPerSec = 88200;
    std::uint16_t nBlockAlign = 2;
    std::uint16_t nBitsPerSample = 16;

    // 16-bit PCM, one or two channels, at `rate` frames per second.
    static WaveFormat Pcm16(bool stereo, std::uint32_t rate);
};

// What the caller asks of a header: repeat it. A header carrying both flags is played
// `nLoops` times in a row; the repeat always spans this one header.
enum WaveHeaderFlag : std::uint32_t {
    kWaveBeginLoop = 1u << 0,
    kWaveEndLoop = 1u << 1,
};

// The device's bookkeeping on a header; the caller only reads it.
enum WaveHeaderState : std::uint32_t {
    kWavePrepared = 1u << 0,
    kWaveInQueue = 1u << 1,
    kWaveDone = 1u << 2,
};

// One buffer handed to the device. The audio is not copied: it must stay alive and unchanged
// until the header comes back through the completion function.
struct WaveHeader {
    const void* pData = nullptr;
    std::size_t nBufferLength = 0; // bytes
    std::uint32_t nFlags = 0;      // WaveHeaderFlag
    std::uint32_t nLoops = 0;      // passes, when both loop flags are set
    std::uint32_t nState = 0;      // WaveHeaderState, written by the device only

    bool IsPrepared() const { return (nState & kWavePrepared) != 0; }
    bool IsQueued() const { return (nState & kWaveInQueue) != 0; }
    bool IsDone() const { return (nState & kWaveDone) != 0; }
    bool IsLooped() const {
        return (nFlags & (kWaveBeginLoop | kWaveEndLoop)) == (kWaveBeginLoop | kWaveEndLoop);
    }
};

// What the completion function is told.
enum class WaveNotice { Open, Close, Done };

// The completion function: Open and Close come from within Open() and Close(); Done comes once
// for every written header, when the device has finished with it (header->IsDone() is true).
// Done may arrive on a thread of the device, or on the caller's thread from within Reset().
// It may call Prepare, Unprepare and Write, but never Reset or Close.
using WaveCallback = std::function<void(WaveNotice notice, WaveHeader* header)>;

// Result of every device call: 0 is success; ErrorText() turns any other value into words.
using WaveResult = int;

// Results every device may give. A device may add codes of its own (negative ones).
enum WaveError : WaveResult {
    kWaveOk = 0,
    kWaveNoDevice = 1,
    kWaveBadFormat = 2,
    kWaveNotOpen = 3,
    kWaveAlreadyOpen = 4,
    kWaveUnprepared = 5,
    kWaveStillPlaying = 6,
    kWaveBadHeader = 7,
    kWaveInCallback = 8,
};

// The words for the common results above ("" for a code that is not one of them).
std::string WaveErrorText(WaveResult code);

// The platform's wave-out device: one output stream at a time.
//
// Headers written are played in order, each when the previous one has finished, a looped header
// as many times as it asks. Reset() stops at once and hands every queued header back through the
// completion function; it returns only when all of them have been delivered and every delivery
// has returned, so the caller must not hold a lock that the completion function takes.
class AudioDevice {
public:
    virtual ~AudioDevice();

    // Whether some output accepts the format; nothing is opened.
    virtual WaveResult QueryFormat(const WaveFormat& format) = 0;
    virtual WaveResult Open(const WaveFormat& format, WaveCallback callback) = 0;
    // Fails with kWaveStillPlaying while headers are queued; waits for a completion function
    // that is still running.
    virtual WaveResult Close() = 0;
    virtual WaveResult Prepare(WaveHeader& header) = 0;
    // Fails with kWaveStillPlaying while the header is queued.
    virtual WaveResult Unprepare(WaveHeader& header) = 0;
    virtual WaveResult Write(WaveHeader& header) = 0;
    // The first queued header finishes its current pass (or plays once, if it has not started),
    // then the next header follows.
    virtual WaveResult BreakLoop() = 0;
    virtual WaveResult Reset() = 0;
    virtual std::string ErrorText(WaveResult code) = 0;

    // A device that has no output at all: the default when none is installed.
    static AudioDevice& Fallback();
};

inline AudioDevice& GetAudioDevice() {
    return Service<AudioDevice>::Get();
}

using ScopedAudioDevice = Service<AudioDevice>::Scope;

// The bookkeeping every device shares: checks a header before it is prepared, unprepared or
// written, and updates its state. Each returns kWaveOk or the reason to refuse.
WaveResult PrepareHeader(WaveHeader& header);
WaveResult UnprepareHeader(WaveHeader& header);
WaveResult CheckWritable(const WaveHeader& header);
// Number of times a header is to be played (a loop of 0 passes plays once).
std::uint32_t HeaderPasses(const WaveHeader& header);
