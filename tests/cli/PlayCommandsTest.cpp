#include "CliRunner.h"
#include "platform/PortAudioDevice.h"
#include "platform/Settings.h"
#include "support/AlsaCapture.h"
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Checks of the command line that need no sound card.
class PlayCommandLine : public ::testing::Test {
protected:
    void SetUp() override { WavBuilder().Fmt(1, 44100).Data(WavBuilder::Ramp(1000)).WriteTo(wav); }

    TempDir dir;
    std::string wav = dir.File("in.wav");
    ScopedAudioDevice noDevice{AudioDevice::Fallback()};
};

TEST_F(PlayCommandLine, LoopNeedsATimeAndNoRange) {
    EXPECT_EQ(RunWloeCli({"play", wav, "--loop"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"play", wav, "--loop", "--seconds", "1", "--range", "0", "10"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"play", wav, "--seconds", "-1"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"play", wav, "--seconds", "soon"}).exitCode, 2);
    EXPECT_EQ(RunWloeCli({"play", wav, "--range", "-5", "10"}).exitCode, 2);
}

TEST_F(PlayCommandLine, RefusalsSayWhy) {
    CliResult result = RunWloeCli({"play", wav});
    EXPECT_EQ(std::tie(result.exitCode, result.err),
              std::tuple(1, "No audio device capable of playing this data.\n"));
    result = RunWloeCli({"play", wav, "--range", "990", "11"});
    EXPECT_EQ(std::tie(result.exitCode, result.err),
              std::tuple(1, "The range 990 + 11 lies beyond the sample (1000 frames)\n"));
    result = RunWloeCli({"play", dir.File("absent.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.empty());
}

// Playing through PortAudio into an ALSA file PCM.
class PlayCommand : public ::testing::Test {
protected:
    void SetUp() override {
        WaveResult result = device.QueryFormat(WaveFormat::Pcm16(false, 44100));
        if (result != kWaveOk)
            GTEST_SKIP() << "PortAudio opens no output through a file PCM on this machine: "
                         << device.ErrorText(result);
    }

    AlsaCapture capture; // before the device: PortAudio must find the capture configuration
    PortAudioDevice device;
    ScopedAudioDevice deviceScope{device};
    MemorySettings settings;
    ScopedSettings settingsScope{settings};
    TempDir dir;
    std::string wav = dir.File("in.wav");
    std::vector<std::int16_t> audio = WavBuilder::Ramp(2 * 1000);
};

TEST_F(PlayCommand, PlaysTheSampleRangeOrTheGivenFramesOnce) {
    WavBuilder().Fmt(2, 22050).Velo({100, 600, 440, 0, 0, 0, 0, 0}).Data(audio).WriteTo(wav);
    CliResult result = RunWloeCli({"play", wav});
    EXPECT_EQ(std::tie(result.exitCode, result.err), std::tuple(0, ""));
    auto captured = capture.Samples();
    std::size_t at = FirstSound(captured);
    EXPECT_TRUE(Matches(captured, at, audio.data() + 200, 1200));
    EXPECT_TRUE(SilentFrom(captured, at + 1200));

    // Each open starts the capture afresh.
    result = RunWloeCli({"play", wav, "--range", "10", "50"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    captured = capture.Samples();
    at = FirstSound(captured);
    EXPECT_TRUE(Matches(captured, at, audio.data() + 20, 100));
    EXPECT_TRUE(SilentFrom(captured, at + 100));
}

TEST_F(PlayCommand, LoopRepeatsTheLoopUntilTheTimeIsUp) {
    settings.SetString("General", "MinLoopPlay", "0");
    WavBuilder().Fmt(1, 44100).Velo({0, 1000, 440, 300, 200, 0, 0, 0}).Data(audio).WriteTo(wav);
    CliResult result = RunWloeCli({"play", wav, "--loop", "--seconds", "0.05"});
    EXPECT_EQ(result.exitCode, 0) << result.err;

    std::vector<std::int16_t> sound = Sounded(capture.Samples());
    ASSERT_TRUE(Matches(sound, 0, audio.data(), 300));
    std::size_t at = 300;
    std::size_t copies = 0;
    while (Matches(sound, at, audio.data() + 300, 200)) {
        at += 200;
        ++copies;
    }
    EXPECT_GE(copies, 3u);
    EXPECT_TRUE(EndsInCutPasses(sound, at, audio.data() + 300, 200));
}

} // namespace
