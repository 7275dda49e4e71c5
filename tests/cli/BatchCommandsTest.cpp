#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace {
class BatchCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "in");
        // Mono and stereo, different rates, points and pitches: the chain meets each differently.
        WavBuilder().Fmt(1, 44100).Velo({0, 0, 440.0, 100, 900}).Data(Sine(3000, 100)).WriteTo(In("a.wav"));
        WavBuilder()
            .Fmt(2, 22050)
            .Velo({10, 1500, 261.6, 200, 400, 0, 0, 1})
            .Data(Sine(4000, 64))
            .WriteTo(In("b.wav"));
        WavBuilder().Fmt(1, 32000).Data(Sine(5000, 100)).WriteTo(In("c.wav"));
        inputs = {In("a.wav"), In("b.wav"), In("c.wav")};
    }
    std::string In(const std::string& name) const { return dir.File("in/" + name); }

    static std::vector<std::int16_t> Sine(std::size_t samples, double period) {
        std::vector<std::int16_t> values(samples);
        for (std::size_t i = 0; i < samples; ++i)
            values[i] = static_cast<std::int16_t>(12000 * std::sin(6.283185307179586 * i / period));
        return values;
    }

    // edit INPUTS... --out-dir DIR EXTRA... CHAIN...
    CliResult Edit(const std::vector<std::string>& files, const std::string& outDir,
                   const std::vector<std::string>& extra, const std::vector<std::string>& chain) {
        std::vector<std::string> args{"edit"};
        args.insert(args.end(), files.begin(), files.end());
        args.insert(args.end(), {"--out-dir", outDir});
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), chain.begin(), chain.end());
        return RunWloeCli(args);
    }

    TempDir dir;
    std::vector<std::string> inputs;
    const std::vector<std::string> chain{"gain",      "0",           "-9",          "-3",       "0",
                                         "normalize", "loop-start",  "50",          "resample", "rate",
                                         "48000",     "bandlimited", "guess-pitch", "0",        "2000"};
};
} // namespace

