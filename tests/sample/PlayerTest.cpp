#include "sample/Player.h"

#include "platform/FakeAudioDevice.h"
#include "platform/ScriptedUi.h"
#include "platform/Settings.h"
#include "sample/SampleDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Audio whose every sample differs from its neighbours, so a pointer into it tells the frame.
std::vector<std::int16_t> Audio(std::uint32_t frames, bool stereo) {
    std::vector<std::int16_t> audio(std::size_t{frames} * (stereo ? 2 : 1));
    for (std::size_t i = 0; i < audio.size(); ++i)
        audio[i] = static_cast<std::int16_t>(i % 30000 + 1);
    return audio;
}

PlaySource Source(const std::vector<std::int16_t>& audio, bool stereo, std::uint32_t start,
                  std::uint32_t length, std::uint32_t loopStart, std::uint32_t loopLength) {
    PlaySource source;
    source.pSamples = audio.data();
    source.nFrames = static_cast<std::uint32_t>(audio.size() / (stereo ? 2 : 1));
    source.bStereo = stereo;
    source.nStart = start;
    source.nLength = length;
    source.nLoopStart = loopStart;
    source.nLoopLength = loopLength;
    return source;
}

constexpr std::uint32_t kLooped = kWaveBeginLoop | kWaveEndLoop;

class PlayerTest : public ::testing::Test {
protected:
    void TearDown() override {
        PlayerStop();
        EXPECT_EQ(device.Misuses(), 0) << "the player made a call the device refuses";
    }

    void SetMinLoopPlay(const std::string& value) { settings.SetString("General", "MinLoopPlay", value); }

    // Stop, open, as the commands do.
    void Open(bool stereo, std::uint32_t rate = 44100) {
        PlayerStop();
        ASSERT_TRUE(PlayerOpen(stereo, rate));
    }

    FakeAudioDevice device;
    MemorySettings settings;
    ScriptedUi ui;
    ScopedAudioDevice deviceScope{device};
    ScopedSettings settingsScope{settings};
    ScopedUi uiScope{ui};
};

TEST_F(PlayerTest, OpenAsksForSixteenBitPcmOfTheSample) {
    Open(true, 22050);
    WaveFormat stereo = device.Format();
    EXPECT_EQ(stereo.nFormatTag, 1);
    EXPECT_EQ(stereo.nChannels, 2);
    EXPECT_EQ(stereo.nSamplesPerSec, 22050u);
    EXPECT_EQ(stereo.nBitsPerSample, 16);
    EXPECT_EQ(stereo.nBlockAlign, 4);
    EXPECT_EQ(stereo.nAvgBytesPerSec, 88200u);

    Open(false, 48000);
    WaveFormat mono = device.Format();
    EXPECT_EQ(mono.nChannels, 1);
    EXPECT_EQ(mono.nBlockAlign, 2);
    EXPECT_EQ(mono.nAvgBytesPerSec, 96000u);
    EXPECT_EQ(device.Opens(), 2);
    EXPECT_EQ(device.Closes(), 1);
}

TEST_F(PlayerTest, OpeningAgainClosesTheOpenDeviceFirst) {
    ASSERT_TRUE(PlayerOpen(false, 44100));
    auto audio = Audio(50, false);
    ASSERT_TRUE(PlayerWrite(audio.data(), audio.size(), false));
    ASSERT_TRUE(PlayerOpen(false, 44100));
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_EQ(device.Opens(), 2);
    EXPECT_EQ(device.Closes(), 1);
    EXPECT_TRUE(device.IsOpen());
}

TEST_F(PlayerTest, ShortMonoLoopIsRepeatedUpToTheMinimum) {
    SetMinLoopPlay("10000");
    auto audio = Audio(300, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 300, 150, 100)));

    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].pData, audio.data());
    EXPECT_EQ(queued[0].nBytes, 150u * 2);
    EXPECT_EQ(queued[0].nFlags, 0u);
    EXPECT_EQ(queued[0].nLoops, 0u);
    EXPECT_EQ(queued[1].pData, audio.data() + 150);
    EXPECT_EQ(queued[1].nBytes, 100u * 2);
    EXPECT_EQ(queued[1].nFlags, kLooped);
    EXPECT_EQ(queued[1].nLoops, 101u);
}

TEST_F(PlayerTest, LoopAtLeastTheMinimumIsQueuedOnce) {
    SetMinLoopPlay("10000");
    auto audio = Audio(30000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 30000, 5000, 20000)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].nBytes, 20000u * 2);
    EXPECT_EQ(queued[1].nFlags, 0u);
    EXPECT_EQ(queued[1].nLoops, 0u);
}

