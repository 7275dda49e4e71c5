// The one place that speaks to libsndfile.
#include "sample/AudioFileImport.h"

#include "platform/FileIo.h"
#include "platform/Ui.h"
#include "sample/LittleEndian.h"
#include "sample/RiffReader.h"
#include "sample/SampleDoc.h"
#include "sample/TpdfDither.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <memory>
#include <new>

namespace {
constexpr sf_count_t kBlockFrames = 65536;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, SndfileCloser>;

bool Refuse(const std::string& path, const std::string& why) {
    GetUi().Message("Can't import " + path + ": " + why, MessageIcon::Exclamation);
    return false;
}

// 8- and 16-bit encodings come out of libsndfile as 16-bit values unchanged.
bool IsExactAsSixteenBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
    case SF_FORMAT_DPCM_8:
    case SF_FORMAT_DPCM_16:
        return true;
    default:
        return false;
    }
}

// The frames read: fewer than asked when the file ends early.
std::size_t ReadAudio(SNDFILE* file, const SF_INFO& info, std::int16_t* out, std::size_t frames) {
    const auto channels = static_cast<std::size_t>(info.channels);
    const bool exact = IsExactAsSixteenBits(info.format);
    CTpdfDither dither;
    std::vector<double> block(exact ? 0 : static_cast<std::size_t>(kBlockFrames) * channels);
    BusyCursor busy;
    std::size_t done = 0;
    while (done < frames) {
        sf_count_t step = std::min<sf_count_t>(kBlockFrames, static_cast<sf_count_t>(frames - done));
        std::int16_t* at = out + done * channels;
        sf_count_t got = exact ? sf_readf_short(file, at, step) : sf_readf_double(file, block.data(), step);
        if (got <= 0)
            break;
        if (!exact)
            for (std::size_t i = 0; i < static_cast<std::size_t>(got) * channels; ++i)
                at[i] = dither.Quantize(block[i]);
        done += static_cast<std::size_t>(got);
        busy.Progress(static_cast<double>(done) / static_cast<double>(frames));
    }
    return done;
}

// A WAVE source's chunks of other programs come along as an opened file's would: its frames are the
// same frames.
WavChunks ChunksOfWave(const std::string& path) {
    int error = 0;
    std::unique_ptr<CFileRiffSource> source = CFileRiffSource::Open(path, error);
    if (!source)
        return {};
    CRiffReader reader(*source);
    RiffChunk riff;
    if (!reader.DescendRiff(riff, FourCC("WAVE")))
        return {};
    WavChunks kept = WavChunks::Collect(reader, riff);
    // These describe the source's encoding (its sample count, its floating-point peaks), not ours.
    std::erase_if(kept.chunks, [](const WavKeptChunk& chunk) {
        return chunk.id == FourCC("fact") || chunk.id == FourCC("PEAK");
    });
    return kept;
}

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}
} // namespace

