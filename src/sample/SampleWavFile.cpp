// The RIFF WAVE form of a sample document: "fmt ", our "vElO" information chunk, "data", and the
// chunks of other programs kept around them.
#include "platform/FileIo.h"
#include "platform/Ui.h"
#include "sample/AudioBuffer.h"
#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"
#include "sample/RiffWriter.h"
#include "sample/SampleDoc.h"
#include "sample/SmplChunk.h"
#include "sample/WavFileLayout.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <vector>

namespace {
// Long audio moves in blocks of this many bytes, so that the busy indicator can show how far it
// has come.
constexpr std::size_t kAudioIoBlock = std::size_t{8} << 20;

constexpr std::uint32_t kFmtSize = 16;
constexpr std::uint32_t kExtensibleFmtSize = 40;
constexpr std::uint16_t kExtensibleTag = 0xFFFE;
constexpr std::uint32_t kInfoSize = WavFileParts::kInfoSize;
// The sub-format of WAVE_FORMAT_EXTENSIBLE that is plain integer PCM.
constexpr std::uint8_t kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                            0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::string& FormatRefusalHint() {
    static std::string hint;
    return hint;
}

// What the "vElO" chunk holds, or its defaults when a file has none.
struct SampleInfo {
    std::uint32_t start = 0;
    std::uint32_t length = 0; // 0: to the end of the audio
    double pitch = 440.0;
    std::uint32_t loopStart = 0;
    std::uint32_t loopLength = 0;
    std::uint32_t selStart = 0;
    std::uint32_t selLength = 0;
    bool compensate = false;
};

SampleInfo ParseInfo(const std::uint8_t* bytes) {
    SampleInfo info;
    info.start = GetLE32(bytes);
    info.length = GetLE32(bytes + 4);
    info.pitch = GetLEDouble(bytes + 8);
    info.loopStart = GetLE32(bytes + 24);
    info.loopLength = GetLE32(bytes + 28);
    info.compensate = GetLE32(bytes + 40) != 0;
    return info;
}

// A file without "vElO" takes its loop and pitch from a sampler chunk, when it has one.
void TakeSmpl(SampleInfo& info, const WavKeptChunk& chunk) {
    std::optional<SmplChunk> smpl = SmplChunk::Parse(chunk.bytes);
    if (!smpl)
        return;
    if (smpl->unityNote <= 127)
        info.pitch = smpl->PitchHz();
    if (const SmplLoop* loop = smpl->FirstForwardLoop()) {
        info.loopStart = loop->start;
        info.loopLength = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{loop->end} - loop->start + 1, 0xFFFFFFFFu));
    }
}

bool Fail(const char* message) {
    GetUi().Message(message, MessageIcon::Exclamation);
    return false;
}

// The message, and under it the file and the system's reason.
bool Fail(const char* message, const std::string& problem) {
    GetUi().Message(std::string(message) + "\n" + problem, MessageIcon::Exclamation);
    return false;
}

// A refusal of audio that is not 16-bit PCM, which the program can still convert.
bool FailFormat(const char* message) {
    if (FormatRefusalHint().empty())
        return Fail(message);
    return Fail(message, FormatRefusalHint());
}

struct WavFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
};

// 16-bit integer PCM in the extensible wrapping is the plain format under another name.
bool IsExtensibleSixteenBitPcm(const std::uint8_t* bytes, const WavFormat& format) {
    std::uint16_t extraSize = GetLE16(bytes + 16);
    std::uint16_t validBits = GetLE16(bytes + 18);
    return format.tag == kExtensibleTag && extraSize >= 22 && format.bits == 16 &&
           (validBits == 16 || validBits == 0) && format.channels <= 2 &&
           std::equal(std::begin(kPcmSubFormat), std::end(kPcmSubFormat), bytes + 24);
}

void SwapToHostOrder(std::int16_t* samples, std::size_t count) {
    if constexpr (std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < count; ++i)
            samples[i] =
                static_cast<std::int16_t>(GetLE16(reinterpret_cast<const std::uint8_t*>(&samples[i])));
}

