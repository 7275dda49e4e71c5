#include "sample/WavChunks.h"

#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"

#include <algorithm>

namespace {
constexpr std::size_t kCuePointSize = 24;

bool IsOurs(std::uint32_t id) {
    return id == FourCC("fmt ") || id == FourCC("data") || id == FourCC("vElO");
}

// A cue point names its frame twice: its position and its offset into the data chunk.
bool MoveCuePoints(std::vector<std::uint8_t>& bytes, const FrameMap& map) {
    if (bytes.size() < 4)
        return false;
    std::uint32_t count = GetLE32(bytes.data());
    if (bytes.size() < 4 + std::uint64_t{count} * kCuePointSize)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t* point = bytes.data() + 4 + std::size_t{i} * kCuePointSize;
        for (std::uint8_t* frame : {point + 4, point + 20}) {
            std::optional<std::uint32_t> moved = map(GetLE32(frame));
            if (!moved)
                return false;
            PutLE32(frame, *moved);
        }
    }
    return true;
}
} // namespace

WavChunks WavChunks::Collect(CRiffReader& reader, const RiffChunk& riff) {
    WavChunks kept;
    bool afterData = false;
    reader.Seek(riff.start + 4);
    RiffChunk chunk;
    while (reader.Next(chunk, riff)) {
        if (IsOurs(chunk.id)) {
            afterData = afterData || chunk.id == FourCC("data");
        } else {
            WavKeptChunk item{chunk.id, std::vector<std::uint8_t>(reader.Available(chunk)), afterData};
            item.bytes.resize(reader.Read(item.bytes.data(), item.bytes.size()));
            kept.chunks.push_back(std::move(item));
        }
        reader.Ascend(chunk);
    }
    return kept;
}

const WavKeptChunk* WavChunks::Find(std::uint32_t id) const {
    auto found =
        std::find_if(chunks.begin(), chunks.end(), [id](const WavKeptChunk& c) { return c.id == id; });
    return found == chunks.end() ? nullptr : &*found;
}

std::string WavChunks::FollowAudio(const FrameMap& map, std::uint32_t frames) {
    auto inside = [&map, frames](std::uint32_t frame) -> std::optional<std::uint32_t> {
        std::optional<std::uint32_t> moved = map(frame);
        return moved && *moved < frames ? moved : std::nullopt;
    };
    std::string note;
    std::erase_if(chunks, [&](WavKeptChunk& chunk) {
        if (chunk.id != FourCC("cue ") || MoveCuePoints(chunk.bytes, inside))
            return false;
        // The words that matter first: a narrow status bar shows only the beginning.
        note = "Cue points dropped: they no longer fit the audio";
        return true;
    });
    return note;
}

std::string WavChunks::AudioReplaced() {
    return FollowAudio([](std::uint32_t) { return std::nullopt; }, 0);
}

std::string ChunkIdText(std::uint32_t id) {
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[i] = static_cast<char>(id >> (8 * i));
    return text;
}

std::vector<std::string> WavChunkIds(const std::string& path) {
    int error = 0;
    std::unique_ptr<CFileRiffSource> source = CFileRiffSource::Open(path, error);
    std::vector<std::string> ids;
    if (!source)
        return ids;
    CRiffReader reader(*source);
    RiffChunk riff;
    if (!reader.DescendRiff(riff, FourCC("WAVE")))
        return ids;
    RiffChunk chunk;
    while (reader.Next(chunk, riff)) {
        ids.push_back(ChunkIdText(chunk.id));
        reader.Ascend(chunk);
    }
    return ids;
}
