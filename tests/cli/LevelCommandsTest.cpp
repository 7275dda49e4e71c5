#include "CliRunner.h"
#include "platform/ScriptedUi.h"
#include "sample/SampleDoc.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {
using Samples = std::vector<std::int16_t>;

class LevelCommands : public ::testing::Test {
protected:
    // Three stereo frames with a loop over frame 1, or the mono file with its own audio.
    void SetUp() override {
        WavBuilder()
            .Fmt(2)
            .Velo({0, 0, 440.0, 1, 1, 0, 0, 0})
            .Data({100, -200, 16000, 300, -8, 8})
            .WriteTo(stereo);
        WavBuilder().Fmt(1).Data({1000, -1000, 30, 7}).WriteTo(mono);
    }
    CliResult Run(const std::string& line) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word == "STEREO" ? stereo : word == "MONO" ? mono : word == "OUT" ? out : word);
        return RunWloeCli(args);
    }
    // The audio of a written file, and whether it is stereo.
    std::pair<Samples, bool> Audio(const std::string& path) {
        ScriptedUi ui;
        ScopedUi scope(ui);
        CSampleDoc doc;
        EXPECT_TRUE(doc.ReadWav(path)) << path;
        if (!doc.m_pData)
            return {};
        return {Samples(doc.m_pData.get(), doc.m_pData.get() + doc.SampleCount()), doc.m_bStereo};
    }
    void ExpectRefused(const std::string& line, const std::string& err) {
        CliResult result = Run(line);
        EXPECT_EQ(result.exitCode, 1) << line;
        EXPECT_EQ(result.err, err) << line;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }

    TempDir dir;
    std::string stereo = dir.File("stereo.wav");
    std::string mono = dir.File("mono.wav");
    std::string out = dir.File("out.wav");
};

TEST_F(LevelCommands, GainRampsTheWholeSampleOrTheGivenRange) {
    ASSERT_EQ(Run("edit MONO -o OUT gain 6 6 0 0").exitCode, 0);
    EXPECT_EQ(Audio(out).first, (Samples{2000, -2000, 60, 14}));
    ASSERT_EQ(Run("edit MONO -o OUT gain -6 -6 0 0 2 2 normalize").exitCode, 0) << "a range, then more";
    // Frames 2 and 3 halved to 15 and 3, then the peak of 1000 brought to 32256.
    EXPECT_EQ(Audio(out).first, (Samples{32256, -32256, 483, 96}));
    ASSERT_EQ(Run("edit STEREO -o OUT gain 0 0 6 6 1 1").exitCode, 0);
    EXPECT_EQ(Audio(out).first, (Samples{100, -200, 16000, 600, -8, 8}));
}

TEST_F(LevelCommands, AGainRangeBeyondTheSampleIsRefused) {
    ExpectRefused("edit MONO -o OUT gain 6 6 0 0 3 2",
                  "The marked range lies beyond the end of the sample\n");
    EXPECT_EQ(Run("edit MONO -o OUT gain 6 6 0 0 3").exitCode, 2) << "START without LENGTH";
    EXPECT_EQ(Run("edit MONO -o OUT gain 6 6 0").exitCode, 2);
    EXPECT_EQ(Run("edit MONO -o OUT gain 6 6 0 x").exitCode, 2);
}

TEST_F(LevelCommands, ChannelOperationsChainAndRefuseMonoSamples) {
    ASSERT_EQ(Run("edit STEREO -o OUT swap remix 0 0 -96 0 mono -96 0").exitCode, 0);
    // Swapped, left made left + right, then only the right kept.
    EXPECT_EQ(Audio(out), std::pair(Samples{100, 16000, -8}, false));
    std::filesystem::remove(out);
    for (const char* operation : {"normalize-lr", "swap", "mono -6 -6"})
        ExpectRefused("edit MONO -o OUT " + std::string(operation), "This function is for stereo samples\n");
    ASSERT_EQ(Run("edit MONO -o OUT remix 0 0 0 0").exitCode, 0) << "a mono sample is left as it is";
    EXPECT_EQ(Audio(out).first, (Samples{1000, -1000, 30, 7}));
}

TEST_F(LevelCommands, ClippingWarnsWithoutFailingAndLevelsOutsideTheRangeAreRefused) {
    // Four times the left plus the right: 64300 in frame 1 clips.
    CliResult clipped = Run("edit STEREO -o OUT remix 12 0 -96 0");
    EXPECT_EQ(clipped.exitCode, 0);
    EXPECT_EQ(clipped.err, "Warning: clipping was detected\n");
    EXPECT_EQ(Audio(out).first, (Samples{200, -200, 64300 - 65536, 300, -24, 8}));
    std::filesystem::remove(out);
    ExpectRefused("edit STEREO -o OUT remix 0 -97 -96 0", "Please enter an integer between -96 and 96.\n");
    EXPECT_EQ(Run("edit STEREO -o OUT remix 0 0 0").exitCode, 2);
}

TEST_F(LevelCommands, CrossfadeChecksTheLoopTheRangesAndTheRadius) {
    ExpectRefused("edit MONO -o OUT crossfade 10 0", "No loop has been set\n");
    ExpectRefused("edit STEREO -o OUT crossfade 10 0", "The crossfade radius cannot exceed the loop size.\n");
    ExpectRefused("edit STEREO -o OUT crossfade 0 0", "Please enter an integer between 1 and 10000.\n");
    ExpectRefused("edit STEREO -o OUT crossfade 10 -1", "Please enter a positive integer.\n");
    ExpectRefused("edit STEREO -o OUT crossfade 10 101", "Please enter an integer between 0 and 100.\n");
    ExpectRefused("edit STEREO -o OUT crossfade 10 500", "Please enter an integer between 0 and 100.\n");

    // 1 msec is 44 frames: a loop of 44 frames after 44 frames of ramp.
    std::string longer = dir.File("longer.wav");
    WavBuilder().Fmt(1).Velo({0, 0, 440.0, 44, 44, 0, 0, 0}).Data(WavBuilder::Ramp(100)).WriteTo(longer);
    CliResult result = RunWloeCli({"edit", longer, "-o", out, "crossfade", "1", "0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    Samples before = WavBuilder::Ramp(100);
    Samples after = Audio(out).first;
    EXPECT_EQ(after[44], before[44]) << "the first faded frame keeps its value";
    EXPECT_EQ(after[88], before[44]) << "the frame after the loop end starts as the loop start";
    EXPECT_NE(after, before);
}
} // namespace
