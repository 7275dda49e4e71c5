#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CRiffReader;
struct RiffChunk;

// A chunk of a WAVE file that the sample document does not read itself ("LIST", "cue ", "bext",
// "smpl", ...), kept byte for byte so that a save puts it back on the same side of the audio.
struct WavKeptChunk {
    std::uint32_t id = 0;
    std::vector<std::uint8_t> bytes;
    bool afterData = false;
};

// Where an edit moved a frame of the audio; nothing when the frame is gone.
using FrameMap = std::function<std::optional<std::uint32_t>(std::uint32_t frame)>;

// The chunks a WAVE file brought with it beyond "fmt ", "vElO" and "data", in file order. Plain
// data: a document's state can be copied with it.
struct WavChunks {
    std::vector<WavKeptChunk> chunks;

    // Reads every chunk of `riff` but ours, from its first child on.
    static WavChunks Collect(CRiffReader& reader, const RiffChunk& riff);

    const WavKeptChunk* Find(std::uint32_t id) const;
    // After an edit that moved the audio: moves the frames that chunks name (cue points) with it, or
    // drops a chunk that cannot be kept true. Returns a one-line note of what was dropped, or "".
    std::string FollowAudio(const FrameMap& map, std::uint32_t frames);
    // After an edit that replaced the audio with `frames` new frames: drops every chunk that names
    // frames.
    std::string AudioReplaced(std::uint32_t frames);
};

// The ids of the chunks of a RIFF WAVE file in file order ("fmt ", "LIST", "data", ...); empty when
// it is not one.
std::vector<std::string> WavChunkIds(const std::string& path);
std::string ChunkIdText(std::uint32_t id);
