#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/DocAudio.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using Strings = std::vector<std::string>;
using Points = std::vector<std::uint32_t>;

Points PointsOf(const CSampleDoc& doc) {
    return {doc.m_nFrames,     doc.m_nStart,    doc.m_nLength,   doc.m_nLoopStart,
            doc.m_nLoopLength, doc.m_nSelStart, doc.m_nSelLength};
}

class SampleWav : public ::testing::Test {
protected:
    bool Open(const WavBuilder& builder) {
        builder.WriteTo(dir.File("t.wav"));
        return doc.OnOpenDocument(dir.File("t.wav"));
    }
    // The messages of opening `path` on a fresh Ui.
    Strings Refusal(const std::string& path) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        EXPECT_FALSE(doc.OnOpenDocument(path)) << path;
        return caseUi.Messages();
    }

    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(SampleWav, ReadsWhatSoxWritesWithTheDefaultsOfAFileWithoutInformation) {
    SKIP_WITHOUT_SOX();
    // Each channel its own tone, so the interleaving shows.
    for (std::string channels : {"1", "2"}) {
        std::string path = dir.File("sox" + channels + ".wav");
        ASSERT_TRUE(Sox("-n -r 22050 -b 16 -c " + channels + " '" + path + "' synth 0.5 sine 300" +
                        (channels == "2" ? " sine 500" : "")));
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(PointsOf(doc), (Points{11025, 0, 11025, 0, 0, 0, 11025}));
        EXPECT_EQ(doc.m_nRate, 22050u);
        EXPECT_EQ(doc.m_bStereo, channels == "2");
        EXPECT_EQ(Audio(doc), SoxSamples(path));
        EXPECT_EQ(doc.m_dPitch, 440.0);
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, RefusesWhatItCannotHoldWithItsMessage) {
    SKIP_WITHOUT_SOX();
    // "wavpcm" keeps sox to a plain 16-byte format chunk; by default it writes the extensible one
    // for more than 16 bits or two channels.
    for (const auto& [format, message] : std::vector<std::pair<std::string, std::string>>{
             {"-b 8 -c 1", "Can't handle other than 16-bit audio!"},
             {"-b 24 -c 2 -t wavpcm", "Can't handle other than 16-bit audio!"},
             {"-b 16 -c 3 -t wavpcm", "Can't handle more than two channels!"},
             {"-b 24 -c 2", "Format chunk has unexpected size"}}) {
        ASSERT_TRUE(Sox("-n -r 8000 " + format + " '" + dir.File("s.wav") + "' synth 0.1 sine 300"));
        EXPECT_EQ(Refusal(dir.File("s.wav")), Strings{message}) << format;
    }

    auto data = WavBuilder::Ramp(8);
    for (const auto& [builder, message] : std::vector<std::pair<WavBuilder, std::string>>{
             {WavBuilder().Fmt(1, 44100, 16, -1, 3).Data(data), "WAVE data type is not plain PCM"},
             {WavBuilder().Fmt(1, 44100, 16, -1, 1, 18).Data(data), "Format chunk has unexpected size"},
             {WavBuilder().Fmt(1, 44100, 16, 0).Data(data), "Bad WAV file: the block alignment is 0"},
             {WavBuilder().Fmt(2, 44100, 16, 2).Data(data),
              "Bad WAV file: the block alignment does not match 16-bit audio"},
             {WavBuilder().Fmt(0, 44100, 16, 2).Data(data),
              "Bad WAV file: the format chunk names no channels"},
             {WavBuilder().Fmt(1, 0).Data(data), "Bad WAV file: the sampling rate is 0"},
             {WavBuilder().Data(data), "Bad WAV file: no format chunk"},
             {WavBuilder().Fmt().Data(data).Velo({}), "Bad WAV file: no data chunk"},
             {WavBuilder().Fmt().Velo({}, 55).Data(data),
              "VELOR's special information chunk has unexpected size"},
             {WavBuilder().Fmt().Velo({}, 57).Data(data),
              "VELOR's special information chunk has unexpected size"},
         }) {
        builder.WriteTo(dir.File("b.wav"));
        EXPECT_EQ(Refusal(dir.File("b.wav")), Strings{message});
    }
    std::ofstream(dir.File("text.wav")) << "RIFX this is not a wave file";
    EXPECT_EQ(Refusal(dir.File("text.wav")), Strings{"Not a valid WAVE file"});
    // The cause, in the system's words, under the message.
    EXPECT_EQ(Refusal(dir.File("missing.wav")),
              Strings{"Error opening file\n" + dir.File("missing.wav") + ": No such file or directory"});
    std::filesystem::create_directory(dir.File("folder.wav"));
    EXPECT_EQ(Refusal(dir.File("folder.wav")),
              Strings{"Error opening file\n" + dir.File("folder.wav") + ": Is a directory"});
    EXPECT_EQ(Refusal(dir.File("text.wav") + "/a.wav"),
              Strings{"Error opening file\n" + dir.File("text.wav") + "/a.wav: Not a directory"});
    std::filesystem::create_symlink("/dev/zero", dir.File("zero.wav"));
    EXPECT_EQ(Refusal(dir.File("zero.wav")),
              Strings{"Error opening file\n" + dir.File("zero.wav") + " is not a regular file."});
    EXPECT_EQ(Refusal("/dev/zero"), Strings{"/dev/zero is not a regular file."})
        << "the archive form's reader";
}

TEST_F(SampleWav, ReadsTheInformationChunkAndSkipsPaddedChunks) {
    auto audio = WavBuilder::Ramp(2 * 50);
    ASSERT_TRUE(Open(WavBuilder()
                         .Chunk("junk", {1, 2, 3})
                         .Fmt(2)
                         .Chunk("odd ", {9})
                         .Velo({10, 30, 261.5, 12, 8, 5, 7, 1})
                         .Chunk("LIST", {1, 2, 3, 4, 5})
                         .Data(audio)));
    EXPECT_TRUE(doc.m_bStereo);
    EXPECT_EQ(Audio(doc), audio);
    EXPECT_EQ(PointsOf(doc), (Points{50, 10, 30, 12, 8, 0, 50})) << "the stored selection is ignored";
    EXPECT_EQ(doc.m_dPitch, 261.5);
    EXPECT_TRUE(doc.m_bCompensate);

    // A data chunk of odd size holds whole frames and its pad byte.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Chunk("data", {1, 0, 2, 0, 3}).Chunk("junk", {})));
    EXPECT_EQ(Audio(doc), (std::vector<std::int16_t>{1, 2}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, ClaimsBeyondTheAudioAreCutToWhatIsThere) {
    // The data claims 1000 frames; 300 are there. The points named the claimed end.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Velo({100, 850, 440.0, 400, 500}).Data(WavBuilder::Ramp(300), 2000)));
    EXPECT_EQ(ui.Messages(), Strings{"Warning! The DATA chunk reported its size inaccurately."});
    EXPECT_EQ(Audio(doc), WavBuilder::Ramp(300));
    EXPECT_EQ(PointsOf(doc), (Points{300, 100, 200, 0, 0, 0, 300})) << "a loop beyond the audio is dropped";

    // A claim of 4 GB allocates only what the file holds; ASan would fail a huge allocation.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Data(WavBuilder::Ramp(3), 0xFFFFFFFF)));
    EXPECT_EQ(doc.m_nFrames, 3u);
    // Found by fuzzing: a loop start far beyond the audio, with no loop length.
    ASSERT_TRUE(Open(WavBuilder().Fmt().Velo({2, 0, 440.0, 0x7B800300, 0}).Data(WavBuilder::Ramp(12))));
    EXPECT_EQ(doc.m_nLoopStart, 0u);
}

TEST_F(SampleWav, WrittenFilesReadBackInSoxAndHere) {
    SKIP_WITHOUT_SOX();
    auto audio = WavBuilder::Ramp(8000);
    doc.SetData(std::make_unique<std::int16_t[]>(8000), 4000, 32000);
    std::copy(audio.begin(), audio.end(), doc.m_pData.get());
    doc.m_bStereo = true;
    doc.SetSampleRange(200, 3000);
    doc.SetLoopRange(500, 1000);
    doc.SetSelection(50, 60);
    doc.SetPitchFromParts(3, 2, 12.5);
    doc.SetCompensate(true);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("w.wav")));
    EXPECT_FALSE(doc.IsModified());

    std::string path = dir.File("w.wav");
    EXPECT_EQ(Output("soxi -r '" + path + "'") + " " + Output("soxi -c '" + path + "'") + " " +
                  Output("soxi -s '" + path + "'"),
              "32000 2 4000");
    EXPECT_EQ(SoxSamples(path), audio);
    // "fmt ", "vElO", "data" and the sampler chunk with its one loop.
    EXPECT_EQ(FileBytes(path).size(), 12u + 24 + 64 + 8 + 16000 + 8 + 36 + 24);

    CSampleDoc read;
    ASSERT_TRUE(read.OnOpenDocument(path));
    EXPECT_EQ(Audio(read), audio);
    EXPECT_EQ(PointsOf(read), (Points{4000, 200, 3000, 500, 1000, 0, 4000}));
    EXPECT_EQ(read.m_dPitch, doc.m_dPitch);
    EXPECT_TRUE(read.m_bCompensate);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleWav, AudioLongerThanOneBlockMovesWholeAndReportsProgressToTheEnd) {
    // 20 MB of stereo: several blocks each way, the last one short.
    constexpr std::uint32_t kFrames = 5'000'001;
    auto data = std::make_unique<std::int16_t[]>(2 * std::size_t{kFrames});
    for (std::size_t i = 0; i < 2 * std::size_t{kFrames}; ++i)
        data[i] = static_cast<std::int16_t>(i * 7919);
    doc.m_bStereo = true;
    doc.SetData(std::move(data), kFrames, 44100);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("long.wav")));
    EXPECT_EQ(ui.LastProgress(), 1.0);

    CSampleDoc read;
    ScriptedUi readUi;
    ScopedUi readScope(readUi);
    ASSERT_TRUE(read.OnOpenDocument(dir.File("long.wav")));
    EXPECT_EQ(read.m_nFrames, kFrames);
    EXPECT_EQ(Audio(read), Audio(doc));
    EXPECT_EQ(readUi.LastProgress(), 1.0);
    EXPECT_TRUE(readUi.Messages().empty());
}

