#include "sample/KrzFile.h"

#include "platform/FileIo.h"
#include "platform/TextEncoding.h"
#include "platform/Ui.h"
#include "sample/BigEndian.h"
#include "sample/PitchNames.h"
#include "sample/RiffReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace {
constexpr std::uint64_t kFirstBlock = 32;
// A block starts with its negated size, the object type and three bytes we do not read.
constexpr std::uint64_t kBlockHeaderSize = 8;
constexpr std::uint8_t kSampleTypes[] = {0x98, 0x99};
constexpr std::uint64_t kHeaderSize = 88;
// The header's start is counted in units of this many bytes from the sample data area.
constexpr std::uint64_t kStartUnitBytes = 4;
constexpr std::size_t kReadPiece = 32768;

bool IsSampleType(std::uint8_t type) {
    return std::find(std::begin(kSampleTypes), std::end(kSampleTypes), type) != std::end(kSampleTypes);
}
} // namespace

std::string KrzErrorText(KrzError error) {
    switch (error) {
    case KrzError::None:
        return {};
    case KrzError::NotPram:
        return "File is not a Kurzweil PRAM file";
    case KrzError::HeaderBeyondFile:
        return "The sample's header lies beyond the end of the file";
    case KrzError::EndBeforeStart:
        return "The sample's end lies before its start: the file is damaged";
    case KrzError::NoPeriod:
        return "The sample's period gives no rate (it is 0 or over a second): the file is damaged";
    case KrzError::AudioBeyondFile:
        return "The sample's audio lies beyond the end of the file";
    case KrzError::NoMemory:
        return "Not enough memory";
    }
    return {};
}

std::uint32_t KrzRate(std::uint32_t period) {
    if (period == 0)
        return 0;
    return static_cast<std::uint32_t>(1000000000.0f / static_cast<float>(period));
}

std::string KrzListText(const KrzSampleEntry& entry) {
    return Cp1252ToUtf8(entry.name) + " (pitch " + KeyName(entry.rootKey) + ", rate " +
           std::to_string(entry.rate) + ")";
}

bool CKrzFile::HasMagic() {
    char magic[4];
    return m_source.ReadAt(0, magic, sizeof magic) == sizeof magic && std::memcmp(magic, "PRAM", 4) == 0;
}

std::uint32_t CKrzFile::DataOffset() {
    std::uint8_t bytes[4];
    if (m_source.ReadAt(4, bytes, sizeof bytes) != sizeof bytes)
        return 0;
    return GetBE32(bytes);
}

std::vector<KrzSampleEntry> CKrzFile::ListSamples() {
    std::vector<KrzSampleEntry> entries;
    if (!HasMagic())
        return entries;
    const std::uint64_t fileSize = m_source.Size();
    const std::uint64_t scanEnd = std::min<std::uint64_t>(DataOffset(), fileSize);
    for (std::uint64_t block = kFirstBlock; block < scanEnd;) {
        std::uint8_t head[kBlockHeaderSize + 2];
        std::size_t got = m_source.ReadAt(block, head, sizeof head);
        if (got < kBlockHeaderSize)
            break;
        // Stored negated; widened first so that the most negative value negates too.
        std::int64_t size = -static_cast<std::int64_t>(static_cast<std::int32_t>(GetBE32(head)));
        // 0 ends the list; a block shorter than its own header would not move the scan on.
        if (size < static_cast<std::int64_t>(kBlockHeaderSize))
            break;
        const std::uint64_t blockSize = static_cast<std::uint64_t>(size);
        const std::uint64_t next = block + blockSize;
        if (IsSampleType(head[4]) && got == sizeof head) {
            std::uint64_t nameLength = GetBE16(head + 8);
            std::uint64_t headerOffset = block + 10 + nameLength;
            // The name and header must lie inside the block, and the block's header inside the file.
            if (10 + nameLength + kHeaderSize <= blockSize && headerOffset + kHeaderSize <= fileSize) {
                std::string name(nameLength, '\0');
                name.resize(m_source.ReadAt(block + 10, name.data(), name.size()));
                name.resize(std::min(name.find('\0'), name.size()));
                if (std::optional<KrzSampleHeader> header = ReadHeader(headerOffset))
                    entries.push_back(
                        {std::move(name), header->rootKey, KrzRate(header->period), headerOffset});
            }
        }
        block = next;
    }
    return entries;
}