bool ImportAudioFile(CSampleDoc& doc, const std::string& path) {
    SF_INFO info{};
    SoundFile file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
        return Refuse(path, sf_strerror(nullptr));
    if (info.channels < 1 || info.channels > 2)
        return Refuse(path, "it has " + std::to_string(info.channels) +
                                " channels; only mono and stereo samples can be imported");
    if (info.samplerate <= 0)
        return Refuse(path, "it has no sampling rate");
    if (info.frames < 0 || info.frames > 0xFFFFFFFFLL)
        return Refuse(path, "it is too long for a sample");
    const auto frames = static_cast<std::size_t>(info.frames);
    std::unique_ptr<std::int16_t[]> audio(new (std::nothrow)
                                              std::int16_t[std::max<std::size_t>(1, frames * info.channels)]);
    if (!audio) {
        GetUi().Message("Not enough memory", MessageIcon::Exclamation);
        return false;
    }
    std::size_t read = ReadAudio(file.get(), info, audio.get(), frames);
    if (read < frames) {
        if (read == 0)
            return Refuse(path, sf_strerror(file.get()));
        GetUi().Message("Warning! " + path + " ended before the length it claimed; the frames read are kept.",
                        MessageIcon::Exclamation);
    }

    SF_INSTRUMENT instrument{};
    bool hasInstrument =
        sf_command(file.get(), SFC_GET_INSTRUMENT, &instrument, sizeof instrument) == SF_TRUE;

    doc.ClearData();
    doc.m_wavChunks = ChunksOfWave(path);
    doc.m_bStereo = info.channels == 2;
    doc.SetData(std::move(audio), static_cast<std::uint32_t>(read),
                static_cast<std::uint32_t>(info.samplerate));
    doc.m_nLength = static_cast<std::uint32_t>(read);
    doc.m_dPitch = 440.0;
    doc.m_dLoopPitch = 0;
    doc.m_bCompensate = false;
    if (hasInstrument) {
        if (instrument.basenote >= 0)
            doc.m_dPitch =
                440.0 * std::pow(2.0, (instrument.basenote + instrument.detune / 100.0 - 69.0) / 12.0);
        // libsndfile gives a loop's end one past its last frame.
        for (int i = 0; i < std::min(instrument.loop_count, 16); ++i) {
            const auto& loop = instrument.loops[i];
            if (loop.mode == SF_LOOP_FORWARD && loop.end > loop.start && loop.start < read) {
                doc.SetLoopRange(loop.start,
                                 std::min<std::uint32_t>(loop.end, static_cast<std::uint32_t>(read)) -
                                     loop.start);
                break;
            }
        }
    }
    doc.UpdateAllViews(nullptr);
    return true;
}

const std::vector<std::string>& AudioExportKinds() {
    static const std::vector<std::string> kinds = {".flac", ".aif", ".aiff", ".ogg"};
    return kinds;
}

bool IsAudioExportPath(const std::string& path) {
    const std::vector<std::string>& kinds = AudioExportKinds();
    return std::find(kinds.begin(), kinds.end(), LowerExtension(path)) != kinds.end();
}

bool ExportAudioFile(const CSampleDoc& doc, const std::string& path) {
    std::string extension = LowerExtension(path);
    SF_INFO info{};
    info.channels = doc.Channels();
    info.samplerate = static_cast<int>(std::min<std::uint32_t>(doc.m_nRate, 0x7FFFFFFF));
    if (extension == ".flac")
        info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    else if (extension == ".ogg")
        info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    else
        info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    if (!sf_format_check(&info)) {
        GetUi().Message("Can't export " + path + ": the " + extension +
                            " form cannot hold a sample of this rate and channels",
                        MessageIcon::Exclamation);
        return false;
    }

    // Written beside the target and put in its place only when whole.
    AtomicFileWriter target(path);
    if (!target.Open()) {
        GetUi().Message("Error opening output file\n" + target.Problem(), MessageIcon::Exclamation);
        return false;
    }
    SoundFile file(sf_open(target.TempPath().c_str(), SFM_WRITE, &info));
    if (!file) {
        GetUi().Message("Can't export " + path + ": " + sf_strerror(nullptr), MessageIcon::Exclamation);
        return false;
    }
    {
        BusyCursor busy;
        const std::size_t frames = doc.m_pData ? doc.m_nFrames : 0;
        for (std::size_t done = 0; done < frames;) {
            sf_count_t step = std::min<sf_count_t>(kBlockFrames, static_cast<sf_count_t>(frames - done));
            if (sf_writef_short(file.get(), doc.m_pData.get() + done * doc.Channels(), step) != step) {
                GetUi().Message("Can't export " + path + ": " + sf_strerror(file.get()),
                                MessageIcon::Exclamation);
                return false;
            }
            done += static_cast<std::size_t>(step);
            busy.Progress(static_cast<double>(done) / static_cast<double>(frames));
        }
    }
    if (sf_close(file.release()) != 0 || !target.Commit()) {
        GetUi().Message("Write error on " + path + "\n" + target.Problem(), MessageIcon::Exclamation);
        return false;
    }
    return true;
}
