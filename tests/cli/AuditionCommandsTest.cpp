#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {
// A library with one layer, "Pad", mapping keys 60 and 69 to a looped A 4 sine made by the
// synthesizer, and a bank whose patch 7 plays it.
class AuditionCommands : public ::testing::Test {
protected:
    void SetUp() override {
        WavBuilder().Fmt(1, 44100).Data(std::vector<std::int16_t>(10)).WriteTo(dir.File("pad.wav"));
        ASSERT_EQ(RunWloeCli({"edit", dir.File("pad.wav"), "synth", "replace", "500", "ms", "note:A 4",
                              "sine", "loop-range", "1000", "2000"})
                      .exitCode,
                  0);
        std::ofstream(dir.File("lib.json"))
            << R"({"samples":[{"name":"Sine","path":")" << dir.File("pad.wav")
            << R"("}],"layers":[{"name":"Pad","transpose":12,"keys":[[60,"Sine"],[69,"Sine"]]}]})";
        std::ofstream(dir.File("bank.json")) << R"({"patches":[{"number":7,"layers":[{"layer":"Pad"}]}]})";
        ASSERT_EQ(RunWloeCli({"build", dir.File("lib.json"), "-o", dir.File("lib.lay")}).exitCode, 0);
        ASSERT_EQ(RunWloeCli({"build", dir.File("bank.json"), "-o", dir.File("bank.pat")}).exitCode, 0);
    }
    nlohmann::json Info(const std::string& name) {
        return nlohmann::json::parse(RunWloeCli({"info", dir.File(name)}).out);
    }

    TempDir dir;
};
} // namespace

TEST_F(AuditionCommands, PatchAuditionWritesTheWholeBufferAtTheKeysPitch) {
    CliResult run = RunWloeCli({"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch",
                                "7", "--key", "60", "-o", dir.File("out.wav")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json info = Info("out.wav");
    EXPECT_EQ(info["frames"], 150000);
    EXPECT_EQ(info["rate"], 44100);
    EXPECT_EQ(info["stereo"], false);
    EXPECT_EQ(info["loop_length"], 0);
    EXPECT_EQ(info["pitch_text"], "C 4 +0.00");

    for (const auto& [key, velocity] : {std::pair{"128", "100"}, {"60", "0"}}) {
        run = RunWloeCli({"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch", "7",
                          "--key", key, "--velocity", velocity, "-o", dir.File("bad.wav")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "Please enter an integer between 1 and 127.\n");
    }
    run = RunWloeCli({"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch", "8",
                      "--key", "60", "-o", dir.File("bad.wav")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("bad.wav")));
}

TEST_F(AuditionCommands, KeyAuditionWritesThePreparedCopyTransposed) {
    // Key 60 + 12 is C 5, 0.5946 of the way to A 4 an octave up: the loop scaled by the ratio.
    CliResult run = RunWloeCli(
        {"audition-key", dir.File("lib.lay"), "--layer", "Pad", "--key", "60", "-o", dir.File("key.wav")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json info = Info("key.wav");
    EXPECT_EQ(info["pitch_text"], "C 5 +0.00");
    EXPECT_EQ(info["rate"], 44100);
    double e = 523.2511306011972 / 440.0;
    EXPECT_EQ(info["frames"], static_cast<int>(22049 / static_cast<float>(e)));
    EXPECT_EQ(info["loop_start"], static_cast<int>(1000 / static_cast<float>(e)));
    EXPECT_EQ(info["loop_length"], static_cast<int>(2000 / static_cast<float>(e) + 0.5));

    run = RunWloeCli(
        {"audition-key", dir.File("lib.lay"), "--layer", "Pad", "--key", "61", "-o", dir.File("no.wav")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Key 61 is not mapped in layer Pad\n");
    run = RunWloeCli(
        {"audition-key", dir.File("lib.lay"), "--layer", "Pa", "--key", "60", "-o", dir.File("no.wav")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("no.wav")));
}

TEST_F(AuditionCommands, NothingIsWrittenWhenNothingSoundsOrTheOutputWouldReplaceSomethingElse) {
    std::filesystem::remove(dir.File("pad.wav"));
    CliResult run = RunWloeCli({"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch",
                                "7", "--key", "60", "-o", dir.File("silent.wav")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Error opening file\n" + dir.File("pad.wav") +
                           ": No such file or directory\nCould not load " + dir.File("pad.wav") +
                           "\nNothing sounds: no layer of patch 7 has a sample for key 60\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("silent.wav")));

    std::string library = FileBytes(dir.File("lib.lay"));
    std::string bank = FileBytes(dir.File("bank.pat"));
    const std::vector<std::vector<std::string>> refused = {
        {"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch", "7", "--key", "60",
         "-o", dir.File("lib.lay")},
        {"audition", dir.File("bank.pat"), "--layers", dir.File("lib.lay"), "--patch", "7", "--key", "60",
         "-o", dir.File("out.txt")},
        {"audition-key", dir.File("lib.lay"), "--layer", "Pad", "--key", "60", "-o", dir.File("bank.pat")},
        {"report", "patches", dir.File("bank.pat"), "-o", dir.File("bank.pat")},
        {"report", "patches", dir.File("bank.pat"), "-o", dir.File("copy.lay")},
        {"report", "samples", dir.File("lib.lay"), "-o", dir.File("lib.lay")},
        {"convert", dir.File("out.wav"), dir.File("out.pat")},
        {"build", dir.File("bank.pat"), "-o", dir.File("bank.pat")},
    };
    for (const std::vector<std::string>& args : refused) {
        run = RunWloeCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back() << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(FileBytes(dir.File("lib.lay")), library);
    EXPECT_EQ(FileBytes(dir.File("bank.pat")), bank);
    for (const char* name : {"out.txt", "copy.lay", "out.pat"})
        EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
}
