#include "CliRunner.h"
#include "platform/ScriptedUi.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
// The document as a file holds it: frames, rate, start, length, loop start, loop length, pitch, audio.
using Sample = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                          std::uint32_t, double, std::vector<std::int16_t>>;

Sample Read(const std::string& path) {
    ScriptedUi ui;
    ScopedUi scope(ui);
    CSampleDoc doc;
    EXPECT_TRUE(doc.ReadWav(path)) << path;
    return {doc.m_nFrames,    doc.m_nRate,
            doc.m_nStart,     doc.m_nLength,
            doc.m_nLoopStart, doc.m_nLoopLength,
            doc.m_dPitch,     {doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()}};
}

class ResampleCommands : public ::testing::Test {
protected:
    // 1000 stereo frames at 22050 Hz, pitch C 4, sample 10..910, loop 100..600.
    void SetUp() override {
        WavBuilder()
            .Fmt(2, 22050)
            .Velo({10, 900, 261.62556530059862, 100, 500})
            .Data(WavBuilder::Ramp(2000))
            .WriteTo(in);
        original = FileBytes(in);
    }

    CliResult Edit(std::vector<std::string> operations, bool toOut = true) {
        std::vector<std::string> args{"edit", in};
        if (toOut)
            args.insert(args.end(), {"-o", out});
        args.insert(args.end(), operations.begin(), operations.end());
        return RunWloeCli(args);
    }

    // What the document operation itself makes of the input.
    Sample ResampledDirectly(const ResampleValues& values) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        BuildSincTable();
        CSampleDoc doc;
        std::string path = dir.File("direct.wav");
        EXPECT_TRUE(doc.ReadWav(in) && doc.Resample(values) && doc.WriteWav(path));
        return Read(path);
    }

    TempDir dir;
    std::string in = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(ResampleCommands, ResampleRunsTheDocumentOperationWithTheMethodNamed) {
    const std::pair<const char*, ResampleMethod> methods[] = {{"linear", ResampleMethod::Linear},
                                                              {"bandlimited", ResampleMethod::Bandlimited},
                                                              {"drophold", ResampleMethod::DropHold}};
    for (auto [name, method] : methods) {
        CliResult result = Edit({"resample", "rate", "44100", name});
        ASSERT_EQ(std::tie(result.exitCode, result.err), std::tuple(0, "")) << name;
        Sample resampled = Read(out);
        EXPECT_EQ(std::tuple(std::get<0>(resampled), std::get<1>(resampled), std::get<2>(resampled),
                             std::get<3>(resampled), std::get<4>(resampled), std::get<5>(resampled)),
                  std::tuple(2000u, 44100u, 20u, 1800u, 200u, 1000u));
        EXPECT_EQ(resampled, ResampledDirectly({ResampleMode::Rate, 44100, "", method})) << name;
    }
    CliResult result = Edit({"resample", "pitch", "C 5", "drophold"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sample octave = Read(out);
    EXPECT_EQ(std::pair(std::get<1>(octave), CSampleDoc::PitchText(std::get<6>(octave))),
              std::pair(22050u, std::string("C 5 +0.00")));
    EXPECT_EQ(octave, ResampledDirectly({ResampleMode::Pitch, 22050, "C 5", ResampleMethod::DropHold}));
    EXPECT_EQ(FileBytes(in), original);
}

TEST_F(ResampleCommands, RateRelabelsWithoutTouchingTheAudio) {
    Sample expected = Read(in);
    std::get<1>(expected) = 44100;
    ASSERT_EQ(Edit({"rate", "44100"}).exitCode, 0);
    EXPECT_EQ(Read(out), expected);
    ASSERT_EQ(Edit({"resample", "rate", "44100", "linear", "rate", "22050"}).exitCode, 0);
    EXPECT_EQ(std::pair(std::get<0>(Read(out)), std::get<1>(Read(out))), std::pair(2000u, 22050u));
}

TEST_F(ResampleCommands, ValuesTheDialogsRefuseFailWithTheirMessagesAndWriteNothing) {
    const std::string range = "Please enter an integer between 4000 and 96000.\n";
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"rate", "3999"}, range},
        {{"rate", "96001"}, range},
        {{"rate", "fast"}, "Please enter a positive integer.\n"},
        {{"rate", "-44100"}, "Please enter a positive integer.\n"},
        {{"resample", "rate", "100000", "bandlimited"}, range},
        {{"resample", "pitch", "H 4", "linear"}, "Invalid pitch specification\n"},
        {{"clear-loop", "resample", "pitch", "A", "linear"}, "Invalid pitch specification\n"},
    };
    for (const auto& [operations, message] : refusals) {
        CliResult result = Edit(operations);
        EXPECT_EQ(std::tie(result.exitCode, result.err), std::tuple(1, message)) << operations[1];
        EXPECT_FALSE(std::filesystem::exists(out));
        EXPECT_EQ(Edit(operations, false).exitCode, 1);
        EXPECT_EQ(FileBytes(in), original);
    }
    for (const std::vector<std::string>& malformed :
         {std::vector<std::string>{"resample", "tempo", "2", "linear"},
          {"resample", "rate", "48000", "cubic"},
          {"resample", "rate", "48000"},
          {"rate"}}) {
        CliResult result = Edit(malformed);
        EXPECT_EQ(result.exitCode, 2) << malformed.back();
        EXPECT_NE(result.err, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}
