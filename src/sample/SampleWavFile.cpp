// The RIFF WAVE form of a sample document: "fmt ", our "vElO" information chunk, "data".
#include "platform/FileIo.h"
#include "platform/Ui.h"
#include "sample/AudioBuffer.h"
#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"
#include "sample/RiffWriter.h"
#include "sample/SampleDoc.h"

#include <algorithm>
#include <bit>
#include <new>
#include <vector>

namespace {
// Long audio moves in blocks of this many bytes, so that the busy indicator can show how far it
// has come.
constexpr std::size_t kAudioIoBlock = std::size_t{8} << 20;

constexpr std::uint32_t kFmtSize = 16;
constexpr std::uint32_t kInfoSize = 56;

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

bool Fail(const char* message) {
    GetUi().Message(message, MessageIcon::Exclamation);
    return false;
}

// The message, and under it the file and the system's reason.
bool Fail(const char* message, const std::string& problem) {
    GetUi().Message(std::string(message) + "\n" + problem, MessageIcon::Exclamation);
    return false;
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
    std::uint8_t format[kFmtSize];
    if (fmt.size != kFmtSize || reader.Read(format, kFmtSize) != kFmtSize)
        return Fail("Format chunk has unexpected size");
    reader.Ascend(fmt);
    std::uint16_t formatTag = GetLE16(format);
    std::uint16_t channels = GetLE16(format + 2);
    std::uint32_t rate = GetLE32(format + 4);
    std::uint16_t blockAlign = GetLE16(format + 12);
    std::uint16_t bits = GetLE16(format + 14);
    if (formatTag != 1)
        return Fail("WAVE data type is not plain PCM");
    if (channels > 2)
        return Fail("Can't handle more than two channels!");
    if (bits != 16)
        return Fail("Can't handle other than 16-bit audio!");
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
    RiffChunk infoChunk;
    if (reader.Descend(infoChunk, riff, FourCC("vElO"))) {
        std::uint8_t bytes[kInfoSize];
        if (infoChunk.size != kInfoSize || reader.Read(bytes, kInfoSize) != kInfoSize)
            return Fail("VELOR's special information chunk has unexpected size");
        info = ParseInfo(bytes);
        reader.Ascend(infoChunk);
    } else {
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

    const std::uint16_t channels = m_bStereo ? 2 : 1;
    const std::uint16_t blockAlign = channels * 2;
    const std::size_t samples = m_pData || produce ? SampleCount() : 0;
    // Every size in the file must fit its 32-bit field.
    if (static_cast<std::uint64_t>(samples) * 2 + 4 + 3 * 8 + kFmtSize + kInfoSize > 0xFFFFFFFFu)
        return Fail("The sample is too large for a WAVE file");
    if (m_nRate == 0)
        return Fail(kNoRateMessage);

    AtomicFileWriter file(target);
    if (!file.Open())
        return Fail("Error opening output file", file.Problem());
    CRiffWriter writer(file);
    RiffChunk riff;
    RiffChunk chunk;
    writer.CreateChunk(riff, FourCC("RIFF"), FourCC("WAVE"));

    std::uint8_t format[kFmtSize];
    PutLE16(format, 1);
    PutLE16(format + 2, channels);
    PutLE32(format + 4, m_nRate);
    PutLE32(format + 8, m_nRate * blockAlign);
    PutLE16(format + 12, blockAlign);
    PutLE16(format + 14, 16);
    writer.CreateChunk(chunk, FourCC("fmt "));
    writer.Write(format, sizeof format);
    writer.Ascend(chunk);

    std::uint8_t info[kInfoSize] = {};
    PutLE32(info, m_nStart);
    PutLE32(info + 4, m_nLength);
    PutLEDouble(info + 8, m_dPitch);
    PutLE32(info + 24, m_nLoopStart);
    PutLE32(info + 28, m_nLoopLength);
    PutLE32(info + 32, m_nSelStart);
    PutLE32(info + 36, m_nSelLength);
    PutLE32(info + 40, m_bCompensate ? 1 : 0);
    writer.CreateChunk(chunk, FourCC("vElO"));
    writer.Write(info, sizeof info);
    writer.Ascend(chunk);

    writer.CreateChunk(chunk, FourCC("data"));
    if (produce) {
        std::vector<std::uint8_t> block;
        std::size_t done = 0;
        produce([&](const std::int16_t* audio, std::size_t count) {
            done += count;
            if constexpr (std::endian::native == std::endian::little)
                return writer.Write(audio, count * 2);
            block.resize(count * 2);
            for (std::size_t i = 0; i < count; ++i)
                PutLE16(&block[2 * i], static_cast<std::uint16_t>(audio[i]));
            return writer.Write(block.data(), block.size());
        });
        // A producer that came up short leaves a file that would not read back as this sample.
        if (done != samples && writer.GetError() == CRiffWriter::Error::None)
            return Fail("Internal error: the audio written does not match the sample's length");
    } else {
        BusyCursor busy;
        if constexpr (std::endian::native == std::endian::little) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(m_pData.get());
            for (std::size_t done = 0; done < samples * 2;) {
                std::size_t step = std::min(kAudioIoBlock, samples * 2 - done);
                writer.Write(bytes + done, step);
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
                writer.Write(block.data(), block.size());
                done += count;
            }
        }
    }
    writer.Ascend(chunk);

    if (!writer.Ascend(riff)) {
        if (writer.GetError() == CRiffWriter::Error::CannotSeek)
            return Fail("Seek error ascending from main RIFF chunk", file.Problem());
        return Fail("Write error ascending from main RIFF chunk", file.Problem());
    }
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
