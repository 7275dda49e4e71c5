#include "sample/AudioFileImport.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "sample/TpdfDither.h"
#include "support/DocAudio.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

namespace {
using Strings = std::vector<std::string>;

// The source's samples at 32-bit resolution, as sox reads them, in units of 16-bit steps.
std::vector<double> SourceLevels(const std::string& path) {
    std::string raw =
        Output("sox '" + path + "' -t raw -e signed-integer -b 32 -L - | od -An -v -td4 --endian=little");
    std::vector<double> levels;
    for (const char* p = raw.c_str(); *p;) {
        char* end = nullptr;
        long long value = std::strtoll(p, &end, 10);
        if (end == p)
            break;
        levels.push_back(static_cast<double>(value) / 65536.0);
        p = end;
    }
    return levels;
}

class AudioFileImport : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedUi ui;
    ScopedUi scope{ui};
    CSampleDoc doc;
};
} // namespace

TEST(TpdfDither, RoundsWithinOneStepAroundTheValueAndRepeatsItself) {
    CTpdfDither dither;
    CTpdfDither again;
    double sum = 0;
    int changed = 0;
    for (int i = 0; i < 20000; ++i) {
        double value = 1000.3 / 32768.0;
        std::int16_t sample = dither.Quantize(value);
        EXPECT_EQ(sample, again.Quantize(value));
        EXPECT_GE(sample, 999);
        EXPECT_LE(sample, 1002);
        changed += sample != 1000;
        sum += sample;
    }
    // Unbiased on average, and really dithered: a plain rounding would give 1000 every time.
    EXPECT_NEAR(sum / 20000, 1000.3, 0.02);
    EXPECT_GT(changed, 5000);
    // Beyond full scale it holds at the ends rather than wrapping.
    EXPECT_EQ(dither.Quantize(1.5), 32767);
    EXPECT_EQ(dither.Quantize(-1.5), -32768);
    EXPECT_EQ(dither.Quantize(std::nan("")), 0);
}

TEST_F(AudioFileImport, DeepAndFloatSourcesArriveWithinDitherOfTheirLevels) {
    SKIP_WITHOUT_SOX();
    for (std::string soxArgs : {"-b 24 -c 2 s24.wav", "-e floating-point -b 32 -c 1 f32.wav",
                                "-b 24 -c 1 s24.flac", "-b 24 -c 2 s24.aiff", "-b 32 -c 1 s32.wav"}) {
        std::string name = soxArgs.substr(soxArgs.rfind(' ') + 1);
        std::string path = dir.File(name);
        ASSERT_TRUE(Sox("-n -r 22050 " + soxArgs.substr(0, soxArgs.rfind(' ')) + " '" + path +
                        "' synth 0.2 sine 300 sine 500 gain -1"))
            << soxArgs;
        ASSERT_TRUE(ImportAudioFile(doc, path)) << soxArgs;
        std::vector<double> source = SourceLevels(path);
        ASSERT_EQ(source.size(), doc.SampleCount()) << soxArgs;
        EXPECT_EQ(doc.m_nRate, 22050u);
        EXPECT_EQ(doc.m_bStereo, soxArgs.find("-c 2") != std::string::npos);
        double worst = 0;
        int dithered = 0;
        for (std::size_t i = 0; i < source.size(); ++i) {
            worst = std::max(worst, std::abs(doc.m_pData[i] - source[i]));
            dithered += doc.m_pData[i] != std::lround(source[i]);
        }
        EXPECT_LT(worst, 1.5) << soxArgs;
        // What describes the source's encoding stays behind.
        EXPECT_FALSE(doc.m_wavChunks.Find(0x74636166 /* "fact" */)) << soxArgs;
        EXPECT_GT(dithered, 0) << soxArgs;
        // The same file gives the same samples every time.
        std::vector<std::int16_t> first = Audio(doc);
        ASSERT_TRUE(ImportAudioFile(doc, path));
        EXPECT_EQ(Audio(doc), first) << soxArgs;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AudioFileImport, SixteenAndEightBitSourcesArriveExactlyAsAnUntitledModifiedSample) {
    SKIP_WITHOUT_SOX();
    for (std::string soxArgs : {"-b 16 -c 2 a.aiff", "-b 16 -c 1 a.flac", "-b 8 -c 1 -e unsigned u8.wav"}) {
        std::string path = dir.File(soxArgs.substr(soxArgs.rfind(' ') + 1));
        ASSERT_TRUE(Sox("-n -r 8000 " + soxArgs.substr(0, soxArgs.rfind(' ')) + " '" + path +
                        "' synth 0.1 sine 300"));
        ASSERT_TRUE(ImportAudioFile(doc, path)) << soxArgs;
        EXPECT_EQ(Audio(doc), SoxSamples(path)) << soxArgs;
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(doc.GetPathName().empty());
        EXPECT_EQ(doc.m_nLength, doc.m_nFrames);
        EXPECT_EQ(doc.m_nLoopLength, 0u);
        EXPECT_EQ(doc.m_dPitch, 440.0);
    }
}

TEST_F(AudioFileImport, TheSourcesLoopAndRootKeyComeAlong) {
    // A 24-bit WAV whose sampler chunk libsndfile itself writes.
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    std::string path = dir.File("looped.wav");
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_TRUE(file);
    SF_INSTRUMENT instrument{};
    instrument.basenote = 57;
    instrument.loop_count = 2;
    instrument.loops[0] = {SF_LOOP_BACKWARD, 10, 20, 0};
    instrument.loops[1] = {SF_LOOP_FORWARD, 1000, 3000, 0};
    ASSERT_EQ(sf_command(file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument), SF_TRUE);
    std::vector<int> samples(5000, 1 << 20);
    ASSERT_EQ(sf_write_int(file, samples.data(), 5000), 5000);
    sf_close(file);

    ASSERT_TRUE(ImportAudioFile(doc, path));
    EXPECT_EQ(doc.m_nLoopStart, 1000u);
    EXPECT_EQ(doc.m_nLoopLength, 2000u);
    EXPECT_NEAR(doc.m_dPitch, 220.0, 1e-9);
    // The WAVE file's chunks of other programs come along, its sampler chunk among them.
    ASSERT_EQ(doc.m_wavChunks.chunks.size(), 1u);
    EXPECT_EQ(doc.m_wavChunks.chunks[0].id, 0x6C706D73u); // "smpl"
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(AudioFileImport, OurSamplerChunkIsReadByLibsndfileWithTheSameLoopAndRootKey) {
    WavBuilder().Fmt(1, 32000).Data(WavBuilder::Ramp(2000)).WriteTo(dir.File("in.wav"));
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("in.wav")));
    doc.SetLoopRange(300, 1200);
    doc.SetPitch(261.6255653 * std::pow(2.0, 0.25 / 12)); // C 4 and 25 cents
    ASSERT_TRUE(doc.OnSaveDocument(dir.File("out.wav")));

    SF_INFO info{};
    SNDFILE* file = sf_open(dir.File("out.wav").c_str(), SFM_READ, &info);
    ASSERT_TRUE(file);
    SF_INSTRUMENT instrument{};
    ASSERT_EQ(sf_command(file, SFC_GET_INSTRUMENT, &instrument, sizeof instrument), SF_TRUE);
    sf_close(file);
    EXPECT_EQ(instrument.basenote, 60);
    EXPECT_EQ(instrument.detune, 25);
    ASSERT_EQ(instrument.loop_count, 1);
    EXPECT_EQ(instrument.loops[0].mode, SF_LOOP_FORWARD);
    EXPECT_EQ(instrument.loops[0].start, 300u);
    EXPECT_EQ(instrument.loops[0].end, 1500u) << "libsndfile's end is one past the last frame";

    // And back through the importer, the loop is the one we wrote.
    CSampleDoc back;
    ASSERT_TRUE(ImportAudioFile(back, dir.File("out.wav")));
    EXPECT_EQ(back.m_nLoopStart, 300u);
    EXPECT_EQ(back.m_nLoopLength, 1200u);
}

