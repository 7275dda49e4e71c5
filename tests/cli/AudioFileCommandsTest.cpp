#include "CliRunner.h"
#include "support/SoxTools.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {
class AudioFileCommands : public ::testing::Test {
protected:
    nlohmann::json Info(const std::string& path) {
        CliResult result = RunWloeCli({"info", path});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out);
    }
    TempDir dir;
};
} // namespace

TEST_F(AudioFileCommands, ConvertReadsAnyAudioAndWritesSixteenBitWav) {
    SKIP_WITHOUT_SOX();
    std::string in = dir.File("in.flac");
    ASSERT_TRUE(Sox("-n -r 48000 -b 24 -c 2 '" + in + "' synth 0.1 sine 300"));
    CliResult result = RunWloeCli({"convert", in, dir.File("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = Info(dir.File("out.wav"));
    EXPECT_EQ(info["frames"], 4800);
    EXPECT_EQ(info["rate"], 48000);
    EXPECT_EQ(info["stereo"], true);
    EXPECT_EQ(info["chunks"], (nlohmann::json{"fmt ", "vElO", "data", "smpl"}));

    // A 24-bit WAV goes through the importer too; a 16-bit one through our reader, chunks and all.
    ASSERT_TRUE(Sox("-n -r 8000 -b 24 -c 1 '" + dir.File("s24.wav") + "' synth 0.1 sine 300"));
    EXPECT_EQ(RunWloeCli({"convert", dir.File("s24.wav"), dir.File("a.wav")}).exitCode, 0);
    WavBuilder()
        .Fmt()
        .Chunk("LIST", {'I', 'N', 'F', 'O'})
        .Data(WavBuilder::Ramp(100))
        .WriteTo(dir.File("p.wav"));
    EXPECT_EQ(RunWloeCli({"convert", dir.File("p.wav"), dir.File("b.wav")}).exitCode, 0);
    EXPECT_EQ(Info(dir.File("b.wav"))["chunks"], (nlohmann::json{"fmt ", "LIST", "vElO", "data", "smpl"}));

    // And out again in another form: the audio exactly.
    ASSERT_EQ(RunWloeCli({"convert", dir.File("b.wav"), dir.File("c.flac")}).exitCode, 0);
    EXPECT_EQ(SoxSamples(dir.File("c.flac")), WavBuilder::Ramp(100));
    result = RunWloeCli({"convert", dir.File("b.wav"), dir.File("c.mp4")});
    EXPECT_EQ(result.exitCode, 2);

    ASSERT_TRUE(Sox("-n -r 8000 -b 16 -c 3 '" + dir.File("three.aiff") + "' synth 0.1 sine 300"));
    result = RunWloeCli({"convert", dir.File("three.aiff"), dir.File("t.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Can't import " + dir.File("three.aiff") +
                              ": it has 3 channels; only mono and stereo samples can be imported\n");
}

TEST_F(AudioFileCommands, EditImportsWithItsOperationsAndNeverWritesOverTheSource) {
    SKIP_WITHOUT_SOX();
    std::string in = dir.File("in.wav");
    ASSERT_TRUE(Sox("-n -r 44100 -e floating-point -b 32 -c 1 '" + in + "' synth 0.5 sine 261.63"));
    std::string before = FileBytes(in);

    CliResult result = RunWloeCli({"edit", in, "loop-start", "100"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "Format chunk has unexpected size\nUse wloe-cli convert IN OUT.wav, or edit --import, "
              "to convert it.\n");
    result = RunWloeCli({"edit", "--import", in, "loop-start", "100"});
    EXPECT_EQ(result.exitCode, 2);
    result = RunWloeCli({"edit", "--import", in, "-o", in, "loop-start", "100"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(FileBytes(in), before);

    result = RunWloeCli(
        {"edit", "--import", in, "-o", dir.File("out.wav"), "loop-range", "1000", "2000", "pitch", "261.63"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    nlohmann::json info = Info(dir.File("out.wav"));
    EXPECT_EQ(info["loop_start"], 1000);
    EXPECT_EQ(info["loop_length"], 2000);
    EXPECT_EQ(info["pitch"], 261.63);
}