TEST_F(PlayerTest, StereoComparesSamplesNotFrames) {
    SetMinLoopPlay("5000");
    auto audio = Audio(10000, true);
    Open(true);
    // 3000 frames are 6000 samples: long enough.
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 10000, 1000, 3000)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].nBytes, 1000u * 4);
    EXPECT_EQ(queued[1].pData, audio.data() + 2000);
    EXPECT_EQ(queued[1].nBytes, 3000u * 4);
    EXPECT_EQ(queued[1].nLoops, 0u);

    // 2000 frames are 4000 samples: repeated 5000 / 4000 + 1 times.
    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 10000, 1000, 2000)));
    queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].nBytes, 2000u * 4);
    EXPECT_EQ(queued[1].nFlags, kLooped);
    EXPECT_EQ(queued[1].nLoops, 2u);
}

TEST_F(PlayerTest, LoopAtTheSampleStartQueuesAnEmptyFirstBuffer) {
    SetMinLoopPlay("0");
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 200, 800, 200, 500)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].pData, audio.data() + 200);
    EXPECT_EQ(queued[0].nBytes, 0u);
    EXPECT_EQ(queued[1].pData, audio.data() + 200);
    EXPECT_EQ(queued[1].nBytes, 500u * 2);
}

TEST_F(PlayerTest, EachCompletionQueuesTheLoopAgain) {
    SetMinLoopPlay("0");
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 400, 600)));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(device.CompleteOldest());
        auto queued = device.Queued();
        ASSERT_EQ(queued.size(), 2u);
        EXPECT_EQ(queued[1].pData, audio.data() + 400);
        EXPECT_EQ(queued[1].nBytes, 600u * 2);
    }
    EXPECT_TRUE(PlayerIsPlaying());
}

TEST_F(PlayerTest, PlayQueuesTheSampleOnceAndEndsAnyLoop) {
    auto audio = Audio(1000, true);
    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 1000, 400, 600)));
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_EQ(device.QueuedCount(), 2u);

    // Both headers are busy: the play is not queued, but the loop is no longer re-queued.
    EXPECT_FALSE(PlayerPlay(Source(audio, true, 100, 800, 400, 600)));
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_FALSE(PlayerIsPlaying());

    ASSERT_TRUE(PlayerPlay(Source(audio, true, 100, 800, 400, 600)));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].pData, audio.data() + 200);
    EXPECT_EQ(queued[0].nBytes, 800u * 4);
    EXPECT_EQ(queued[0].nFlags, 0u);
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PlayerTest, SampleWithoutLoopLoopPlaysAsPlay) {
    auto audio = Audio(500, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 10, 400, 0, 0)));
    ASSERT_EQ(device.QueuedCount(), 1u);
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
}

TEST_F(PlayerTest, AtMostTwoBuffersAreQueued) {
    auto audio = Audio(100, false);
    Open(false);
    EXPECT_TRUE(PlayerWrite(audio.data(), 10, false));
    EXPECT_TRUE(PlayerWrite(audio.data() + 10, 10, false));
    EXPECT_FALSE(PlayerWrite(audio.data() + 20, 10, false));
    EXPECT_EQ(device.QueuedCount(), 2u);
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_TRUE(PlayerWrite(audio.data() + 20, 10, false));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].pData, audio.data() + 20);
}

TEST_F(PlayerTest, EmptyLoopIsQueuedOnceWithoutRepeat) {
    auto audio = Audio(10, false);
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 0, true));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].nBytes, 0u);
    EXPECT_EQ(queued[0].nFlags, 0u);
    EXPECT_EQ(queued[0].nLoops, 0u);
}

TEST_F(PlayerTest, MinimumLoopPlayIsReadAtEachOpen) {
    auto audio = Audio(100, false);
    // Absent: 300.
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 4u);

    SetMinLoopPlay("1000");
    ASSERT_TRUE(device.CompleteOldest());
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 4u) << "the value is copied at open, not at write";

    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 11u);

    SetMinLoopPlay("lots");
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 100, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 4u);

    SetMinLoopPlay("4294967295");
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 1, true));
    EXPECT_EQ(device.Queued()[0].nLoops, 4294967295u)
        << "the repeat count saturates instead of wrapping to 0";
}

