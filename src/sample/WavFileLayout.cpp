#include "sample/WavFileLayout.h"

#include "sample/LittleEndian.h"
#include "sample/RiffWriter.h"

namespace {
constexpr std::uint32_t kFmtSize = 16;

std::uint64_t ChunkSize(std::uint64_t contents) {
    return 8 + contents + (contents & 1);
}

void WriteKept(CRiffWriter& writer, const WavFileParts& parts, bool afterData) {
    for (const WavKeptChunk& kept : parts.chunks)
        if (kept.afterData == afterData)
            writer.WriteChunk(kept.id, kept.bytes.data(), kept.bytes.size());
}
} // namespace

std::uint64_t WavFileParts::RiffSize() const {
    std::uint64_t size = 4 + ChunkSize(kFmtSize) + ChunkSize(kInfoSize) + ChunkSize(dataBytes);
    for (const WavKeptChunk& kept : chunks)
        size += ChunkSize(kept.bytes.size());
    return size;
}

bool WriteWavLayout(CRiffWriter& writer, const WavFileParts& parts,
                    const std::function<void(CRiffWriter&)>& writeAudio) {
    RiffChunk riff;
    writer.CreateChunk(riff, FourCC("RIFF"), FourCC("WAVE"));

    const std::uint16_t blockAlign = parts.channels * 2;
    std::uint8_t format[kFmtSize];
    PutLE16(format, 1);
    PutLE16(format + 2, parts.channels);
    PutLE32(format + 4, parts.rate);
    PutLE32(format + 8, parts.rate * blockAlign);
    PutLE16(format + 12, blockAlign);
    PutLE16(format + 14, 16);
    writer.WriteChunk(FourCC("fmt "), format, kFmtSize);
    WriteKept(writer, parts, false);
    writer.WriteChunk(FourCC("vElO"), parts.info.data(), parts.info.size());

    RiffChunk data;
    writer.CreateChunk(data, FourCC("data"));
    writeAudio(writer);
    writer.Ascend(data);
    WriteKept(writer, parts, true);
    return writer.Ascend(riff);
}