TEST_F(SampleWav, AFailedSaveLeavesTheOldFileAndTheDocumentModified) {
    ASSERT_TRUE(doc.OnNewDocument());
    std::string path = dir.File("keep.wav");
    ASSERT_TRUE(doc.OnSaveDocument(path));
    std::string old = FileBytes(path);

    // Writes beyond 64 KB fail, as on a full disk.
    doc.SetData(std::make_unique<std::int16_t[]>(200000), 200000, 44100);
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 65536;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = doc.OnSaveDocument(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ui.Messages(),
              Strings{"Write error ascending from main RIFF chunk\n" + path + ": File too large"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary left";

    // A file that cannot take the old one's place (a directory stands there) or cannot be created.
    std::filesystem::create_directory(dir.File("d.wav"));
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("d.wav")));
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("no/such/dir.wav")));
    EXPECT_EQ(ui.Messages(),
              (Strings{"Write error ascending from main RIFF chunk\n" + path + ": File too large",
                       "Error opening output file\n" + dir.File("d.wav") + ": Is a directory",
                       "Error opening output file\n" + dir.File("no/such/dir.wav") +
                           ": No such file or directory"}));

    // Without a path it asks for one; Cancel writes nothing.
    ui.QueueDialog<std::string>(std::nullopt);
    EXPECT_FALSE(doc.WriteWav(""));
    ui.QueueDialog<std::string>(dir.File("chosen.wav"));
    EXPECT_TRUE(doc.WriteWav(""));
    EXPECT_TRUE(std::filesystem::exists(dir.File("chosen.wav")));
}

