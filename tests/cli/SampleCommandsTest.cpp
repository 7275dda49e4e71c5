#include "CliRunner.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <sstream>

namespace {
class SampleCommands : public ::testing::Test {
protected:
    void SetUp() override {
        WavBuilder()
            .Fmt(2, 22050)
            .Velo({10, 900, 261.62556530059862, 100, 500, 0, 0, 1})
            .Data(WavBuilder::Ramp(2000))
            .WriteTo(in);
        original = FileBytes(in);
    }
    // Runs the words of `line`, with IN and OUT standing for the test's files.
    CliResult Run(const std::string& line) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;)
            args.push_back(word == "IN" ? in : word == "OUT" ? out : word);
        return RunWloeCli(args);
    }
    nlohmann::json Info(const std::string& path) {
        CliResult result = RunWloeCli({"info", path});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out);
    }

    TempDir dir;
    std::string in = dir.File("in.wav");
    std::string out = dir.File("out.wav");
    std::string original;
};
} // namespace

TEST_F(SampleCommands, InfoPrintsOneJsonObject) {
    CliResult result = Run("info IN");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(nlohmann::json::parse(result.out), (nlohmann::json{{"frames", 1000},
                                                                 {"rate", 22050},
                                                                 {"stereo", true},
                                                                 {"start", 10},
                                                                 {"length", 900},
                                                                 {"loop_start", 100},
                                                                 {"loop_length", 500},
                                                                 {"pitch", 261.62556530059862},
                                                                 {"loop_pitch", 0.0},
                                                                 {"compensate", true},
                                                                 {"pitch_text", "C 4 +0.00"},
                                                                 {"chunks", {"fmt ", "vElO", "data"}}}));

    result = Run("info OUT");
    EXPECT_EQ(std::tie(result.exitCode, result.err, result.out),
              std::tuple(1, "Error opening file\n" + out + ": No such file or directory\n", ""));
}

TEST_F(SampleCommands, ConvertChoosesEachFormByItsExtension) {
    std::string sam = dir.File("mid.sam");
    ASSERT_EQ(RunWloeCli({"convert", in, sam}).exitCode, 0);
    EXPECT_EQ(FileBytes(sam).substr(0, 4), std::string("\xe8\x03\0\x80", 4));
    ASSERT_EQ(RunWloeCli({"convert", sam, out}).exitCode, 0);
    nlohmann::json before = Info(in);
    nlohmann::json after = Info(out);
    before.erase("compensate"); // the archive form does not keep it
    after.erase("compensate");
    before.erase("chunks"); // the written file adds its sampler chunk
    after.erase("chunks");
    EXPECT_EQ(after, before);
}

TEST_F(SampleCommands, EditAppliesTheChainInOrderWithOptionsAnywhere) {
    CliResult result = Run("edit --yes IN clear-loop start 100 loop-start 200 loop-end 300 -o OUT stop 400 "
                           "pitch-parts -1 9 -30 compensate 0 selection 5 6");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = Info(out);
    EXPECT_EQ(std::tuple(info["start"], info["length"], info["loop_start"], info["loop_length"]),
              std::tuple(100, 300, 200, 100));
    EXPECT_EQ(info["pitch_text"], "A -1 -30.00");
    EXPECT_EQ(info["compensate"], false);
    EXPECT_EQ(FileBytes(in), original) << "-o leaves IN alone";

    ASSERT_EQ(Run("edit IN truncate pitch 440").exitCode, 0);
    info = Info(in);
    EXPECT_EQ(std::tuple(info["frames"], info["loop_start"], info["pitch"]), std::tuple(900, 90, 440.0));
}

TEST_F(SampleCommands, AFailedOperationWritesNothing) {
    CliResult result = Run("edit IN -o OUT start 20 stop 5");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Can't set sample stop before sample start\n");
    result = Run("edit IN loop-end 1000");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("lies beyond the sample"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(FileBytes(in), original);
}

TEST_F(SampleCommands, NewStartsFromTheEmptySampleFileNewMakesAndNeverReadsIn) {
    std::string made = dir.File("made.wav");
    ASSERT_EQ(RunWloeCli({"edit", "--new", made, "loop-range", "100", "200"}).exitCode, 0);
    nlohmann::json info = Info(made);
    EXPECT_EQ(std::tuple(info["frames"], info["rate"], info["stereo"], info["pitch"]),
              std::tuple(1000, 44100, false, 440.0));
    EXPECT_EQ(std::tuple(info["loop_start"], info["loop_length"]), std::tuple(100, 200));

    // IN exists and is damaged: --new neither reads it nor leaves it alone.
    std::filesystem::resize_file(in, 20);
    ASSERT_EQ(Run("edit --new IN stop 500").exitCode, 0);
    EXPECT_EQ(Info(in)["length"], 500);

    // A failed chain writes nothing, not even the empty sample.
    std::string never = dir.File("never.wav");
    CliResult failed = RunWloeCli({"edit", "--new", never, "loop-end", "5000"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(never));
}

TEST_F(SampleCommands, UsageErrorsExitWithTwoBeforeTouchingAnything) {
    for (const char* line : {"edit IN reverse", "edit IN start", "edit IN start ten", "edit IN start -1",
                             "edit IN compensate 2", "edit IN pitch nan", "edit IN selection 1", "edit IN",
                             "info", "convert IN", "edit IN clear-points --bogus"})
        EXPECT_EQ(Run(line).exitCode, 2) << line;
    EXPECT_EQ(FileBytes(in), original);
}

TEST(SampleGuessPitchCommand, AppliesTheEstimateOnlyWithYes) {
    TempDir dir;
    std::string tone = dir.File("tone.wav");
    std::vector<std::int16_t> audio(22050);
    for (std::size_t i = 0; i < audio.size(); ++i)
        audio[i] =
            static_cast<std::int16_t>(10000 * std::sin(2 * M_PI * 330 * static_cast<double>(i) / 44100));
    WavBuilder().Fmt(1, 44100).Data(audio).WriteTo(tone);

    CliResult declined = RunWloeCli({"edit", tone, "guess-pitch", "0", "8820"});
    EXPECT_EQ(declined.exitCode, 0) << declined.err;
    EXPECT_EQ(declined.err.rfind("The estimated pitch is E 4 ", 0), 0u) << declined.err;
    EXPECT_EQ(nlohmann::json::parse(RunWloeCli({"info", tone}).out)["pitch"], 440.0);

    CliResult accepted = RunWloeCli({"edit", tone, "--yes", "guess-pitch", "0", "8820"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    double pitch = nlohmann::json::parse(RunWloeCli({"info", tone}).out)["pitch"];
    EXPECT_NEAR(1200 * std::log2(pitch / 330), 0, 5);

    CliResult refused = RunWloeCli({"edit", tone, "--yes", "guess-pitch", "21000", "100"});
    EXPECT_EQ(refused.exitCode, 1);
}
