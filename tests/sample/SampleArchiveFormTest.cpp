#include "platform/ScriptedUi.h"
#include "sample/PitchNames.h"
#include "sample/SampleDoc.h"
#include "support/DocAudio.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {
using Strings = std::vector<std::string>;

std::vector<std::uint32_t> PointsOf(const CSampleDoc& doc) {
    return {doc.m_nFrames, doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength};
}

class SampleArchiveForm : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST_F(SampleArchiveForm, StoresStereoInTheFrameCountAndKeepsTheSelection) {
    auto audio = WavBuilder::Ramp(2000);
    doc.SetData(std::make_unique<std::int16_t[]>(2000), 1000, 48000);
    std::copy(audio.begin(), audio.end(), doc.m_pData.get());
    doc.m_bStereo = true;
    doc.SetLoopRange(100, 200);
    doc.SetSampleRange(50, 700);
    doc.SetSelection(30, 40);
    doc.m_dPitch = 123.25;
    doc.m_dLoopPitch = 124.5;
    doc.m_bCompensate = true;
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("s.sam")));

    std::string bytes = FileBytes(dir.File("s.sam"));
    EXPECT_EQ(bytes.size(), 12u + 4000 + 4 + 16 + 16);
    EXPECT_EQ(bytes.substr(0, 12), std::string("\xE8\x03\x00\x80"
                                               "2\0\0\0"
                                               "\xBC\x02\0\0",
                                               12));

    CSampleDoc read;
    ASSERT_TRUE(read.OnOpenDocument(dir.File("s.sam")));
    EXPECT_TRUE(read.m_bStereo);
    EXPECT_EQ(PointsOf(read), PointsOf(doc));
    EXPECT_EQ(Audio(read), audio);
    EXPECT_EQ(std::tuple(read.m_nRate, read.m_dPitch, read.m_dLoopPitch, read.m_nSelStart, read.m_nSelLength),
              std::tuple(48000u, 123.25, 124.5, 30u, 40u));
    EXPECT_FALSE(read.m_bCompensate) << "not part of this form";
}

TEST_F(SampleArchiveForm, WavToSamToWavKeepsEveryPoint) {
    WavBuilder().Fmt(2).Velo({5, 60, 330.5, 10, 40}).Data(WavBuilder::Ramp(200)).WriteTo(dir.File("a.wav"));
    CSampleDoc wav, sam, back;
    ASSERT_TRUE(wav.OnOpenDocument(dir.File("a.wav")));
    ASSERT_TRUE(wav.OnSaveDocument(dir.File("b.SAM")));
    ASSERT_TRUE(sam.OnOpenDocument(dir.File("b.SAM")));
    ASSERT_TRUE(sam.OnSaveDocument(dir.File("c.Wav")));
    ASSERT_TRUE(back.OnOpenDocument(dir.File("c.Wav")));
    EXPECT_EQ(PointsOf(back), (std::vector<std::uint32_t>{100, 5, 60, 10, 40}));
    EXPECT_EQ(back.m_dPitch, 330.5);
    EXPECT_EQ(Audio(back), WavBuilder::Ramp(200));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleArchiveForm, DamagedFilesAreRefusedWhateverTheyClaim) {
    doc.SetData(std::make_unique<std::int16_t[]>(3), 3, 8000);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("whole.sam")));
    std::string whole = FileBytes(dir.File("whole.sam"));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        std::ofstream(dir.File("cut.sam"), std::ios::binary) << whole.substr(0, size);
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        CSampleDoc cut;
        EXPECT_FALSE(cut.OnOpenDocument(dir.File("cut.sam"))) << size;
        EXPECT_FALSE(cut.LoadSample(dir.File("cut.sam"))) << size;
        EXPECT_EQ(cut.m_pData, nullptr);
        EXPECT_EQ(caseUi.Messages(), Strings{"Unexpected file format."})
            << "LoadSample is silent at an end of data";
    }
    // Two billion stereo frames promised by a 16-byte file: refused before allocating.
    std::ofstream(dir.File("huge.sam"), std::ios::binary)
        << std::string("\xFF\xFF\xFF\xFF", 4) + std::string(12, 0);
    EXPECT_FALSE(doc.LoadSample(dir.File("huge.sam")));
    EXPECT_EQ(doc.m_nFrames, 0u);
}