std::string ProposedWavName(const std::string& title) {
    std::size_t dot = title.rfind('.');
    return (dot == std::string::npos ? title : title.substr(0, dot)) + ".WAV";
}
} // namespace

bool CSampleDoc::ReadWav(const std::string& path) {
    int error = 0;
    std::unique_ptr<CFileRiffSource> source = CFileRiffSource::Open(path, error);
    if (!source)
        return Fail("Error opening file", FileProblemText(path, error));
    return ReadWav(*source) && AcceptLoadedValues(path);
}

bool CSampleDoc::ReadWav(CRiffSource& source, WavAudioPlace* place) {
    CRiffReader reader(source);
    RiffChunk riff;
    if (!reader.DescendRiff(riff, FourCC("WAVE")))
        return Fail("Not a valid WAVE file");

    RiffChunk fmt;
    if (!reader.Descend(fmt, riff, FourCC("fmt ")))
        return Fail("Bad WAV file: no format chunk");
    std::uint8_t bytes[kExtensibleFmtSize];
    std::size_t fmtSize = fmt.size == kExtensibleFmtSize ? kExtensibleFmtSize : kFmtSize;
    if ((fmt.size != kFmtSize && fmt.size != kExtensibleFmtSize) || reader.Read(bytes, fmtSize) != fmtSize)
        return FailFormat("Format chunk has unexpected size");
    reader.Ascend(fmt);
    WavFormat format{GetLE16(bytes), GetLE16(bytes + 2), GetLE32(bytes + 4), GetLE16(bytes + 12),
                     GetLE16(bytes + 14)};
    if (fmt.size == kExtensibleFmtSize) {
        if (!IsExtensibleSixteenBitPcm(bytes, format))
            return FailFormat("Format chunk has unexpected size");
        format.tag = 1;
    }
    std::uint16_t formatTag = format.tag;
    std::uint16_t channels = format.channels;
    std::uint32_t rate = format.rate;
    std::uint16_t blockAlign = format.blockAlign;
    std::uint16_t bits = format.bits;
    if (formatTag != 1)
        return FailFormat("WAVE data type is not plain PCM");
    if (channels > 2)
        return Fail("Can't handle more than two channels!");
    if (bits != 16)
        return FailFormat("Can't handle other than 16-bit audio!");
    if (channels == 0)
        return Fail("Bad WAV file: the format chunk names no channels");
    if (blockAlign == 0)
        return Fail("Bad WAV file: the block alignment is 0");
    // The buffer holds whole 16-bit frames; any other block size would not match it.
    if (blockAlign != channels * 2)
        return Fail("Bad WAV file: the block alignment does not match 16-bit audio");
    if (rate == 0)
        return Fail("Bad WAV file: the sampling rate is 0");

    SampleInfo info;
    std::uint64_t afterFormat = reader.Tell();
    WavChunks kept = WavChunks::Collect(reader, riff);
    reader.Seek(afterFormat);
    RiffChunk infoChunk;
    if (reader.Descend(infoChunk, riff, FourCC("vElO"))) {
        std::uint8_t bytes[kInfoSize];
        if (infoChunk.size != kInfoSize || reader.Read(bytes, kInfoSize) != kInfoSize)
            return Fail("VELOR's special information chunk has unexpected size");
        info = ParseInfo(bytes);
        reader.Ascend(infoChunk);
    } else {
        if (const WavKeptChunk* smpl = kept.Find(FourCC("smpl")))
            TakeSmpl(info, *smpl);
        reader.Seek(afterFormat);
    }

    RiffChunk data;
    if (!reader.Descend(data, riff, FourCC("data")))
        return Fail("Bad WAV file: no data chunk");

    ClearData();
    // Only what the file really holds is allocated, whatever the chunk claims.
    std::uint64_t present = reader.Available(data);
    auto frames = static_cast<std::uint32_t>(present / blockAlign);
    std::size_t samples = static_cast<std::size_t>(frames) * channels;
    if (place)
        *place = {reader.Tell(), samples};
    else
        m_pData = AllocateAudio(samples);
    if (!m_pData && !place)
        return Fail("Not enough memory");

    m_wavChunks = std::move(kept);
    m_bStereo = channels == 2;
    m_nRate = rate;
    m_nStart = info.start;
    m_nLength = info.length != 0 ? info.length : frames;
    m_nLoopStart = info.loopStart;
    m_nLoopLength = info.loopLength;
    m_dPitch = info.pitch;
    m_bCompensate = info.compensate;
    if (m_bCompensate)
        LoopPitchOffset();
    else
        m_dLoopPitch = 0;

    std::size_t wanted = samples * 2;
    std::size_t got = place ? wanted : 0;
    if (!place) {
        BusyCursor busy;
        auto* bytes = reinterpret_cast<std::uint8_t*>(m_pData.get());
        while (got < wanted) {
            std::size_t step = std::min(kAudioIoBlock, wanted - got);
            std::size_t read = reader.Read(bytes + got, step);
            got += read;
            if (read < step)
                break;
            busy.Progress(static_cast<double>(got) / static_cast<double>(wanted));
        }
    }
    frames = static_cast<std::uint32_t>(got / blockAlign);
    if (m_pData)
        SwapToHostOrder(m_pData.get(), static_cast<std::size_t>(frames) * channels);
    if (present < data.size || got < wanted)
        GetUi().Message("Warning! The DATA chunk reported its size inaccurately.", MessageIcon::Exclamation);
    m_nFrames = frames;
    m_nSelStart = 0;
    m_nSelLength = frames;
    FitPointsToAudio();
    UpdateAllViews(nullptr);
    return true;
}

