#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {
using Strings = std::vector<std::string>;

std::vector<std::int16_t> Audio(const CSampleDoc& doc) {
    return {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()};
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SampleWav : public ::testing::Test {
protected:
    // Opens `builder`'s file; the messages shown are in ui.
    bool Open(const WavBuilder& builder) {
        builder.WriteTo(dir.File("t.wav"));
        return doc.OnOpenDocument(dir.File("t.wav"));
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(SampleWav, ReadsWhatSoxWrites) {
    SKIP_WITHOUT_SOX();
    for (int channels : {1, 2}) {
        std::string path = dir.File("sox" + std::to_string(channels) + ".wav");
        // Each channel its own tone, so the interleaving shows.
        ASSERT_TRUE(Sox("-n -r 22050 -b 16 -c " + std::to_string(channels) + " '" + path +
                        "' synth 0.5 sine 300" + (channels == 2 ? " sine 500" : "")));
        CSampleDoc read;
        ASSERT_TRUE(read.OnOpenDocument(path));
        EXPECT_EQ(read.m_nFrames, 11025u);
        EXPECT_EQ(read.m_nRate, 22050u);
        EXPECT_EQ(read.m_bStereo, channels == 2);
        EXPECT_EQ(Audio(read), SoxSamples(path));
        // No information chunk: the defaults.
        EXPECT_EQ(read.m_dPitch, 440.0);
        EXPECT_EQ(read.m_nStart, 0u);
        EXPECT_EQ(read.m_nLength, 11025u);
        EXPECT_EQ(read.m_nLoopLength, 0u);
        EXPECT_EQ(read.m_nSelLength, 11025u);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, RefusesWhatItCannotHoldWithItsMessage) {
    SKIP_WITHOUT_SOX();
    // "wavpcm" keeps sox to a plain 16-byte format chunk; by default it writes the extensible one
    // for more than 16 bits or two channels.
    const std::pair<std::string, std::string> soxCases[] = {
        {"-b 8 -c 1", "Can't handle other than 16-bit audio!"},
        {"-b 24 -c 2 -t wavpcm", "Can't handle other than 16-bit audio!"},
        {"-b 16 -c 3 -t wavpcm", "Can't handle more than two channels!"},
        {"-b 24 -c 2", "Format chunk has unexpected size"},
    };
    for (const auto& [format, message] : soxCases) {
        ASSERT_TRUE(Sox("-n -r 8000 " + format + " '" + dir.File("s.wav") + "' synth 0.1 sine 300"));
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_FALSE(doc.OnOpenDocument(dir.File("s.wav"))) << format;
        EXPECT_EQ(caseUi.Messages(), Strings{message}) << format;
    }

    auto data = WavBuilder::Ramp(8);
    const std::pair<WavBuilder, std::string> builtCases[] = {
        {WavBuilder().Fmt(1, 44100, 16, -1, 3).Data(data), "WAVE data type is not plain PCM"},
        {WavBuilder().Fmt(1, 44100, 16, -1, 1, 18).Data(data), "Format chunk has unexpected size"},
        {WavBuilder().Fmt(1, 44100, 16, 0).Data(data), "Bad WAV file: the block alignment is 0"},
        {WavBuilder().Fmt(2, 44100, 16, 2).Data(data),
         "Bad WAV file: the block alignment does not match 16-bit audio"},
        {WavBuilder().Fmt(0, 44100, 16, 2).Data(data), "Bad WAV file: the format chunk names no channels"},
        {WavBuilder().Fmt(1, 0).Data(data), "Bad WAV file: the sampling rate is 0"},
        {WavBuilder().Data(data), "Bad WAV file: no format chunk"},
        {WavBuilder().Fmt(), "Bad WAV file: no data chunk"},
        {WavBuilder().Fmt().Data(data).Velo({}), "Bad WAV file: no data chunk"},
        {WavBuilder().Fmt().Velo({}, 55).Data(data), "VELOR's special information chunk has unexpected size"},
        {WavBuilder().Fmt().Velo({}, 57).Data(data), "VELOR's special information chunk has unexpected size"},
    };
    for (const auto& [builder, message] : builtCases) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_FALSE(Open(builder)) << message;
        EXPECT_EQ(caseUi.Messages(), Strings{message});
    }

    std::ofstream(dir.File("text.wav")) << "RIFX this is not a wave file";
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("text.wav")));
    EXPECT_FALSE(doc.OnOpenDocument(dir.File("missing.wav")));
    EXPECT_EQ(ui.Messages(), (Strings{"Not a valid WAVE file", "Error opening file"}));
}

TEST_F(SampleWav, ReadsTheInformationChunkAndSkipsPaddedChunks) {
    WavBuilder::Info info{10, 30, 261.5, 12, 8, 5, 7, 1};
    auto audio = WavBuilder::Ramp(2 * 50);
    // An odd-sized chunk before and after "fmt " must be skipped with its pad byte.
    ASSERT_TRUE(Open(WavBuilder()
                         .Chunk("junk", {1, 2, 3})
                         .Fmt(2)
                         .Chunk("odd ", {9})
                         .Velo(info)
                         .Chunk("LIST", {1, 2, 3, 4, 5})
                         .Data(audio)));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(doc.m_bStereo);
    EXPECT_EQ(doc.m_nFrames, 50u);
    EXPECT_EQ(Audio(doc), audio);
    EXPECT_EQ(doc.m_nStart, 10u);
    EXPECT_EQ(doc.m_nLength, 30u);
    EXPECT_EQ(doc.m_dPitch, 261.5);
    EXPECT_EQ(doc.m_nLoopStart, 12u);
    EXPECT_EQ(doc.m_nLoopLength, 8u);
    EXPECT_TRUE(doc.m_bCompensate);
    // The stored selection is ignored: the whole sample is shown.
    EXPECT_EQ(doc.m_nSelStart, 0u);
    EXPECT_EQ(doc.m_nSelLength, 50u);

    // A data chunk of odd size holds whole frames and its pad byte.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("data", {1, 0, 2, 0, 3}).Chunk("junk", {})));
    EXPECT_EQ(doc.m_nFrames, 2u);
    EXPECT_EQ(Audio(doc), (std::vector<std::int16_t>{1, 2}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, AShortDataChunkGivesTheFramesPresentAndPointsInsideThem) {
    // The data claims 1000 frames; 300 are there. The points named the claimed end.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Velo({100, 850, 440.0, 400, 500}).Data(WavBuilder::Ramp(300), 2000)));
    EXPECT_EQ(ui.Messages(), Strings{"Warning! The DATA chunk reported its size inaccurately."});
    EXPECT_EQ(doc.m_nFrames, 300u);
    EXPECT_EQ(Audio(doc), WavBuilder::Ramp(300));
    EXPECT_EQ(doc.m_nStart, 100u);
    EXPECT_EQ(doc.m_nLength, 200u);
    EXPECT_EQ(doc.m_nLoopLength, 0u) << "a loop beyond the audio is dropped";
    EXPECT_EQ(doc.m_nSelLength, 300u);

    // A loop start far beyond the audio, even with no loop, comes back inside it.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Velo({2, 0, 440.0, 0x7B800300, 0}).Data(WavBuilder::Ramp(12))));
    EXPECT_EQ(doc.m_nLoopStart, 0u);

    // A claim of 4 GB allocates only what the file holds (ASan would fail a huge allocation).
    ASSERT_TRUE(Open(WavBuilder().Fmt().Data(WavBuilder::Ramp(3), 0xFFFFFFFF)));
    EXPECT_EQ(doc.m_nFrames, 3u);
}

TEST_F(SampleWav, WrittenFilesReadBackInSoxAndHere) {
    SKIP_WITHOUT_SOX();
    doc.SetData(std::unique_ptr<std::int16_t[]>(new std::int16_t[2 * 4000]), 4000, 32000);
    auto audio = WavBuilder::Ramp(8000);
    std::copy(audio.begin(), audio.end(), doc.m_pData.get());
    doc.m_bStereo = true;
    doc.SetSampleRange(200, 3000);
    doc.SetLoopRange(500, 1000);
    doc.SetSelection(50, 60);
    doc.SetPitchFromParts(3, 2, 12.5);
    doc.SetCompensate(true);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("w.wav")));
    EXPECT_FALSE(doc.IsModified());

    EXPECT_EQ(Soxi("-r", dir.File("w.wav")), "32000");
    EXPECT_EQ(Soxi("-c", dir.File("w.wav")), "2");
    EXPECT_EQ(Soxi("-s", dir.File("w.wav")), "4000");
    EXPECT_EQ(SoxSamples(dir.File("w.wav")), audio);
    EXPECT_EQ(FileBytes(dir.File("w.wav")).size(), 12u + 24 + 64 + 8 + 16000);

    CSampleDoc read;
    ASSERT_TRUE(read.OnOpenDocument(dir.File("w.wav")));
    EXPECT_EQ(Audio(read), audio);
    EXPECT_EQ(std::tie(read.m_nStart, read.m_nLength, read.m_nLoopStart, read.m_nLoopLength),
              std::tie(doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength));
    EXPECT_EQ(read.m_dPitch, doc.m_dPitch);
    EXPECT_TRUE(read.m_bCompensate);
    EXPECT_EQ(read.m_nSelStart, 0u);
    EXPECT_EQ(read.m_nSelLength, 4000u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, AFailedSaveLeavesTheOldFileAndTheDocumentModified) {
    ASSERT_TRUE(doc.OnNewDocument());
    std::string path = dir.File("keep.wav");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    std::string old = FileBytes(path);

    doc.SetData(std::make_unique<std::int16_t[]>(200000), 200000, 44100);
    // Writes beyond 64 KB fail, as on a full disk.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 65536;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved_ok = doc.OnSaveDocument(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ui.Messages(), Strings{"Write error ascending from main RIFF chunk"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary left";

    // A file that cannot be put in place (a directory stands there) is never opened as output.
    std::filesystem::create_directory(dir.File("d.wav"));
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("d.wav")));
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("no/such/dir.wav")));
    EXPECT_EQ(ui.Messages().back(), "Error opening output file");
    EXPECT_EQ(ui.Messages().size(), 3u);
}

TEST_F(SampleWav, WithoutAPathAsksWhereToExport) {
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SetTitle("loop.sam");
    ui.QueueDialog<std::string>(std::nullopt);
    EXPECT_FALSE(doc.WriteWav(""));
    ui.QueueDialog<std::string>(dir.File("chosen.wav"));
    EXPECT_TRUE(doc.WriteWav(""));
    EXPECT_TRUE(std::filesystem::exists(dir.File("chosen.wav")));
    EXPECT_TRUE(ui.AllAnswersUsed());
}
