#pragma once

#include "platform/AudioDevice.h"

#include <cstddef>
#include <cstdint>

class CSampleDoc;

// What the player reads of a sample: its audio, in place, and the points that say what plays.
// The audio must stay alive and unchanged until the player is stopped.
struct PlaySource {
    const std::int16_t* pSamples = nullptr; // interleaved frames (left, right for stereo)
    std::uint32_t nFrames = 0;              // frames in the buffer
    bool bStereo = false;
    std::uint32_t nStart = 0;
    std::uint32_t nLength = 0;
    std::uint32_t nLoopStart = 0;
    std::uint32_t nLoopLength = 0; // 0: no loop

    std::uint32_t Channels() const { return bStereo ? 2 : 1; }
};

// A sample document's audio and points. A sample without a stop point plays to the end of its audio.
PlaySource PlaySourceOf(const CSampleDoc& doc);

// The process-wide player: at most two buffers queued on the wave-out device, a playing loop
// re-queued from the device's completion notices. Call from the user-interface thread; the
// completion notices come from the device.
//
// The commands call PlayerStop, then PlayerOpen with the sample's channels and rate, then
// PlayerPlay, PlayerLoopPlay or PlayerWrite.

// Opens the device of GetAudioDevice() for 16-bit PCM (closing the one open first) and reads the
// minimum loop play from the settings. Says why when it fails.
bool PlayerOpen(bool stereo, std::uint32_t rate);
// Resets and closes the device; nothing can be written until the next open.
void PlayerClose();
// Queues `count` interleaved samples from `samples`. A looped buffer shorter than the minimum
// loop play is repeated by the device often enough to reach it. False when no header was free or
// the device failed (then it is closed and the failure shown).
bool PlayerWrite(const std::int16_t* samples, std::size_t count, bool loop);
// Plays the sample from its start for its length, once.
bool PlayerPlay(const PlaySource& source);
bool PlayerPlay(const CSampleDoc& doc);
// Plays from the sample start to the loop start once, then the loop until stopped; a sample
// without a loop plays as PlayerPlay.
bool PlayerLoopPlay(const PlaySource& source);
bool PlayerLoopPlay(const CSampleDoc& doc);
// Ends any playing loop, stops the device and closes it.
void PlayerStop();
// The completion function handed to the device.
void PlayerCompletion(WaveNotice notice, WaveHeader* header);
// Whether a buffer is still queued on the device.
bool PlayerIsPlaying();