TEST_F(SampleWav, APitchThatIsNoFrequencyIsTakenAsNoneWithAWarningNamingTheFile) {
    WavBuilder::Info info;
    info.pitch = std::numeric_limits<double>::quiet_NaN();
    ASSERT_TRUE(Open(WavBuilder().Fmt().Velo(info).Data({1, 2, 3})));
    EXPECT_EQ(doc.m_dPitch, 0.0);
    info.pitch = -440;
    CSampleDoc cached;
    WavBuilder().Fmt().Velo(info).Data({1, 2, 3}).WriteTo(dir.File("n.wav"));
    ASSERT_TRUE(cached.LoadSample(dir.File("n.wav")));
    EXPECT_EQ(cached.m_dPitch, 0.0);
    EXPECT_EQ(ui.Messages(),
              (Strings{"Warning: " + dir.File("t.wav") +
                           " holds a pitch that is not a frequency; it is taken as no pitch",
                       "Warning: " + dir.File("n.wav") +
                           " holds a pitch that is not a frequency; it is taken as no pitch"}));
}

TEST_F(SampleWav, WhatIsNotARegularFileIsRefusedWithoutWaitingOnIt) {
    // A FIFO blocks whoever opens it until a writer comes: the alarm ends the test if that happens.
    ASSERT_EQ(::mkfifo(dir.File("pipe.wav").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("pipe.sam").c_str(), 0600), 0);
    ::alarm(20);
    EXPECT_EQ(Refusal(dir.File("pipe.wav")),
              Strings{"Error opening file\n" + dir.File("pipe.wav") + " is not a regular file."});
    EXPECT_EQ(Refusal(dir.File("pipe.sam")), Strings{dir.File("pipe.sam") + " is not a regular file."});
    CSampleDoc cached;
    EXPECT_FALSE(cached.LoadSample(dir.File("pipe.sam")));
    ::alarm(0);
}