bool CSampleDoc::WriteWav(const std::string& path, const AudioProducer& produce) {
    std::string target = path;
    if (target.empty()) {
        std::optional<std::string> chosen = GetUi().AskSaveFile(
            {"Export to .WAV file", "WAVE Files (*.wav)", "*.wav", "WAV", ProposedWavName(GetTitle())});
        if (!chosen)
            return false;
        target = *chosen;
    }

    WavFileParts parts = WavParts();
    // A streamed edit has no buffer: its producer supplies the document's whole length.
    if (produce)
        parts.dataBytes = std::uint64_t{SampleCount()} * 2;
    // Every size in the file must fit its 32-bit field.
    if (parts.RiffSize() > 0xFFFFFFFFu)
        return Fail("The sample is too large for a WAVE file");
    if (m_nRate == 0)
        return Fail(kNoRateMessage);

    AtomicFileWriter file(target);
    if (!file.Open())
        return Fail("Error opening output file", file.Problem());
    CRiffWriter writer(file);
    const std::size_t samples = parts.dataBytes / 2;
    std::size_t produced = 0;
    bool written = WriteWavLayout(writer, parts, [&](CRiffWriter& out) {
        if (produce) {
            std::vector<std::uint8_t> block;
            produce([&](const std::int16_t* audio, std::size_t count) {
                produced += count;
                if constexpr (std::endian::native == std::endian::little)
                    return out.Write(audio, count * 2);
                block.resize(count * 2);
                for (std::size_t i = 0; i < count; ++i)
                    PutLE16(&block[2 * i], static_cast<std::uint16_t>(audio[i]));
                return out.Write(block.data(), block.size());
            });
            return;
        }
        BusyCursor busy;
        if constexpr (std::endian::native == std::endian::little) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pData.get());
            for (std::size_t done = 0; done < samples * 2;) {
                std::size_t step = std::min(kAudioIoBlock, samples * 2 - done);
                out.Write(bytes + done, step);
                done += step;
                busy.Progress(static_cast<double>(done) / static_cast<double>(samples * 2));
            }
        } else {
            std::vector<std::uint8_t> block;
            for (std::size_t done = 0; done < samples;) {
                std::size_t count = std::min<std::size_t>(32768, samples - done);
                block.resize(count * 2);
                for (std::size_t i = 0; i < count; ++i)
                    PutLE16(&block[2 * i], static_cast<std::uint16_t>(m_pData[done + i]));
                out.Write(block.data(), block.size());
                done += count;
            }
        }
    });

    if (!written) {
        if (writer.GetError() == CRiffWriter::Error::CannotSeek)
            return Fail("Seek error ascending from main RIFF chunk", file.Problem());
        return Fail("Write error ascending from main RIFF chunk", file.Problem());
    }
    // A producer that came up short leaves a file that would not read back as this sample.
    if (produce && produced != samples)
        return Fail("Internal error: the audio written does not match the sample's length");
    if (!file.Commit()) {
        // Data that never reached the disk is a write error; a file that could not be put in
        // place of the old one was never opened as the output.
        FileErrorCause cause = file.Error();
        if (cause == FileErrorCause::DiskFull || cause == FileErrorCause::HardIo)
            return Fail("Write error ascending from main RIFF chunk", file.Problem());
        return Fail("Error opening output file", file.Problem());
    }
    SetModifiedFlag(false);
    return true;
}