TEST_F(SampleArchiveForm, LoadSampleReadsEitherFormAndSaysWhyItCannot) {
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("n.sam")));
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("n.wav")));
    CSampleDoc loaded;
    EXPECT_TRUE(loaded.LoadSample(dir.File("n.sam")));
    EXPECT_TRUE(loaded.LoadSample(dir.File("n.wav")));
    EXPECT_EQ(loaded.m_nFrames, 1000u);
    EXPECT_EQ(ui.Beeps(), 0);
    EXPECT_FALSE(loaded.LoadSample(dir.File("gone.sam")));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_FALSE(loaded.LoadSample(dir.File("gone.wav")));
    EXPECT_EQ(ui.Messages(),
              (Strings{"Loading sample document: can't open file " + dir.File("gone.sam"),
                       "Error opening file\n" + dir.File("gone.wav") + ": No such file or directory"}));
}

TEST_F(SampleArchiveForm, APitchThatIsNoFrequencyIsTakenAsNoneAndARateOfZeroRefusesTheFile) {
    ASSERT_TRUE(doc.OnNewDocument());
    for (double pitch : {std::nan(""), -std::numeric_limits<double>::infinity(), -5.0}) {
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        doc.m_dPitch = pitch;
        doc.m_dLoopPitch = std::numeric_limits<double>::infinity();
        ASSERT_TRUE(doc.OnSaveDocument(dir.File("p.sam")));
        CSampleDoc loaded;
        ASSERT_TRUE(loaded.OnOpenDocument(dir.File("p.sam")));
        EXPECT_EQ(std::tuple(loaded.m_dPitch, loaded.m_dLoopPitch), std::tuple(0.0, 0.0));
        EXPECT_EQ(PitchText(loaded.m_dPitch), "") << "no pitch";
        CSampleDoc cached;
        ASSERT_TRUE(cached.LoadSample(dir.File("p.sam")));
        EXPECT_EQ(cached.m_dPitch, 0.0);
        EXPECT_EQ(caseUi.Messages(),
                  Strings(2, "Warning: " + dir.File("p.sam") +
                                 " holds a pitch that is not a frequency; it is taken as no pitch"));
    }

    // A rate of 0 is never written, never taken from a file, never given to a document.
    doc.m_dPitch = 440;
    doc.m_nRate = 0;
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("r.sam")));
    EXPECT_FALSE(doc.OnSaveDocument(dir.File("r.wav")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("r.sam")) || std::filesystem::exists(dir.File("r.wav")));
    EXPECT_EQ(ui.Messages(), Strings(2, CSampleDoc::kNoRateMessage));
    EXPECT_THROW(doc.SetData(std::make_unique<std::int16_t[]>(4), 4, 0), std::invalid_argument);
    // A file some other tool wrote with rate 0 (the rate sits after the audio).
    doc.m_nRate = 1;
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("z.sam")));
    std::string bytes = FileBytes(dir.File("z.sam"));
    std::size_t rateAt = 12 + 2 * doc.SampleCount();
    ASSERT_EQ(bytes.substr(rateAt, 4), std::string("\x01\0\0\0", 4));
    bytes[rateAt] = 0;
    std::ofstream(dir.File("z.sam"), std::ios::binary) << bytes;
    ScriptedUi caseUi;
    ScopedUi caseScope(caseUi);
    CSampleDoc loaded;
    EXPECT_FALSE(loaded.OnOpenDocument(dir.File("z.sam")));
    EXPECT_FALSE(loaded.LoadSample(dir.File("z.sam")));
    EXPECT_EQ(caseUi.Messages(), Strings(2, "Bad sample file: the sampling rate is 0"));
}