TEST_F(BatchCommands, EachOutputIsWhatTheSingleFileCommandWrites) {
    std::string batchDir = dir.File("batch");
    CliResult result = Edit(inputs, batchDir, {"--yes"}, chain);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "");
    for (std::string name : {"a.wav", "b.wav", "c.wav"}) {
        std::vector<std::string> args{"edit", "--yes", In(name), "-o", dir.File("single-" + name)};
        args.insert(args.end(), chain.begin(), chain.end());
        CliResult single = RunWloeCli(args);
        ASSERT_EQ(single.exitCode, 0) << single.err;
        EXPECT_TRUE(FileBytes(batchDir + "/" + name) == FileBytes(dir.File("single-" + name))) << name;
        EXPECT_TRUE(FileBytes(batchDir + "/" + name) != FileBytes(In(name))) << name;
    }

    // Questions answered No unless --yes: the guessed pitch is then not stored.
    std::string declined = dir.File("declined");
    ASSERT_EQ(Edit({In("c.wav")}, declined, {}, {"guess-pitch", "0", "5000"}).exitCode, 0);
    ASSERT_EQ(Edit({In("c.wav")}, batchDir, {"--yes"}, {"guess-pitch", "0", "5000"}).exitCode, 0);
    auto pitch = [](const std::string& path) {
        return nlohmann::json::parse(RunWloeCli({"info", path}).out)["pitch"].get<double>();
    };
    EXPECT_EQ(pitch(declined + "/c.wav"), 440.0);
    EXPECT_NEAR(pitch(batchDir + "/c.wav"), 320.0, 1.0);

    // convert: the form --to names, under each input's name.
    std::string converted = dir.File("converted");
    result = RunWloeCli({"convert", In("a.wav"), In("b.wav"), "--out-dir", converted, "--to", "sam"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (std::string stem : {"a", "b"}) {
        ASSERT_EQ(RunWloeCli({"convert", In(stem + ".wav"), dir.File(stem + ".sam")}).exitCode, 0);
        EXPECT_TRUE(FileBytes(converted + "/" + stem + ".sam") == FileBytes(dir.File(stem + ".sam")));
    }
}

TEST_F(BatchCommands, ADamagedFileIsReportedAndSkippedWhileTheOthersAreWritten) {
    std::ofstream(In("broken.wav"), std::ios::binary) << "RIFF\x04\0\0\0WAVx";
    // Claims more audio than it holds.
    WavBuilder().Fmt(2, 44100).Data(WavBuilder::Ramp(400), 1000).WriteTo(In("odd.wav"));
    std::string out = dir.File("out");
    CliResult result = Edit({In("a.wav"), In("broken.wav"), In("missing.wav"), In("b.wav"), In("odd.wav")},
                            out, {"--jobs", "2"}, {"normalize", "start", "20"});
    EXPECT_EQ(result.exitCode, 1);
    // Every line of a file's messages names it; a file that was written may still warn.
    EXPECT_NE(result.err.find(In("broken.wav") + ": Not a valid WAVE file\n"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(In("missing.wav") + ": Error opening file\n" + In("missing.wav") + ": " +
                              In("missing.wav") + ": No such file or directory\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(In("odd.wav") + ": Warning! The DATA chunk"), std::string::npos) << result.err;
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(out))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"a.wav", "b.wav", "odd.wav"}));

    // An output whose place a directory has taken is written, then cannot be put there.
    std::string blocked = dir.File("blocked");
    std::filesystem::create_directories(blocked + "/b.wav");
    result = Edit(inputs, blocked, {}, {"normalize"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, In("b.wav") + ": " + blocked + "/b.wav: Is a directory\n");
    EXPECT_TRUE(std::filesystem::is_empty(blocked + "/b.wav"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(blocked), {}), 3);

    // A chain refused for one file (the stop lies beyond its audio) leaves that file out alone.
    std::string refused = dir.File("refused");
    result = Edit(inputs, refused, {}, {"stop", "2500"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, In("b.wav") + ": Position 2500 lies beyond the sample (2000 frames)\n");
    EXPECT_FALSE(std::filesystem::exists(refused + "/b.wav"));
    EXPECT_TRUE(std::filesystem::exists(refused + "/a.wav"));
    EXPECT_TRUE(std::filesystem::exists(refused + "/c.wav"));
}

TEST_F(BatchCommands, OneJobAndTwoJobsWriteTheSameBytes) {
    for (int i = 0; i < 8; ++i) {
        std::string name = "s" + std::to_string(i) + ".wav";
        WavBuilder()
            .Fmt(static_cast<std::uint16_t>(1 + i % 2), 44100)
            .Data(Sine(6000 + 500 * static_cast<std::size_t>(i), 90.0 + 7 * i))
            .WriteTo(In(name));
        inputs.push_back(In(name));
    }
    CliResult one = Edit(inputs, dir.File("one"), {"--jobs", "1", "--yes"}, chain);
    ASSERT_EQ(one.exitCode, 0) << one.err;
    CliResult two = Edit(inputs, dir.File("two"), {"--jobs", "2", "--yes"}, chain);
    ASSERT_EQ(two.exitCode, 0) << two.err;
    for (const std::string& input : inputs) {
        std::string name = std::filesystem::path(input).filename().string();
        EXPECT_TRUE(FileBytes(dir.File("one/" + name)) == FileBytes(dir.File("two/" + name))) << name;
    }
}

TEST_F(BatchCommands, OutputsThatWouldCollideOrReplaceAnInputAreRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directories(dir.Path() / "other");
    WavBuilder().Fmt(1, 44100).Data(WavBuilder::Ramp(10)).WriteTo(dir.File("other/a.wav"));
    CliResult result =
        Edit({In("b.wav"), In("a.wav"), dir.File("other/a.wav")}, dir.File("out"), {}, {"normalize"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("two inputs would be written to the same file"), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));

    std::string original = FileBytes(In("a.wav"));
    result = Edit(inputs, dir.File("in"), {}, {"normalize"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("would replace an input"), std::string::npos) << result.err;
    EXPECT_EQ(FileBytes(In("a.wav")), original);

    EXPECT_EQ(Edit(inputs, dir.File("out"), {}, {"normalize", "bogus"}).exitCode, 2);
    EXPECT_EQ(Edit(inputs, dir.File("out"), {"--jobs", "0"}, {"normalize"}).exitCode, 2);
    EXPECT_EQ(
        RunWloeCli({"edit", In("a.wav"), "--out-dir", dir.File("out"), "-o", "x.wav", "normalize"}).exitCode,
        2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}
