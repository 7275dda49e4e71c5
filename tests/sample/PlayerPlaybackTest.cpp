#include "sample/Player.h"

#include "platform/PortAudioDevice.h"
#include "platform/ScriptedUi.h"
#include "platform/Settings.h"
#include "support/AlsaCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

// Never 0, so the capture's silence tells where the sound begins and ends.
std::vector<std::int16_t> Tone(std::size_t count, int seed) {
    std::vector<std::int16_t> tone(count);
    for (std::size_t i = 0; i < count; ++i)
        tone[i] = static_cast<std::int16_t>(((i * 53 + seed) % 4000 + 1) * (i % 2 ? -1 : 1));
    return tone;
}

// Playback through PortAudio into an ALSA file PCM, read back sample for sample.
class PlayerPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        WaveResult result = device.QueryFormat(WaveFormat::Pcm16(false, 44100));
        if (result != kWaveOk)
            GTEST_SKIP() << "PortAudio opens no output through a file PCM on this machine: "
                         << device.ErrorText(result);
    }
    void TearDown() override { PlayerStop(); }

    bool WaitUntilPlayed() {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (PlayerIsPlaying()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    AlsaCapture capture; // before the device: PortAudio must find the capture configuration
    PortAudioDevice device;
    MemorySettings settings;
    ScriptedUi ui;
    ScopedAudioDevice deviceScope{device};
    ScopedSettings settingsScope{settings};
    ScopedUi uiScope{ui};
};

TEST_F(PlayerPlaybackTest, ShortLoopReachesTheCardRepeatedUpToTheMinimum) {
    settings.SetString("General", "MinLoopPlay", "1000");
    auto loop = Tone(100, 3);
    PlayerStop();
    ASSERT_TRUE(PlayerOpen(false, 44100));
    ASSERT_TRUE(PlayerWrite(loop.data(), loop.size(), true));
    ASSERT_TRUE(WaitUntilPlayed());
    PlayerStop();
    EXPECT_TRUE(ui.Messages().empty());

    std::vector<std::int16_t> passes;
    for (int pass = 0; pass < 11; ++pass) // 1000 / 100 + 1
        passes.insert(passes.end(), loop.begin(), loop.end());
    EXPECT_EQ(Sounded(capture.Samples()), passes);
}

TEST_F(PlayerPlaybackTest, LoopPlayRepeatsTheLoopUntilStopped) {
    settings.SetString("General", "MinLoopPlay", "1000");
    auto audio = Tone(2 * 300, 7);
    PlaySource source;
    source.pSamples = audio.data();
    source.nFrames = 300;
    source.bStereo = true;
    source.nStart = 0;
    source.nLength = 300;
    source.nLoopStart = 100;
    source.nLoopLength = 150;
    const std::int16_t* intro = audio.data();
    const std::int16_t* loop = audio.data() + 200;
    const std::size_t loopSamples = 300; // 4 passes of it to a header

    PlayerStop();
    ASSERT_TRUE(PlayerOpen(true, 44100));
    ASSERT_TRUE(PlayerLoopPlay(source));
    // The stream has been sending silence since the open; wait for many headers' worth after it.
    ASSERT_TRUE(capture.WaitForSize(capture.Size() + 32768, 5));
    PlayerStop();
    EXPECT_FALSE(PlayerIsPlaying());

    std::vector<std::int16_t> sound = Sounded(capture.Samples());
    ASSERT_TRUE(Matches(sound, 0, intro, 200));
    std::size_t at = 200;
    std::size_t copies = 0;
    while (Matches(sound, at, loop, loopSamples)) {
        at += loopSamples;
        ++copies;
    }
    EXPECT_GE(copies, 12u) << "the loop was not re-queued from the completions";
    EXPECT_TRUE(EndsInCutPasses(sound, at, loop, loopSamples));
}

} // namespace
