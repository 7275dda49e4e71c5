#include "CliRunner.h"
#include "support/KrzBuilder.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {
class KrzCommands : public ::testing::Test {
protected:
    void SetUp() override {
        KrzBuilder()
            .Add({.name = "Strings", .rootKey = 48, .audio = {10, -20, 30}})
            .Other(0x40, 24)
            .Add({.name = "Bell", .rootKey = 84, .period = 41666, .audio = {1, 2, 3, 4, 5}, .loopFrame = 2})
            .WriteTo(krz);
        WavBuilder().Fmt(2, 44100).Data(std::vector<std::int16_t>(40, 7)).WriteTo(wav);
        original = FileBytes(wav);
    }
    TempDir dir;
    std::string krz = dir.File("set.krz");
    std::string wav = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(KrzCommands, ListPrintsOneEntryALine) {
    CliResult result = RunWloeCli({"krz", "list", krz});
    EXPECT_EQ(std::tuple(result.exitCode, result.out, result.err),
              std::tuple(0, "Strings (pitch C 3, rate 44099)\nBell (pitch C 6, rate 24000)\n", ""));
    result = RunWloeCli({"krz", "list", wav});
    EXPECT_EQ(std::tuple(result.exitCode, result.out, result.err),
              std::tuple(1, "", "File is not a Kurzweil PRAM file\n"));
    result = RunWloeCli({"krz", "list", dir.File("none.krz")});
    EXPECT_EQ(std::tuple(result.exitCode, result.err),
              std::tuple(1, dir.File("none.krz") + " was not found.\n"));
}

TEST_F(KrzCommands, EditImportsTheIndexedSample) {
    CliResult result = RunWloeCli({"edit", wav, "-o", out, "krz", krz, "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = nlohmann::json::parse(RunWloeCli({"info", out}).out);
    EXPECT_EQ(
        std::tuple(info["frames"], info["stereo"], info["rate"], info["loop_start"], info["loop_length"]),
        std::tuple(5, false, 24000, 2, 3));
    EXPECT_EQ(info["pitch"], 440.0);
}

TEST_F(KrzCommands, AnIndexOutsideTheListIsRefused) {
    for (const char* index : {"2", "-1", "99999999999"}) {
        CliResult result = RunWloeCli({"edit", wav, "-o", out, "krz", krz, index});
        EXPECT_EQ(result.exitCode, 1) << index;
        EXPECT_NE(result.err.find("has no sample"), std::string::npos) << result.err;
    }
    EXPECT_EQ(RunWloeCli({"edit", wav, "-o", out, "krz", krz, "one"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileBytes(wav), original);
}
