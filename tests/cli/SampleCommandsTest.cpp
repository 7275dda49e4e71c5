#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iterator>

namespace {
std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SampleCommands : public ::testing::Test {
protected:
    void SetUp() override {
        in = dir.File("in.wav");
        WavBuilder()
            .Fmt(2, 22050)
            .Velo({10, 900, 261.62556530059862, 100, 500, 0, 0, 1})
            .Data(WavBuilder::Ramp(2000))
            .WriteTo(in);
        original = FileBytes(in);
    }
    nlohmann::json Info(const std::string& path) {
        CliResult result = RunWloeCli({"info", path});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out);
    }

    TempDir dir;
    std::string in;
    std::string original;
};
} // namespace

TEST_F(SampleCommands, InfoPrintsOneJsonObject) {
    CliResult result = RunWloeCli({"info", in});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    nlohmann::json info = nlohmann::json::parse(result.out);
    EXPECT_EQ(info, (nlohmann::json{{"frames", 1000},
                                    {"rate", 22050},
                                    {"stereo", true},
                                    {"start", 10},
                                    {"length", 900},
                                    {"loop_start", 100},
                                    {"loop_length", 500},
                                    {"pitch", 261.62556530059862},
                                    {"loop_pitch", 0.0},
                                    {"compensate", true},
                                    {"pitch_text", "C 4 +0.00"}}));
    EXPECT_EQ(info["pitch"].get<double>(), 261.62556530059862) << "printed in full precision";

    result = RunWloeCli({"info", dir.File("none.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error opening file\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(SampleCommands, ConvertChoosesEachFormByItsExtension) {
    ASSERT_EQ(RunWloeCli({"convert", in, dir.File("mid.sam")}).exitCode, 0);
    EXPECT_EQ(FileBytes(dir.File("mid.sam")).substr(0, 4), std::string("\xe8\x03\0\x80", 4));
    ASSERT_EQ(RunWloeCli({"convert", dir.File("mid.sam"), dir.File("out.WAV")}).exitCode, 0);
    nlohmann::json before = Info(in);
    nlohmann::json after = Info(dir.File("out.WAV"));
    before.erase("compensate"); // the archive form does not keep it
    after.erase("compensate");
    EXPECT_EQ(after, before);
}

TEST_F(SampleCommands, EditAppliesTheChainInOrder) {
    CliResult result = RunWloeCli({"edit",       "--yes", in,
                                   "clear-loop", "start", "100",
                                   "loop-start", "200",   "loop-end",
                                   "300",        "-o",    dir.File("out.wav"),
                                   "stop",       "400",   "pitch-parts",
                                   "-1",         "9",     "-30",
                                   "compensate", "0",     "selection",
                                   "5",          "6"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = Info(dir.File("out.wav"));
    EXPECT_EQ(info["start"], 100);
    EXPECT_EQ(info["length"], 300);
    EXPECT_EQ(info["loop_start"], 200);
    EXPECT_EQ(info["loop_length"], 100);
    EXPECT_EQ(info["pitch_text"], "A -1 -30.00");
    EXPECT_EQ(info["compensate"], false);
    EXPECT_EQ(FileBytes(in), original) << "-o leaves IN alone";

    // Without -o, IN itself is rewritten.
    ASSERT_EQ(RunWloeCli({"edit", in, "truncate", "pitch", "440"}).exitCode, 0);
    info = Info(in);
    EXPECT_EQ(info["frames"], 900);
    EXPECT_EQ(info["loop_start"], 90);
    EXPECT_EQ(info["pitch"], 440.0);
}

TEST_F(SampleCommands, AFailedOperationWritesNothing) {
    CliResult result = RunWloeCli({"edit", in, "-o", dir.File("out.wav"), "start", "20", "stop", "5"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Can't set sample stop before sample start\n");

    result = RunWloeCli({"edit", in, "loop-end", "1000"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("lies beyond the sample"), std::string::npos) << result.err;

    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));
    EXPECT_EQ(FileBytes(in), original);
}

TEST_F(SampleCommands, UsageErrorsExitWithTwoBeforeTouchingAnything) {
    const std::vector<std::vector<std::string>> wrong = {
        {"edit", in, "reverse"},
        {"edit", in, "start"},
        {"edit", in, "start", "ten"},
        {"edit", in, "start", "-1"},
        {"edit", in, "compensate", "2"},
        {"edit", in, "pitch", "nan"},
        {"edit", in, "selection", "1"},
        {"edit", in},
        {"info"},
        {"convert", in},
        {"edit", in, "clear-points", "--bogus"},
    };
    for (const auto& args : wrong)
        EXPECT_EQ(RunWloeCli(args).exitCode, 2) << args.back();
    EXPECT_EQ(FileBytes(in), original);
}
