#pragma once

#include <cstdint>
#include <memory>

class CSampleDoc;

// Mono copies of a loaded sample retuned to a note, made for auditions. Both read the first
// channel from the sample start and interpolate linearly between neighbouring frames.

// The layer editor's prepared copy of a key: the sample played at `note` at its own rate, with
// its loop scaled along. Null (after "Not enough memory") when the copy cannot be held.
std::unique_ptr<CSampleDoc> PrepareKeyCopy(const CSampleDoc& source, int note);

// A voice of the patch audition: the sample played at `note` at the audition's 44100 Hz, at most
// kVoiceFrames long; a looped sample repeats its loop (at the loop's own pitch) to fill them all.
constexpr std::uint32_t kAuditionRate = 44100;
constexpr std::uint32_t kVoiceFrames = 150000;
std::unique_ptr<CSampleDoc> PrepareVoiceCopy(const CSampleDoc& source, int note);