TEST_F(PlayerTest, StopDuringLoopPlayLeavesNothingQueuedAndTheDeviceClosed) {
    SetMinLoopPlay("10000");
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 100)));
    ASSERT_TRUE(device.CompleteOldest());
    std::size_t written = device.WrittenHistory().size();

    PlayerStop();
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_FALSE(PlayerIsPlaying());
    EXPECT_EQ(device.WrittenHistory().size(), written) << "a header handed back by the reset was re-queued";
    // The headers handed back are unprepared between the reset and the close.
    auto calls = device.Calls();
    std::erase(calls, "Unprepare");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"BreakLoop", "Reset", "Close"}));

    // Closed: nothing can be written until the next open.
    EXPECT_FALSE(PlayerWrite(audio.data(), 10, false));
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(PlayerTest, StopWorksWhenTheResetHandsHeadersBackOnAnotherThread) {
    device.SetResetDelivery(FakeAudioDevice::ResetDelivery::DeviceThread);
    auto audio = Audio(1000, true);
    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, true, 0, 1000, 100, 900)));
    PlayerStop();
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.WrittenHistory().size(), 2u);
}

TEST_F(PlayerTest, CloseEndsTheLoopBeforeTheResetHandsHeadersBack) {
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 900)));
    PlayerClose();
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.WrittenHistory().size(), 2u);
    EXPECT_FALSE(PlayerWrite(audio.data(), 10, false));
}

// Completions arrive from a device thread while the user-interface thread starts and stops loops.
void RaceCompletionsWithStop(FakeAudioDevice& device, bool stereo) {
    auto audio = Audio(2000, stereo);
    std::atomic<bool> done{false};
    std::thread deviceThread([&] {
        while (!done.load())
            if (!device.CompleteOldest())
                std::this_thread::yield();
    });
    for (int round = 0; round < 300; ++round) {
        PlayerStop();
        ASSERT_TRUE(PlayerOpen(stereo, 44100));
        ASSERT_TRUE(PlayerLoopPlay(Source(audio, stereo, round % 7, 1500, 500 + round % 3, 64 + round % 5)));
        for (int i = 0; i < round % 4; ++i)
            std::this_thread::yield();
        PlayerStop();
        ASSERT_EQ(device.QueuedCount(), 0u) << "round " << round;
        ASSERT_FALSE(device.IsOpen()) << "round " << round;
        ASSERT_FALSE(PlayerIsPlaying()) << "round " << round;
    }
    done = true;
    deviceThread.join();
}

TEST_F(PlayerTest, CompletionsRacingStopLeaveTheDeviceClosed) {
    RaceCompletionsWithStop(device, false);
}

TEST_F(PlayerTest, CompletionsRacingStopWithResetOnADeviceThread) {
    device.SetResetDelivery(FakeAudioDevice::ResetDelivery::DeviceThread);
    RaceCompletionsWithStop(device, true);
}

TEST_F(PlayerTest, NoCapableDeviceIsSaid) {
    device.SetFormatResult(kWaveBadFormat);
    EXPECT_FALSE(PlayerOpen(true, 44100));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"No audio device capable of playing this data."});
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Opens(), 0);
}

TEST_F(PlayerTest, NothingInstalledMeansNoCapableDevice) {
    ScopedAudioDevice none(AudioDevice::Fallback());
    EXPECT_FALSE(PlayerOpen(false, 44100));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"No audio device capable of playing this data."});
}

TEST_F(PlayerTest, OpenFailureShowsTheDeviceText) {
    device.FailNextOpen(-42);
    device.SetErrorText(-42, "The device is in use.");
    EXPECT_FALSE(PlayerOpen(false, 44100));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error opening wave device:\nThe device is in use."});
    EXPECT_FALSE(device.IsOpen());
    auto audio = Audio(10, false);
    EXPECT_FALSE(PlayerWrite(audio.data(), 10, false));
}

TEST_F(PlayerTest, DeviceTextIsCutTo199Characters) {
    device.FailNextOpen(-43);
    device.SetErrorText(-43, std::string(150, 'a') + std::string(100, 'b'));
    EXPECT_FALSE(PlayerOpen(false, 44100));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0],
              "Error opening wave device:\n" + std::string(150, 'a') + std::string(49, 'b'));
}

TEST_F(PlayerTest, PrepareFailureShowsTheDeviceTextAndClosesTheDevice) {
    auto audio = Audio(100, false);
    Open(false);
    device.FailNextPrepare(-7);
    device.SetErrorText(-7, "Out of header memory.");
    EXPECT_FALSE(PlayerWrite(audio.data(), 100, false));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error preparing wave header:\nOut of header memory."});
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.QueuedCount(), 0u);

    // The next command opens it again.
    Open(false);
    EXPECT_TRUE(PlayerWrite(audio.data(), 100, false));
}

TEST_F(PlayerTest, WriteFailureUnpreparesShowsTheDeviceTextAndClosesTheDevice) {
    auto audio = Audio(100, false);
    Open(false);
    device.FailNextWrite(-9);
    device.SetErrorText(-9, "The driver stopped.");
    EXPECT_FALSE(PlayerWrite(audio.data(), 100, false));
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error writing to wave device:\nThe driver stopped."});
    EXPECT_FALSE(device.IsOpen());
    auto calls = device.Calls();
    auto write = std::find(calls.begin(), calls.end(), "Write");
    ASSERT_NE(write, calls.end());
    EXPECT_EQ(*(write + 1), "Unprepare");
}

