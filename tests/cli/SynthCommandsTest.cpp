#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace {
class SynthCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // 100 stereo frames of 100.
        WavBuilder().Fmt(2, 44100).Data(std::vector<std::int16_t>(200, 100)).WriteTo(in);
        original = FileBytes(in);
    }
    CliResult Edit(std::vector<std::string> words) {
        words.insert(words.begin(), {"edit", in, "-o", out});
        return RunWloeCli(words);
    }
    nlohmann::json Info() { return nlohmann::json::parse(RunWloeCli({"info", out}).out); }
    // The audio written, after the 44-byte header of a file without an information chunk.
    std::vector<std::int16_t> Samples() {
        std::string bytes = FileBytes(out);
        std::size_t data = bytes.find("data") + 8;
        std::vector<std::int16_t> samples((bytes.size() - data) / 2);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[data + 2 * i]) |
                                                   static_cast<std::uint8_t>(bytes[data + 2 * i + 1]) << 8);
        return samples;
    }

    TempDir dir;
    std::string in = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(SynthCommand, ReplaceWithTheDefaultCurve) {
    CliResult result = Edit({"synth", "replace", "1000", "ms", "note:A 4", "sine"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    nlohmann::json info = Info();
    EXPECT_EQ(info["frames"], 44100);
    EXPECT_EQ(info["stereo"], false);
    EXPECT_EQ(info["pitch"], 440.0);
    std::vector<std::int16_t> samples = Samples();
    ASSERT_EQ(samples.size(), 44100u);
    int peak = std::abs(*std::max_element(samples.begin(), samples.end()));
    // 0 dB minus 10: the factor 2^(-10/6) of full scale.
    EXPECT_NEAR(peak, 32767 * std::exp2(-10.0 / 6), 6);
}

TEST_F(SynthCommand, CyclesFrequencyFunctionsAndACurve) {
    ASSERT_EQ(
        Edit({"synth", "replace", "3", "cycles", "freq:441", "square", "0,0", "50,0", "51,-60"}).exitCode, 0);
    std::vector<std::int16_t> samples = Samples();
    ASSERT_EQ(samples.size(), 300u);
    EXPECT_EQ(samples[0], 32767);
    EXPECT_EQ(samples[50], -32767);
    // Past half the length the level drops to -60 dB.
    EXPECT_LT(std::abs(samples[200]), 40);

    ASSERT_EQ(Edit({"synth", "add", "0", "ms", "note:C#5", "triangle"}).exitCode, 0);
    nlohmann::json info = Info();
    EXPECT_EQ(info["frames"], 100);
    EXPECT_EQ(info["stereo"], true);
    samples = Samples();
    EXPECT_EQ(samples[0], 100);
    EXPECT_EQ(samples[0], samples[1]);
    EXPECT_NE(samples[20], 100);
    EXPECT_EQ(samples[20], samples[21]);
}

TEST_F(SynthCommand, ValuesTheDialogRefusesGetItsMessages) {
    struct Case {
        std::vector<std::string> words;
        const char* message;
    } cases[] = {
        {{"synth", "replace", "-5", "ms", "note:A 4", "sine"}, "Please enter a positive integer.\n"},
        {{"synth", "replace", "ten", "ms", "note:A 4", "sine"}, "Please enter a positive integer.\n"},
        {{"synth", "replace", "10", "ms", "freq:0", "sine"},
         "Please enter a number between 1e-06 and 1000000.\n"},
        {{"synth", "replace", "10", "ms", "freq:2000000", "sine"},
         "Please enter a number between 1e-06 and 1000000.\n"},
        {{"synth", "replace", "10", "ms", "freq:loud", "sine"}, "Please enter a number.\n"},
        {{"synth", "replace", "10", "ms", "note:H 4", "sine"}, "Invalid pitch specification\n"},
    };
    for (const Case& c : cases) {
        CliResult result = Edit(c.words);
        EXPECT_EQ(result.exitCode, 1) << c.words[2] << c.words[4];
        EXPECT_EQ(result.err, c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileBytes(in), original);
}

TEST_F(SynthCommand, MalformedWordsAreUsageErrors) {
    for (std::vector<std::string> words : {
             std::vector<std::string>{"synth", "swap", "10", "ms", "note:A 4", "sine"},
             {"synth", "add", "10", "seconds", "note:A 4", "sine"},
             {"synth", "add", "10", "ms", "A 4", "sine"},
             {"synth", "add", "10", "ms", "note:A 4", "saw"},
             {"synth", "add", "10", "ms", "note:A 4"},
             {"synth", "add", "10", "ms", "note:A 4", "sine", "10,0", "5,-6"},
             {"synth", "add", "10", "ms", "note:A 4", "sine", "0,40000"},
             {"synth", "add", "10", "ms", "note:A 4", "sine", "0,x"},
         })
        EXPECT_EQ(Edit(words).exitCode, 2) << words.back();
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(SynthCommand, CurvePointsEndWhereTheNextOperationBegins) {
    CliResult result = Edit(
        {"synth", "replace", "100", "ms", "freq:441", "square", "0,0", "100,0", "loop-range", "0", "10"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Info()["loop_length"], 10);
    EXPECT_EQ(Samples()[0], 32767);
}
