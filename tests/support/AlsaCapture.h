#pragma once

#include "support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

// Points ALSA's default output at a file for the rest of the process: a `file` PCM over a null
// sink, so whatever PortAudio plays lands, sample for sample, in a file this object names.
// Must exist before PortAudio is first initialised in the process.
class AlsaCapture {
public:
    AlsaCapture();

    const std::string& Path() const { return m_strPath; }
    // The 16-bit samples captured so far (none before the first stream opens).
    std::vector<std::int16_t> Samples() const;
    // The number of samples captured so far, without reading them.
    std::size_t Size() const;
    // Waits until the capture holds at least `samples` samples or `seconds` pass; whether it does.
    bool WaitForSize(std::size_t samples, double seconds) const;

private:
    TempDir m_dir;
    std::string m_strPath;
};

// Where the payload begins in a capture: the first sample that is not 0, or the capture's size.
std::size_t FirstSound(const std::vector<std::int16_t>& capture);
// Whether every sample from `first` to the end is 0.
bool SilentFrom(const std::vector<std::int16_t>& capture, std::size_t first);
// What sounded: the capture without its zero samples. The null sink takes samples far faster than
// any card, so a buffer queued a moment late leaves a run of silence that a card would never have
// played; tests of queued playback compare what sounded, in order, with audio that holds no zeros.
std::vector<std::int16_t> Sounded(const std::vector<std::int16_t>& capture);
// Whether the capture holds the `count` samples of `expected` from `at` on.
bool Matches(const std::vector<std::int16_t>& capture, std::size_t at, const std::int16_t* expected,
             std::size_t count);
// Whether all that sounded from `at` on is at most two passes of the `count` samples of `loop`, each
// from its start and cut short: a stop ends the pass that is playing, and the null sink may already
// have taken part of the one queued behind it.
bool EndsInCutPasses(const std::vector<std::int16_t>& sound, std::size_t at, const std::int16_t* loop,
                     std::size_t count);
