#include "CliRunner.h"
#include "platform/ScriptedUi.h"
#include "sample/Resample.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
class ResampleCommands : public ::testing::Test {
protected:
    // 1000 stereo frames at 22050 Hz, pitch C 4, sample 10..910, loop 100..600.
    void SetUp() override {
        WavBuilder()
            .Fmt(2, 22050)
            .Velo({10, 900, 261.62556530059862, 100, 500, 0, 0, 0})
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

    // The document as a file holds it.
    struct Sample {
        std::uint32_t frames, rate, start, length, loopStart, loopLength;
        double pitch;
        std::vector<std::int16_t> audio;
        bool operator==(const Sample&) const = default;
    };
    static Sample Read(const std::string& path) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CSampleDoc doc;
        EXPECT_TRUE(doc.ReadWav(path)) << path;
        return {doc.m_nFrames,
                doc.m_nRate,
                doc.m_nStart,
                doc.m_nLength,
                doc.m_nLoopStart,
                doc.m_nLoopLength,
                doc.m_dPitch,
                std::vector<std::int16_t>(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount())};
    }
    // What the document operation itself makes of the input.
    Sample ResampledDirectly(const ResampleValues& values) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        BuildSincTable();
        CSampleDoc doc;
        EXPECT_TRUE(doc.ReadWav(in));
        EXPECT_TRUE(doc.Resample(values));
        std::string path = dir.File("direct.wav");
        EXPECT_TRUE(doc.WriteWav(path));
        return Read(path);
    }

    TempDir dir;
    std::string in = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(ResampleCommands, ResampleToARateRunsTheDocumentOperationWithEachMethod) {
    const std::pair<const char*, ResampleMethod> methods[] = {{"linear", ResampleMethod::Linear},
                                                              {"bandlimited", ResampleMethod::Bandlimited},
                                                              {"drophold", ResampleMethod::DropHold}};
    for (auto [name, method] : methods) {
        CliResult result = Edit({"resample", "rate", "44100", name});
        ASSERT_EQ(result.exitCode, 0) << name << result.err;
        EXPECT_EQ(result.err, "");
        Sample resampled = Read(out);
        EXPECT_EQ(std::tuple(resampled.frames, resampled.rate, resampled.start, resampled.length,
                             resampled.loopStart, resampled.loopLength),
                  std::tuple(2000u, 44100u, 20u, 1800u, 200u, 1000u));
        EXPECT_EQ(resampled, ResampledDirectly({ResampleMode::Rate, 44100, "C 4 +0.00", method})) << name;
    }
    EXPECT_EQ(FileBytes(in), original);
}

TEST_F(ResampleCommands, ResampleToAPitchKeepsTheRate) {
    CliResult result = Edit({"resample", "pitch", "C 5", "drophold"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sample resampled = Read(out);
    EXPECT_EQ(resampled.rate, 22050u);
    EXPECT_EQ(CSampleDoc::PitchText(resampled.pitch), "C 5 +0.00");
    EXPECT_NEAR(resampled.frames, 500, 1);
    EXPECT_EQ(resampled, ResampledDirectly({ResampleMode::Pitch, 22050, "C 5", ResampleMethod::DropHold}));
}

TEST_F(ResampleCommands, RateRelabelsWithoutTouchingTheAudio) {
    Sample before = Read(in);
    CliResult result = Edit({"rate", "44100"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Sample after = Read(out);
    EXPECT_EQ(after.rate, 44100u);
    after.rate = before.rate;
    EXPECT_EQ(after, before);

    ASSERT_EQ(Edit({"resample", "rate", "44100", "linear", "rate", "22050"}).exitCode, 0);
    EXPECT_EQ(std::pair(Read(out).frames, Read(out).rate), std::pair(2000u, 22050u));
}

TEST_F(ResampleCommands, ValuesTheDialogsRefuseFailWithTheirMessages) {
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"rate", "3999"}, "Please enter an integer between 4000 and 96000.\n"},
        {{"rate", "96001"}, "Please enter an integer between 4000 and 96000.\n"},
        {{"rate", "fast"}, "Please enter a positive integer.\n"},
        {{"rate", "-44100"}, "Please enter a positive integer.\n"},
        {{"resample", "rate", "100000", "bandlimited"}, "Please enter an integer between 4000 and 96000.\n"},
        {{"resample", "pitch", "H 4", "linear"}, "Invalid pitch specification\n"},
        {{"clear-loop", "resample", "pitch", "A", "linear"}, "Invalid pitch specification\n"},
    };
    for (const auto& [operations, message] : refusals) {
        CliResult result = Edit(operations);
        EXPECT_EQ(std::tie(result.exitCode, result.err), std::tuple(1, message)) << operations[1];
        EXPECT_FALSE(std::filesystem::exists(out)) << "a refused command writes nothing";
        result = Edit(operations, false);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(FileBytes(in), original);
    }
}

TEST_F(ResampleCommands, MalformedOperationsAreUsageErrors) {
    for (const std::vector<std::string>& operations :
         {std::vector<std::string>{"resample", "tempo", "2", "linear"},
          std::vector<std::string>{"resample", "rate", "48000", "cubic"},
          std::vector<std::string>{"resample", "rate", "48000"}, std::vector<std::string>{"rate"}}) {
        CliResult result = Edit(operations);
        EXPECT_EQ(result.exitCode, 2) << operations.back();
        EXPECT_NE(result.err, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}