WavFileParts CSampleDoc::WavParts() const {
    WavFileParts parts;
    parts.channels = m_bStereo ? 2 : 1;
    parts.rate = m_nRate;
    parts.dataBytes = m_pData ? std::uint64_t{SampleCount()} * 2 : 0;
    std::uint8_t* info = parts.info.data();
    PutLE32(info, m_nStart);
    PutLE32(info + 4, m_nLength);
    PutLEDouble(info + 8, m_dPitch);
    PutLE32(info + 24, m_nLoopStart);
    PutLE32(info + 28, m_nLoopLength);
    PutLE32(info + 32, m_nSelStart);
    PutLE32(info + 36, m_nSelLength);
    PutLE32(info + 40, m_bCompensate ? 1 : 0);

    // The sampler chunk always tells what the document holds, in the file's own chunk when it had
    // one (its other fields kept), else after the audio.
    parts.chunks = m_wavChunks.chunks;
    auto found = std::find_if(parts.chunks.begin(), parts.chunks.end(),
                              [](const WavKeptChunk& chunk) { return chunk.id == FourCC("smpl"); });
    if (found == parts.chunks.end())
        found = parts.chunks.insert(parts.chunks.end(), {FourCC("smpl"), {}, true});
    SmplChunk smpl = SmplChunk::Parse(found->bytes).value_or(SmplChunk{});
    smpl.samplePeriod = m_nRate != 0 ? static_cast<std::uint32_t>(std::llround(1e9 / m_nRate)) : 0;
    smpl.SetPitchHz(m_dPitch);
    smpl.loops.clear();
    if (m_nLoopLength != 0)
        smpl.loops.push_back({0, SmplLoop::kForward, m_nLoopStart, m_nLoopStart + m_nLoopLength - 1, 0, 0});
    found->bytes = smpl.Bytes();
    return parts;
}

void CSampleDoc::SetFormatRefusalHint(std::string hint) {
    FormatRefusalHint() = std::move(hint);
}

bool IsOtherAudioWav(const std::string& path) {
    int error = 0;
    std::unique_ptr<CFileRiffSource> source = CFileRiffSource::Open(path, error);
    if (!source)
        return false;
    CRiffReader reader(*source);
    RiffChunk riff;
    RiffChunk fmt;
    std::uint8_t bytes[kExtensibleFmtSize] = {};
    if (!reader.DescendRiff(riff, FourCC("WAVE")) || !reader.Descend(fmt, riff, FourCC("fmt ")) ||
        reader.Read(bytes, std::min<std::uint32_t>(fmt.size, kExtensibleFmtSize)) < kFmtSize)
        return false;
    WavFormat format{GetLE16(bytes), GetLE16(bytes + 2), GetLE32(bytes + 4), GetLE16(bytes + 12),
                     GetLE16(bytes + 14)};
    bool plain = fmt.size == kFmtSize && format.tag == 1 && format.bits == 16;
    bool wrapped = fmt.size == kExtensibleFmtSize && IsExtensibleSixteenBitPcm(bytes, format);
    return !plain && !wrapped;
}
