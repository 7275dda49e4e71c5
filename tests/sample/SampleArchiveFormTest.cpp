#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {
using Strings = std::vector<std::string>;

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint32_t> Points(const CSampleDoc& doc) {
    return {doc.m_nFrames, doc.m_nStart, doc.m_nLength, doc.m_nLoopStart, doc.m_nLoopLength};
}

class SampleArchiveForm : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
};
} // namespace

TEST_F(SampleArchiveForm, StoresStereoInTheFrameCountAndKeepsTheSelection) {
    CSampleDoc doc;
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

    std::vector<std::uint8_t> bytes = FileBytes(dir.File("s.sam"));
    ASSERT_EQ(bytes.size(), 12u + 4000 + 4 + 16 + 16);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 12),
              (std::vector<std::uint8_t>{0xE8, 0x03, 0x00, 0x80, 50, 0, 0, 0, 0xBC, 0x02, 0, 0}));

    CSampleDoc read;
    ASSERT_TRUE(read.OnOpenDocument(dir.File("s.sam")));
    EXPECT_TRUE(read.m_bStereo);
    EXPECT_EQ(Points(read), Points(doc));
    EXPECT_EQ(std::vector<std::int16_t>(read.m_pData.get(), read.m_pData.get() + 2000), audio);
    EXPECT_EQ(read.m_nRate, 48000u);
    EXPECT_EQ(read.m_dPitch, 123.25);
    EXPECT_EQ(read.m_dLoopPitch, 124.5);
    EXPECT_EQ(read.m_nSelStart, 30u);
    EXPECT_EQ(read.m_nSelLength, 40u);
    EXPECT_FALSE(read.m_bCompensate) << "not part of this form";
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleArchiveForm, WavToSamToWavKeepsEveryPoint) {
    WavBuilder().Fmt(2).Velo({5, 60, 330.5, 10, 40}).Data(WavBuilder::Ramp(200)).WriteTo(dir.File("a.wav"));
    CSampleDoc wav;
    ASSERT_TRUE(wav.OnOpenDocument(dir.File("a.wav")));
    ASSERT_TRUE(wav.OnSaveDocument(dir.File("b.SAM")));
    CSampleDoc sam;
    ASSERT_TRUE(sam.OnOpenDocument(dir.File("b.SAM")));
    ASSERT_TRUE(sam.OnSaveDocument(dir.File("c.Wav")));
    CSampleDoc back;
    ASSERT_TRUE(back.OnOpenDocument(dir.File("c.Wav")));
    EXPECT_EQ(Points(back), (std::vector<std::uint32_t>{100, 5, 60, 10, 40}));
    EXPECT_EQ(back.m_dPitch, 330.5);
    EXPECT_TRUE(back.m_bStereo);
    EXPECT_EQ(std::vector<std::int16_t>(back.m_pData.get(), back.m_pData.get() + 200), WavBuilder::Ramp(200));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SampleArchiveForm, DamagedFilesAreRefusedWhateverTheyClaim) {
    CSampleDoc doc;
    doc.SetData(std::make_unique<std::int16_t[]>(3), 3, 8000);
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("whole.sam")));
    std::vector<std::uint8_t> whole = FileBytes(dir.File("whole.sam"));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        WriteBytes(dir.File("cut.sam"), {whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
        ScriptedUi caseUi;
        ScopedUi caseScope(caseUi);
        CSampleDoc cut;
        EXPECT_FALSE(cut.OnOpenDocument(dir.File("cut.sam"))) << size;
        EXPECT_EQ(cut.m_pData, nullptr);
        EXPECT_FALSE(cut.LoadSample(dir.File("cut.sam"))) << size;
        EXPECT_EQ(caseUi.Messages(), Strings{"Unexpected file format."})
            << "LoadSample says nothing at its end";
    }

    // Two billion stereo frames promised by a 16-byte file: refused before allocating.
    WriteBytes(dir.File("huge.sam"), {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4});
    EXPECT_FALSE(doc.LoadSample(dir.File("huge.sam")));
    EXPECT_EQ(doc.m_nFrames, 0u);
}

TEST_F(SampleArchiveForm, LoadSampleReadsEitherFormAndSaysWhyItCannot) {
    CSampleDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("n.sam")));
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("n.wav")));
    CSampleDoc loaded;
    EXPECT_TRUE(loaded.LoadSample(dir.File("n.sam")));
    EXPECT_EQ(loaded.m_nFrames, 1000u);
    EXPECT_TRUE(loaded.LoadSample(dir.File("n.wav")));
    EXPECT_EQ(ui.Beeps(), 0);

    EXPECT_FALSE(loaded.LoadSample(dir.File("gone.sam")));
    EXPECT_EQ(ui.Beeps(), 1);
    EXPECT_FALSE(loaded.LoadSample(dir.File("gone.wav")));
    EXPECT_EQ(ui.Messages(), (Strings{"Loading sample document: can't open file " + dir.File("gone.sam"),
                                      "Error opening file"}));
}
