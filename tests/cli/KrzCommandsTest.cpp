#include "CliRunner.h"
#include "support/KrzBuilder.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {
class KrzCommands : public ::testing::Test {
protected:
    void SetUp() override {
        KrzBuilder()
            .Add({.name = "Strings", .rootKey = 48, .period = 22676, .audio = {10, -20, 30}})
            .Other(0x40, 24)
            .Add({.name = "Bell", .rootKey = 84, .period = 41666, .audio = {1, 2, 3, 4, 5}, .loopFrame = 2})
            .WriteTo(krz);
        WavBuilder().Fmt(2, 44100).Data(std::vector<std::int16_t>(40, 7)).WriteTo(wav);
        original = FileBytes(wav);
    }
    TempDir dir;
    std::string krz = dir.File("set.krz");
    std::string wav = dir.File("in.wav");
    std::string original;
};
} // namespace

TEST_F(KrzCommands, ListPrintsOneEntryALine) {
    CliResult result = RunWloeCli({"krz", "list", krz});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Strings (pitch C 3, rate 44099)\nBell (pitch C 6, rate 24000)\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(KrzCommands, ListRefusesFilesItCannotRead) {
    CliResult result = RunWloeCli({"krz", "list", wav});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "File is not a Kurzweil PRAM file\n");

    result = RunWloeCli({"krz", "list", dir.File("none.krz")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, dir.File("none.krz") + " was not found.\n");
    EXPECT_EQ(RunWloeCli({"krz", "list"}).exitCode, 2);
}

TEST_F(KrzCommands, EditImportsTheIndexedSample) {
    std::string out = dir.File("out.wav");
    CliResult result = RunWloeCli({"edit", wav, "-o", out, "krz", krz, "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = nlohmann::json::parse(RunWloeCli({"info", out}).out);
    EXPECT_EQ(info["frames"], 5);
    EXPECT_EQ(info["stereo"], false);
    EXPECT_EQ(info["rate"], 24000);
    EXPECT_EQ(info["loop_start"], 2);
    EXPECT_EQ(info["loop_length"], 3);
    EXPECT_EQ(info["pitch"], 440.0);

    result = RunWloeCli({"edit", wav, "-o", out, "krz", krz, "0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    info = nlohmann::json::parse(RunWloeCli({"info", out}).out);
    EXPECT_EQ(info["rate"], 44099);
    EXPECT_EQ(info["loop_start"], 0);
    EXPECT_EQ(info["loop_length"], 3);
}

TEST_F(KrzCommands, AnIndexOutsideTheListIsRefused) {
    std::string out = dir.File("out.wav");
    for (const char* index : {"2", "-1", "99999999999"}) {
        CliResult result = RunWloeCli({"edit", wav, "-o", out, "krz", krz, index});
        EXPECT_EQ(result.exitCode, 1) << index;
        EXPECT_NE(result.err.find("has no sample"), std::string::npos) << result.err;
    }
    EXPECT_EQ(RunWloeCli({"edit", wav, "-o", out, "krz", wav, "0"}).err,
              "File is not a Kurzweil PRAM file\n");
    EXPECT_EQ(RunWloeCli({"edit", wav, "-o", out, "krz", krz, "one"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileBytes(wav), original);
}
