#include "sample/WavChunks.h"

#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"

#include <algorithm>
#include <map>

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

// Where each cue point stood, by its id.
std::map<std::uint32_t, std::uint32_t> CuePositions(const WavKeptChunk* cue) {
    std::map<std::uint32_t, std::uint32_t> positions;
    if (!cue || cue->bytes.size() < 4)
        return positions;
    std::uint64_t count = GetLE32(cue->bytes.data());
    for (std::uint64_t i = 0; i < count && 4 + (i + 1) * kCuePointSize <= cue->bytes.size(); ++i) {
        const std::uint8_t* point = cue->bytes.data() + 4 + i * kCuePointSize;
        positions.emplace(GetLE32(point), GetLE32(point + 4));
    }
    return positions;
}

bool IsLabelList(const WavKeptChunk& chunk) {
    return chunk.id == FourCC("LIST") && chunk.bytes.size() >= 4 &&
           GetLE32(chunk.bytes.data()) == FourCC("adtl");
}

// A labelled text ("ltxt") names a span of frames from its cue point on: its length follows the audio.
// `map` takes the end of a span, which may be the end of the audio.
bool MoveLabelledSpans(std::vector<std::uint8_t>& bytes, const std::map<std::uint32_t, std::uint32_t>& cues,
                       const FrameMap& map) {
    for (std::size_t at = 4; at + 8 <= bytes.size();) {
        std::uint32_t id = GetLE32(&bytes[at]);
        std::uint32_t size = GetLE32(&bytes[at + 4]);
        if (size > bytes.size() - at - 8)
            return false;
        if (id == FourCC("ltxt") && size >= 8) {
            std::uint8_t* text = &bytes[at + 8];
            auto cue = cues.find(GetLE32(text));
            std::uint64_t end = cue == cues.end() ? 0 : std::uint64_t{cue->second} + GetLE32(text + 4);
            if (cue == cues.end() || end > 0xFFFFFFFFu)
                return false;
            std::optional<std::uint32_t> from = map(cue->second);
            std::optional<std::uint32_t> to = map(static_cast<std::uint32_t>(end));
            if (!from || !to || *to < *from)
                return false;
            PutLE32(text + 4, *to - *from);
        }
        at += 8 + std::size_t{size} + (size & 1);
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
    auto spanEnd = [&map, frames](std::uint32_t frame) -> std::optional<std::uint32_t> {
        std::optional<std::uint32_t> moved = map(frame);
        return moved && *moved <= frames ? moved : std::nullopt;
    };
    const std::map<std::uint32_t, std::uint32_t> cues = CuePositions(Find(FourCC("cue ")));
    // The words that matter first: a narrow status bar shows only the beginning.
    std::string note;
    std::erase_if(chunks, [&](WavKeptChunk& chunk) {
        if (chunk.id != FourCC("cue ") || MoveCuePoints(chunk.bytes, inside))
            return false;
        note = "Cue points dropped: they no longer fit the audio";
        return true;
    });
    // Labels and regions hang on the cue points: they go with them.
    std::erase_if(chunks, [&](WavKeptChunk& chunk) {
        if (!IsLabelList(chunk) || (note.empty() && MoveLabelledSpans(chunk.bytes, cues, spanEnd)))
            return false;
        if (note.empty())
            note = "Labelled regions dropped: they no longer fit the audio";
        return true;
    });
    // The sample count of a "fact" chunk is simply the new one.
    for (WavKeptChunk& chunk : chunks)
        if (chunk.id == FourCC("fact") && chunk.bytes.size() >= 4)
            PutLE32(chunk.bytes.data(), frames);
    return note;
}

std::string WavChunks::AudioReplaced(std::uint32_t frames) {
    return FollowAudio([](std::uint32_t) { return std::nullopt; }, frames);
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
