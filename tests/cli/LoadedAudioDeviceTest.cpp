#include "cli/LoadedAudioDevice.h"

#include <gtest/gtest.h>

TEST(LoadedAudioDevice, AMissingModuleFailsEveryCallAndSaysWhy) {
    LoadedAudioDevice device("/nonexistent/wloe-cli-audio.so");
    EXPECT_FALSE(device.IsLoaded());
    // Stopping what never started loads nothing.
    EXPECT_EQ(device.Reset(), kWaveOk);
    EXPECT_EQ(device.BreakLoop(), kWaveOk);
    EXPECT_FALSE(device.IsLoaded());
    WaveHeader header;
    EXPECT_EQ(device.QueryFormat(WaveFormat::Pcm16(true, 44100)), kWaveNoDevice);
    EXPECT_EQ(device.Open(WaveFormat::Pcm16(true, 44100), nullptr), kWaveNoDevice);
    EXPECT_EQ(device.Prepare(header), kWaveNoDevice);
    EXPECT_EQ(device.Write(header), kWaveNoDevice);
    EXPECT_NE(device.ErrorText(kWaveNoDevice).find("The audio module could not be loaded: /nonexistent/"),
              std::string::npos)
        << device.ErrorText(kWaveNoDevice);
}

TEST(LoadedAudioDevice, TheBuiltModuleIsLoadedOnTheFirstCallThatNeedsIt) {
    LoadedAudioDevice device(WLOE_TEST_AUDIO_MODULE);
    EXPECT_FALSE(device.IsLoaded());
    WaveHeader header;
    // The module's device answers: nothing is open yet.
    EXPECT_EQ(device.Prepare(header), kWaveNotOpen);
    EXPECT_TRUE(device.IsLoaded());
    EXPECT_EQ(device.ErrorText(kWaveNotOpen), WaveErrorText(kWaveNotOpen));
}