TEST_F(PlayerTest, LoopPlayStopsAtAFailedFirstWrite) {
    auto audio = Audio(1000, false);
    Open(false);
    device.FailNextWrite(-9);
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 900)));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_FALSE(device.IsOpen());

    // A loop left behind would be re-queued as soon as anything completes after the next open.
    Open(false);
    ASSERT_TRUE(PlayerWrite(audio.data(), 10, false));
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u);
}

TEST_F(PlayerTest, FailedRequeueEndsTheLoopAndIsToldAtStop) {
    auto audio = Audio(1000, false);
    Open(false);
    ASSERT_TRUE(PlayerLoopPlay(Source(audio, false, 0, 1000, 100, 900)));
    device.FailNextWrite(-9);
    device.SetErrorText(-9, "The driver stopped.");
    std::thread([&] { device.CompleteOldest(); }).join();
    EXPECT_TRUE(ui.Messages().empty()) << "no message from the device's thread";
    EXPECT_EQ(device.QueuedCount(), 1u);
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.QueuedCount(), 0u) << "the loop ended";

    PlayerStop();
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Error writing to wave device:\nThe driver stopped."});
    EXPECT_FALSE(device.IsOpen());
}

TEST_F(PlayerTest, RangeOutsideTheAudioIsRefused) {
    auto audio = Audio(100, false);
    Open(false);
    EXPECT_FALSE(PlayerPlay(Source(audio, false, 50, 51, 0, 0)));
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 0, 100, 60, 41)));
    EXPECT_FALSE(PlayerLoopPlay(Source(audio, false, 50, 50, 40, 10)));
    EXPECT_EQ(device.QueuedCount(), 0u);
    ASSERT_EQ(ui.Messages().size(), 3u);
    for (const std::string& message : ui.Messages())
        EXPECT_EQ(message.rfind("Internal error: ", 0), 0u) << message;

    // The whole buffer and an empty sample are fine.
    EXPECT_TRUE(PlayerPlay(Source(audio, false, 0, 100, 0, 0)));
    std::vector<std::int16_t> none;
    EXPECT_TRUE(PlayerPlay(Source(none, false, 0, 0, 0, 0)));
    EXPECT_EQ(device.QueuedCount(), 2u);
}

// A document holding `frames` frames of distinct samples.
void FillDocument(CSampleDoc& doc, std::uint32_t frames, bool stereo) {
    auto audio = Audio(frames, stereo);
    auto buffer = std::make_unique<std::int16_t[]>(audio.size());
    std::copy(audio.begin(), audio.end(), buffer.get());
    doc.m_bStereo = stereo;
    doc.SetData(std::move(buffer), frames, 44100);
}

TEST_F(PlayerTest, DocumentPlaysInPlaceFromItsPoints) {
    CSampleDoc doc;
    FillDocument(doc, 1000, true);
    doc.SetSampleRange(100, 300);
    doc.SetLoopRange(200, 50);
    const std::int16_t* data = doc.m_pData.get();

    Open(true);
    ASSERT_TRUE(PlayerPlay(doc));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].pData, data + 200);
    EXPECT_EQ(queued[0].nBytes, 300u * 4);

    Open(true);
    ASSERT_TRUE(PlayerLoopPlay(doc));
    queued = device.Queued();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].pData, data + 200);
    EXPECT_EQ(queued[0].nBytes, 100u * 4);
    EXPECT_EQ(queued[1].pData, data + 400);
    EXPECT_EQ(queued[1].nBytes, 50u * 4);
    EXPECT_EQ(queued[1].nLoops, 300u / 100 + 1);
    ASSERT_TRUE(device.CompleteOldest());
    EXPECT_EQ(device.Queued()[1].pData, data + 400);
}

TEST_F(PlayerTest, DocumentWithoutStopPointPlaysToTheEndOfItsAudio) {
    CSampleDoc doc;
    FillDocument(doc, 800, false);
    ASSERT_EQ(doc.m_nLength, 0u);
    doc.m_nStart = 50;
    Open(false);
    ASSERT_TRUE(PlayerPlay(doc));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].pData, doc.m_pData.get() + 50);
    EXPECT_EQ(queued[0].nBytes, 750u * 2);
}

TEST_F(PlayerTest, EmptyDocumentQueuesAnEmptyBuffer) {
    CSampleDoc doc;
    Open(false);
    ASSERT_TRUE(PlayerPlay(doc));
    auto queued = device.Queued();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].nBytes, 0u);
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