TEST_F(AudioFileImport, WhatCannotBeImportedIsRefusedNamingWhyAndTheDocumentStays) {
    SKIP_WITHOUT_SOX();
    WavBuilder().Fmt().Data(WavBuilder::Ramp(10)).WriteTo(dir.File("kept.wav"));
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("kept.wav")));
    std::string three = dir.File("three.flac");
    ASSERT_TRUE(Sox("-n -r 8000 -b 16 -c 3 '" + three + "' synth 0.1 sine 300"));
    EXPECT_FALSE(ImportAudioFile(doc, three));
    std::ofstream(dir.File("text.ogg")) << "not audio at all";
    EXPECT_FALSE(ImportAudioFile(doc, dir.File("text.ogg")));
    Strings messages = ui.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              "Can't import " + three + ": it has 3 channels; only mono and stereo samples can be imported");
    EXPECT_TRUE(messages[1].starts_with("Can't import " + dir.File("text.ogg") + ": ")) << messages[1];
    EXPECT_EQ(Audio(doc), WavBuilder::Ramp(10));
}

TEST_F(AudioFileImport, ExportWritesTheAudioExactlyInTheFormTheExtensionNames) {
    SKIP_WITHOUT_SOX();
    WavBuilder().Fmt(2, 44100).Data(WavBuilder::Ramp(2 * 3000)).WriteTo(dir.File("in.wav"));
    ASSERT_TRUE(doc.OnOpenDocument(dir.File("in.wav")));
    for (std::string name : {"out.flac", "out.aiff", "OUT.AIF"}) {
        ASSERT_TRUE(IsAudioExportPath(name));
        ASSERT_TRUE(ExportAudioFile(doc, dir.File(name))) << name;
        EXPECT_EQ(SoxSamples(dir.File(name)), WavBuilder::Ramp(2 * 3000)) << name;
        EXPECT_EQ(Output("soxi -c '" + dir.File(name) + "'"), "2");
    }
    EXPECT_FALSE(IsAudioExportPath("out.wav"));
    // Nothing is left behind where the target could not be written.
    EXPECT_FALSE(ExportAudioFile(doc, dir.File("missing/out.flac")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}