std::optional<KrzSampleHeader> CKrzFile::ReadHeader(std::uint64_t offset) {
    std::uint8_t bytes[kHeaderSize];
    if (m_source.ReadAt(offset, bytes, sizeof bytes) != sizeof bytes)
        return std::nullopt;
    KrzSampleHeader header;
    header.rootKey = static_cast<std::int8_t>(bytes[10]);
    header.start = GetBE32(bytes + 20);
    header.loopStart = GetBE32(bytes + 28);
    header.end = GetBE32(bytes + 32);
    header.period = GetBE32(bytes + 40);
    return header;
}

KrzError CKrzFile::ReadSample(std::uint64_t headerOffset, KrzSampleAudio& audio) {
    if (!HasMagic())
        return KrzError::NotPram;
    std::optional<KrzSampleHeader> header = ReadHeader(headerOffset);
    if (!header)
        return KrzError::HeaderBeyondFile;
    if (header->end < header->start)
        return KrzError::EndBeforeStart;
    if (KrzRate(header->period) == 0)
        return KrzError::NoPeriod;
    const std::uint32_t frames = header->end - header->start;
    const std::uint64_t offset = DataOffset() + kStartUnitBytes * header->start;
    const std::uint64_t bytes = std::uint64_t{frames} * 2;
    const std::uint64_t fileSize = m_source.Size();
    if (offset > fileSize || bytes > fileSize - offset)
        return KrzError::AudioBeyondFile;

    std::unique_ptr<std::int16_t[]> data(new (std::nothrow) std::int16_t[frames]());
    if (!data)
        return KrzError::NoMemory;
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(std::min<std::uint64_t>(bytes, kReadPiece)));
    for (std::uint64_t done = 0; done < bytes;) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(bytes - done, kReadPiece));
        std::size_t got = m_source.ReadAt(offset + done, piece.data(), want);
        // A short read leaves the rest of the audio silent.
        if (got == 0)
            break;
        std::int16_t* out = data.get() + done / 2;
        for (std::size_t i = 0; i + 1 < got; i += 2)
            out[i / 2] = static_cast<std::int16_t>(GetBE16(&piece[i]));
        done += got & ~std::size_t{1};
        if ((got & 1) != 0)
            break;
    }

    audio.data = std::move(data);
    audio.frames = frames;
    audio.rate = KrzRate(header->period);
    // The loop runs from its start to the end of the sample; a loop start outside the sample
    // leaves it without a loop.
    if (header->loopStart >= header->start && header->loopStart < header->end) {
        audio.loopStart = header->loopStart - header->start;
        audio.loopLength = frames - audio.loopStart;
    } else {
        audio.loopStart = 0;
        audio.loopLength = 0;
    }
    return KrzError::None;
}

std::unique_ptr<CFileRiffSource> OpenKrzFile(const std::string& path) {
    int error = 0;
    std::unique_ptr<CFileRiffSource> source = CFileRiffSource::Open(path, error);
    if (!source) {
        FileErrorCause cause =
            error == kNotRegularFile ? FileErrorCause::NotRegular : FileErrorFromErrno(error);
        GetUi().Message(FileErrorText(cause == FileErrorCause::None ? FileErrorCause::Generic : cause, path),
                        MessageIcon::Exclamation);
        return nullptr;
    }
    if (!CKrzFile(*source).HasMagic()) {
        GetUi().Message(KrzErrorText(KrzError::NotPram), MessageIcon::Exclamation);
        return nullptr;
    }
    return source;
}
