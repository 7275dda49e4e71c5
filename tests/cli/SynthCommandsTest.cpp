#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

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
    // The samples of the data chunk written.
    std::vector<std::int16_t> Samples() {
        std::string bytes = FileBytes(out);
        std::vector<std::int16_t> samples;
        // The data chunk's own size: other chunks may follow it.
        std::size_t data = bytes.find("data") + 8;
        std::size_t end = data + (static_cast<std::uint8_t>(bytes[data - 4]) |
                                  static_cast<std::uint8_t>(bytes[data - 3]) << 8 |
                                  static_cast<std::uint8_t>(bytes[data - 2]) << 16);
        for (std::size_t at = data; at + 1 < std::min(end, bytes.size()); at += 2)
            samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                        static_cast<std::uint8_t>(bytes[at + 1]) << 8));
        return samples;
    }

    TempDir dir;
    std::string in = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(SynthCommand, ReplaceAndAddWithCurves) {
    CliResult result = Edit({"synth", "replace", "1000", "ms", "note:A 4", "sine"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = Info();
    EXPECT_EQ(std::tuple(info["frames"], info["stereo"], info["pitch"]), std::tuple(44100, false, 440.0));

    // The curve's points end where the next operation begins.
    result = Edit({"synth", "replace", "3", "cycles", "freq:441", "square", "0,0", "50,0", "51,-60",
                   "loop-range", "0", "10"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Info()["loop_length"], 10);
    std::vector<std::int16_t> samples = Samples();
    ASSERT_EQ(samples.size(), 300u);
    EXPECT_EQ(std::tuple(samples[0], samples[50]), std::tuple(32767, -32767));
    EXPECT_LT(std::abs(samples[200]), 40); // -60 dB past the middle

    ASSERT_EQ(Edit({"synth", "add", "0", "ms", "note:C#5", "triangle"}).exitCode, 0);
    info = Info();
    EXPECT_EQ(std::tuple(info["frames"], info["stereo"]), std::tuple(100, true));
    samples = Samples();
    EXPECT_EQ(samples[0], 100);
    EXPECT_NE(samples[20], 100);
    EXPECT_EQ(samples[20], samples[21]);
}

TEST_F(SynthCommand, RefusedValuesGetTheDialogsMessagesAndBadWordsAreUsageErrors) {
    const std::pair<const char*, const char*> refused[] = {
        {"-5", "Please enter a positive integer.\n"},
        {"freq:0", "Please enter a number between 1e-06 and 1000000.\n"},
        {"freq:loud", "Please enter a number.\n"},
        {"note:H 4", "Invalid pitch specification\n"},
    };
    for (auto [word, message] : refused) {
        std::vector<std::string> words{"synth", "replace", "10", "ms", "note:A 4", "sine"};
        words[std::string(word).starts_with("-") ? 2 : 4] = word;
        CliResult result = Edit(words);
        EXPECT_EQ(std::tuple(result.exitCode, result.err), std::tuple(1, message)) << word;
    }
    for (std::vector<std::string> words :
         {std::vector<std::string>{"synth", "swap", "10", "ms", "note:A 4", "sine"},
          {"synth", "add", "10", "s", "note:A 4", "sine"},
          {"synth", "add", "10", "ms", "A 4", "sine"},
          {"synth", "add", "10", "ms", "note:A 4", "saw"},
          {"synth", "add", "10", "ms", "note:A 4", "sine", "10,0", "5,-6"},
          {"synth", "add", "10", "ms", "note:A 4", "sine", "0,40000"}})
        EXPECT_EQ(Edit(words).exitCode, 2) << words[1] << words[3] << words[5];
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileBytes(in), original);
}
